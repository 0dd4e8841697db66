#include "inventory/DeviceId.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kel {

namespace {

std::string firstLine(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (in)
        std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool makeParentFolder(const std::string& file)
{
    std::size_t slash = file.find_last_of("\\/");
    if (slash == std::string::npos)
        return true;
#ifdef _WIN32
    return CreateDirectoryA(file.substr(0, slash).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
#else
    return true;
#endif
}

}  // namespace

std::string makeDeviceId(const std::string& name, const std::tm& when)
{
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "-%04d-%02d-%02d-%02d-%02d-%02d", when.tm_year + 1900, when.tm_mon + 1,
                  when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    return (name.empty() ? std::string("unknown") : name) + stamp;
}

std::string keptDeviceId(const std::string& file, const std::string& name, bool* kept)
{
    std::string id = firstLine(file);
    *kept = isDeviceId(id);
    if (*kept)
        return id;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&now))
        local = *converted;
    id = makeDeviceId(name, local);
    if (makeParentFolder(file)) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << id << "\r\n";
        *kept = static_cast<bool>(out.flush());
    }
    return id;
}

}  // namespace kel
