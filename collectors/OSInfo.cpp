#include "collectors/OSInfo.h"

#include "collectors/TextOut.h"
#include "platform/Platform.h"

#include <cstdio>

namespace kel {

namespace {

// The second character of the service-pack text decides the 95/98 extras.
char secondCsdCharacter(const VersionRecord& record)
{
    return record.csdVersion[0] == '\0' ? '\0' : record.csdVersion[1];
}

}  // namespace

OSInfo::OSInfo() : osType(0) {}

OSInfo::OSInfo(const OSInfo& other) = default;

OSInfo& OSInfo::operator=(const OSInfo& other) = default;

OSInfo::~OSInfo() = default;

bool OSInfo::setOSInfo()
{
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    if (!platform().getVersion(&record)) {
        record.infoSize = kVersionRecordSize;
        if (!platform().getVersion(&record))
            return false;
    }
    // The platform may hand back a service-pack text without its NUL.
    record.csdVersion[sizeof record.csdVersion - 1] = '\0';

    uint32_t major = record.majorVersion;
    uint32_t minor = record.minorVersion;
    uint32_t build = record.buildNumber;
    // GetVersionExA answers a Windows 8.1 or later that the host's manifest
    // does not name with 6.2.9200; on the NT family ntdll knows better.
    if (record.platformId == kWindowsNT)
        platform().getTrueVersion(&major, &minor, &build);
    switch (record.platformId) {
    case kWin32s:
        osDescription = "Microsoft Win32s ";
        osCode = "WIN32S";
        break;
    case kWindows95Family:
        if (major == 4 && minor == 0) {
            osDescription = "Windows 95";
            const char extra = secondCsdCharacter(record);
            if (extra == 'C')
                osDescription += "OSR2";
            else if (extra != '\0')
                osDescription += extra;
            osCode = "WIN95";
        } else if (major == 4 && minor == 10) {
            osDescription = "Windows 98";
            if (secondCsdCharacter(record) == 'A')
                osDescription += "SE";
            osCode = "WIN98";
        } else if (major == 4 && minor == 90) {
            osDescription = "Windows Me";
            osCode = "WINME";
        }
        osType = 0;
        break;
    case kWindowsNT: {
        if (major == 3 && minor == 51) {
            osDescription = "Windows NT 3.51";
            osCode = "WINNT3.51";
        } else if (major == 4) {
            osDescription = "Windows NT 4.0";
            osCode = "WINNT40";
        } else if (major == 5 && minor == 0) {
            osDescription = "Windows 2000";
            osCode = "WIN2000";
        } else if (major == 5 && minor == 1) {
            osDescription = "Windows XP";
            osCode = "WINXP";
        }
        char suffix[260];
        std::snprintf(suffix, sizeof suffix, " Version %d.%d %s (Build %d)", static_cast<int>(major),
                      static_cast<int>(minor), record.csdVersion, static_cast<int>(build & 0xFFFF));
        osDescription += suffix;
        osType = 1;
        break;
    }
    default:
        break;
    }
    return true;
}

void OSInfo::getOSInfo(char* buffer, int size)
{
    // The code is never written, but its length counts in the test.
    if (osDescription.size() + osCode.size() < static_cast<unsigned int>(size))
        writeTextIfFits(osDescription, buffer, size);
}

int OSInfo::getOSType() { return osType; }

}  // namespace kel
