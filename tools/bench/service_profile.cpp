// Where a detailed report's time goes: the platform services it calls, each
// counted and timed over 20 reports on the real platform. A measurement, not
// a test; scripts/bench runs it. Prints a "service" line a service (calls
// and milliseconds per report) and a "profile" line with the report's own
// time per report, so that what is left is the collectors' own work.
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "report/Report.h"
#include "tools/bench/Timing.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

using kel::bench::Clock;

constexpr int kReports = 20;

struct ServiceTime {
    unsigned long calls = 0;
    double milliseconds = 0;
};

// The real platform, with the services that reach the system timed.
class TimingPlatform : public kel::Win32Platform {
public:
    std::map<std::string, ServiceTime> services;

#define KEL_TIMED(name, call)                               \
    const Clock::time_point start = Clock::now();           \
    auto result = call;                                     \
    ServiceTime& t = services[name];                        \
    ++t.calls;                                              \
    t.milliseconds += kel::bench::millisecondsSince(start); \
    return result

    long regOpenKey(kel::RegRoot root, const char* path, uint32_t access, kel::RegHandle* key) override
    {
        KEL_TIMED("regOpenKey", Win32Platform::regOpenKey(root, path, access, key));
    }
    long regCloseKey(kel::RegHandle key) override
    {
        KEL_TIMED("regCloseKey", Win32Platform::regCloseKey(key));
    }
    long regQueryInfoKey(kel::RegHandle key, uint32_t* subKeys, uint32_t* values) override
    {
        KEL_TIMED("regQueryInfoKey", Win32Platform::regQueryInfoKey(key, subKeys, values));
    }
    long regEnumKey(kel::RegHandle key, uint32_t index, char* name, uint32_t nameSize) override
    {
        KEL_TIMED("regEnumKey", Win32Platform::regEnumKey(key, index, name, nameSize));
    }
    long regEnumValue(kel::RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) override
    {
        KEL_TIMED("regEnumValue",
                  Win32Platform::regEnumValue(key, index, name, nameSize, type, data, dataSize));
    }
    long regQueryValue(kel::RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                       uint32_t* dataSize) override
    {
        KEL_TIMED("regQueryValue", Win32Platform::regQueryValue(key, name, type, data, dataSize));
    }
    bool getVersion(kel::VersionRecord* record) override
    {
        KEL_TIMED("getVersion", Win32Platform::getVersion(record));
    }
    bool setPriorityClass(uint32_t priorityClass) override
    {
        KEL_TIMED("setPriorityClass", Win32Platform::setPriorityClass(priorityClass));
    }
    bool queryPerformanceCounter(int64_t* counter) override
    {
        KEL_TIMED("queryPerformanceCounter", Win32Platform::queryPerformanceCounter(counter));
    }
    kel::ScreenCaps getScreenCaps() override { KEL_TIMED("getScreenCaps", Win32Platform::getScreenCaps()); }
    uint32_t mediaDeviceCount(kel::MediaFamily family) override
    {
        KEL_TIMED("mediaDeviceCount", Win32Platform::mediaDeviceCount(family));
    }
    uint32_t mediaDeviceCaps(kel::MediaFamily family, uint32_t device, kel::MediaCaps* caps) override
    {
        KEL_TIMED("mediaDeviceCaps", Win32Platform::mediaDeviceCaps(family, device, caps));
    }
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override
    {
        KEL_TIMED("getLogicalDriveStrings", Win32Platform::getLogicalDriveStrings(bufferLength, buffer));
    }
    uint32_t getDriveType(const char* root) override
    {
        KEL_TIMED("getDriveType", Win32Platform::getDriveType(root));
    }
    bool hasDiskFreeSpaceEx() override
    {
        KEL_TIMED("hasDiskFreeSpaceEx", Win32Platform::hasDiskFreeSpaceEx());
    }
    bool getDiskFreeSpaceEx(const char* root, kel::DiskSpaceEx* space) override
    {
        KEL_TIMED("getDiskFreeSpaceEx", Win32Platform::getDiskFreeSpaceEx(root, space));
    }
    bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize, uint32_t* serial,
                              char* fileSystem, uint32_t fileSystemSize) override
    {
        KEL_TIMED("getVolumeInformation",
                  Win32Platform::getVolumeInformation(root, volumeName, volumeNameSize, serial, fileSystem,
                                                      fileSystemSize));
    }
    bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize, uint32_t* needed,
                      uint32_t* returned) override
    {
        KEL_TIMED("enumPrinters",
                  Win32Platform::enumPrinters(flags, level, buffer, bufferSize, needed, returned));
    }
    bool getSpecialFolderPath(int folder, char* path) override
    {
        KEL_TIMED("getSpecialFolderPath", Win32Platform::getSpecialFolderPath(folder, path));
    }
    kel::FindHandle findFirstFile(const char* pattern, char* fileName) override
    {
        KEL_TIMED("findFirstFile", Win32Platform::findFirstFile(pattern, fileName));
    }
    bool findNextFile(kel::FindHandle search, char* fileName) override
    {
        KEL_TIMED("findNextFile", Win32Platform::findNextFile(search, fileName));
    }
#undef KEL_TIMED
};

}  // namespace

int main()
{
    TimingPlatform timing;
    kel::ScopedPlatform scoped(timing);
    std::u16string text;
    if (!kel::runReport(kel::ReportKind::Detail, &text))  // loads what the services need
        return 1;
    timing.services.clear();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kReports; ++i)
        if (!kel::runReport(kel::ReportKind::Detail, &text))
            return 1;
    const double total = kel::bench::millisecondsSince(start);
    double inServices = 0;
    for (const auto& [name, t] : timing.services) {
        std::printf("service name=%s calls=%.1f ms=%.3f\n", name.c_str(),
                    static_cast<double>(t.calls) / kReports, t.milliseconds / kReports);
        inServices += t.milliseconds;
    }
    std::printf("profile reports=%d report_ms=%.3f services_ms=%.3f\n", kReports, total / kReports,
                inServices / kReports);
    return 0;
}
