// Wine's own display adapter under a real X display: Wine's display driver
// writes it as a WDDM driver writes its own, with no memory figure in the
// service's Device0 and the memory in the adapter's driver key. The report's
// "Vga" line must carry the driver key's figure, read here straight from the
// registry without the collectors. The prefix holds only the PCI bus
// driver's service, which Windows has and Wine lacks, so that the adapter
// has a location as on Windows.
#include "report/Report.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kPciEnum[] = "SYSTEM\\CurrentControlSet\\Enum\\PCI";
const char kDisplayClass[] = "{4D36E968-E325-11CE-BFC1-08002BE10318}";

class Key {
public:
    Key(HKEY parent, const std::string& path)
    {
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

    // The value's bytes, or false when it is absent.
    bool bytes(const char* name, std::vector<uint8_t>* out) const
    {
        DWORD size = 0;
        if (!key_ || RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return false;
        out->assign(size, 0);
        if (RegQueryValueExA(key_, name, nullptr, nullptr, out->data(), &size) != ERROR_SUCCESS)
            return false;
        out->resize(size);
        return true;
    }

    std::string text(const char* name) const
    {
        std::vector<uint8_t> data;
        if (!bytes(name, &data))
            return "";
        return std::string(data.begin(), data.end()).c_str();
    }

    std::vector<std::string> subkeys() const
    {
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        return names;
    }

private:
    HKEY key_ = nullptr;
};

struct Adapter {
    std::string description;
    std::string driver;
    std::string service;
};

// The PCI display adapters Wine wrote, in the order of their keys.
std::vector<Adapter> pciDisplayAdapters()
{
    std::vector<Adapter> adapters;
    const Key pci(HKEY_LOCAL_MACHINE, kPciEnum);
    for (const std::string& device : pci.subkeys()) {
        const Key deviceKey(pci.get(), device);
        for (const std::string& instance : deviceKey.subkeys()) {
            const Key key(deviceKey.get(), instance);
            if (_stricmp(key.text("ClassGUID").c_str(), kDisplayClass) == 0)
                adapters.push_back({key.text("DeviceDesc"), key.text("Driver"), key.text("Service")});
        }
    }
    return adapters;
}

uint64_t littleEndian(const std::vector<uint8_t>& bytes, std::size_t count)
{
    uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

std::string reportText()
{
    std::u16string report;
    EXPECT_TRUE(kel::runReport(kel::ReportKind::Brief, &report));
    return std::string(report.begin(), report.end());
}

TEST(WineAdapter, VgaLineTakesTheMemoryOfTheDriverKey)
{
    const std::vector<Adapter> adapters = pciDisplayAdapters();
    ASSERT_FALSE(adapters.empty()) << "Wine wrote no PCI display adapter under " << kPciEnum;
    const Adapter& adapter = adapters.front();
    ASSERT_FALSE(adapter.driver.empty()) << adapter.description << " has no driver key";

    const Key device0(HKEY_LOCAL_MACHINE,
                      "SYSTEM\\CurrentControlSet\\Services\\" + adapter.service + "\\Device0");
    std::vector<uint8_t> bytes;
    ASSERT_FALSE(device0.bytes("HardwareInformation.MemorySize", &bytes))
        << "the service " << adapter.service
        << " has a Device0 memory figure: the driver key would not be read";

    const Key driverKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Class\\" + adapter.driver);
    uint64_t memory = 0;
    if (driverKey.bytes("HardwareInformation.qwMemorySize", &bytes) && bytes.size() >= 8)
        memory = littleEndian(bytes, 8);
    else if (driverKey.bytes("HardwareInformation.MemorySize", &bytes) && bytes.size() >= 4)
        memory = littleEndian(bytes, 4);
    else
        FAIL() << "the driver key " << adapter.driver << " holds no memory figure";
    ASSERT_GT(memory, 0u) << "a zero figure would not tell the driver key from no figure";

    const std::string line =
        "Vga 0: " + adapter.description + ", " + std::to_string(memory / 1024 / 1024) + "\n";
    const std::string report = reportText();
    EXPECT_NE(report.find(line), std::string::npos) << "expected [" << line << "] in:\n" << report;
    std::printf("%s: %llu bytes in its driver key %s\n", adapter.description.c_str(),
                static_cast<unsigned long long>(memory), adapter.driver.c_str());
}

}  // namespace
