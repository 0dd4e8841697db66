// The installed programs: display names of the machine's uninstall list.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"
#include "platform/RegKey.h"

#include <cstdint>
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
    // view: the registry-view bits the uninstall list was opened with.
    void regSearch(const char* subKeyName, uint32_t view);
    void readUninstallList(const RegKey& list, uint32_t view);

    OwnedList<std::string> programNames;
};

}  // namespace kel
