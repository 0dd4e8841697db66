#include "collectors/StartUpInfo.h"

#include "collectors/TextOut.h"

namespace kel {

StartUpInfo::StartUpInfo() = default;
StartUpInfo::StartUpInfo(const StartUpInfo& other) = default;
StartUpInfo& StartUpInfo::operator=(const StartUpInfo& other) = default;

StartUpInfo::~StartUpInfo()
{
    machineRun.clear();
    userRun.clear();
    runOnce.clear();
    userStartupFolder.clear();
    commonStartupFolder.clear();
}

// Not built yet: start-up entries arrive with their own change.
void StartUpInfo::setStartUpInfo() {}

int StartUpInfo::getStartUpListCount()
{
    return static_cast<int>(machineRun.size() + userRun.size() + runOnce.size() +
                            userStartupFolder.size() + commonStartupFolder.size());
}

int StartUpInfo::getStartUpDescription(int, char*, int)
{
    return -1;
}

int StartUpInfo::getStartUpInfo(char*, int)
{
    return -1;
}

}  // namespace kel
