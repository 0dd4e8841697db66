#include "collectors/NetworkInfo.h"

#include "collectors/DevicePresence.h"
#include "collectors/TextOut.h"

namespace kel {

NetworkInfo::NetworkInfo() : isNT(false) {}
NetworkInfo::NetworkInfo(const NetworkInfo& other) = default;
NetworkInfo& NetworkInfo::operator=(const NetworkInfo& other) = default;
NetworkInfo::~NetworkInfo() = default;

void NetworkInfo::setNetworkInfo(bool nt, const DeviceClassList* classLists)
{
    isNT = nt;
    classLists[kNetClassList].forEach([this](const DeviceClass& device) {
        if (isAttachedBusAdapter(device, isNT))
            nicNames.append(shownName(device));
    });
}

int NetworkInfo::getNicListCount() { return static_cast<int>(nicNames.size()); }

int NetworkInfo::getNicDescription(int index, char* buffer, int size)
{
    return describeEntry(nicNames, index, buffer, size, textItself);
}

int NetworkInfo::getNetworkInfo(char* buffer, int size)
{
    return describeAll(nicNames, buffer, size, textItself);
}

}  // namespace kel
