// What starts at log-on: Run and RunOnce values of the machine and the user,
// and the shortcuts of the two Startup folders.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"
#include "collectors/RunEntry.h"

#include <cstddef>
#include <string>

namespace kel {

class KEL_API StartUpInfo {
public:
    StartUpInfo();
    StartUpInfo(const StartUpInfo& other);
    StartUpInfo& operator=(const StartUpInfo& other);
    ~StartUpInfo();

    void setStartUpInfo();
    int getStartUpListCount();
    int getStartUpDescription(int index, char* buffer, int size);
    int getStartUpInfo(char* buffer, int size);

private:
    void setStartUpRegList(int source, std::string keyPath);
    void setStartUpDirList(int folder);
    void setStartUpIniList();

    struct Sequence;
    std::size_t entryCount() const;
    // The start-up text of an entry of the five lists taken as one sequence;
    // empty past the end.
    std::string entryText(std::size_t index) const;

    OwnedList<RunEntry> machineRun;
    OwnedList<RunEntry> userRun;
    OwnedList<RunEntry> runOnce;
    OwnedList<std::string> userStartupFolder;
    OwnedList<std::string> commonStartupFolder;
};

}  // namespace kel
