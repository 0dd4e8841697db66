#include "collectors/DirectXInfo.h"

#include "collectors/TextOut.h"

namespace kel {

DirectXInfo::DirectXInfo() = default;
DirectXInfo::DirectXInfo(const DirectXInfo& other) = default;
DirectXInfo& DirectXInfo::operator=(const DirectXInfo& other) = default;

DirectXInfo::~DirectXInfo()
{
    direct3DDrivers.clear();
    directPlayServices.clear();
    directMusicSynths.clear();
}

// Not built yet: DirectX arrives with its own change.
void DirectXInfo::setDirectXInfo() {}

void DirectXInfo::getDirectXInfo(char* buffer, int size)
{
    writeTextIfFits(version, buffer, size);
}

}  // namespace kel
