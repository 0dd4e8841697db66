// The operating system: a platform code, a descriptive line and the family.
#pragma once

#include "collectors/KelApi.h"

#include <string>

namespace kel {

class KEL_API OSInfo {
public:
    OSInfo();
    OSInfo(const OSInfo& other);
    OSInfo& operator=(const OSInfo& other);
    ~OSInfo();

    bool setOSInfo();
    void getOSInfo(char* buffer, int size);
    int getOSType();

private:
    std::string osCode;
    std::string osDescription;
    int osType;
};

}  // namespace kel
