// The installed programs: display names of the machine's uninstall list.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

class KEL_API SoftwareInfo {
public:
    SoftwareInfo();
    SoftwareInfo(const SoftwareInfo& other);
    SoftwareInfo& operator=(const SoftwareInfo& other);
    ~SoftwareInfo();

    void setSoftwareInfo();
    int getSoftwareListCount();
    int getSoftwareDescription(int index, char* buffer, int size);
    int getSoftwareInfo(char* buffer, int size);

private:
    void regSearch(const char* subKeyName);

    OwnedList<std::string> programNames;
};

}  // namespace kel
