// The installed DirectX runtime: its version text and component lists.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

class KEL_API DirectXInfo {
public:
    DirectXInfo();
    DirectXInfo(const DirectXInfo& other);
    DirectXInfo& operator=(const DirectXInfo& other);
    ~DirectXInfo();

    void setDirectXInfo();
    void getDirectXInfo(char* buffer, int size);

private:
    // Lets tests see what was gathered but never reported.
    friend struct DirectXInfoPeer;

    // False when the base key cannot be opened or its information read.
    bool walkComponents(const char* basePath, int listNumber);
    void regSearch(std::string path, int listNumber);

    std::string version;
    OwnedList<std::string> direct3DDrivers;
    OwnedList<std::string> directPlayServices;
    OwnedList<std::string> directMusicSynths;
};

}  // namespace kel
