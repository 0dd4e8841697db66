#include "collectors/SoftwareInfo.h"

#include "collectors/TextOut.h"

namespace kel {

SoftwareInfo::SoftwareInfo() = default;
SoftwareInfo::SoftwareInfo(const SoftwareInfo& other) = default;
SoftwareInfo& SoftwareInfo::operator=(const SoftwareInfo& other) = default;
SoftwareInfo::~SoftwareInfo() = default;

// Not built yet: this list arrives with its own change.
void SoftwareInfo::setSoftwareInfo() {}

int SoftwareInfo::getSoftwareListCount()
{
    return static_cast<int>(programNames.size());
}

// A buffer too small answers 0, an index outside the list -1.
int SoftwareInfo::getSoftwareDescription(int index, char* buffer, int size)
{
    return describeEntry(programNames, index, buffer, size, textItself, 0);
}

int SoftwareInfo::getSoftwareInfo(char* buffer, int size)
{
    return describeAll(programNames, buffer, size, textItself);
}

}  // namespace kel
