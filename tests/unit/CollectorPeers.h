// What the drive and DirectX collectors gather but never report, for tests.
#pragma once

#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"

#include <string>
#include <vector>

namespace kel {

struct DiskInfoPeer {
    static const DiskDrive& drive(const DiskInfo& info, std::size_t i) { return info.drives[i]; }
};

struct DirectXInfoPeer {
    // number: 1 Direct3D drivers, 2 DirectPlay services, 3 DirectMusic synthesizers.
    static std::vector<std::string> list(const DirectXInfo& info, int number)
    {
        const OwnedList<std::string>& l = number == 1   ? info.direct3DDrivers
                                          : number == 2 ? info.directPlayServices
                                                        : info.directMusicSynths;
        std::vector<std::string> texts;
        l.forEach([&](const std::string& t) { texts.push_back(t); });
        return texts;
    }
};

}  // namespace kel
