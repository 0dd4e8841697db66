// The device fixtures, with the same expectations whether the registry is
// Wine's real one or a recorded machine's.
#include "tests/devices/FixtureMachine.h"

#include "collectors/DeviceInfo.h"
#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "collectors/NetworkInfo.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace kel::test {
namespace {

const std::string kNtEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
const std::string k9xEnum = "Enum\\";

// Where the walk filed the record of one instance key: its list position
// (-1 when dropped) and how many records it gave.
struct Filed {
    const DeviceClass* record = nullptr;
    int position = -1;
    int count = 0;
};

Filed findFiled(const DeviceClassList* lists, const std::string& keyPath)
{
    Filed filed;
    for (int position = 0; position < kDeviceClassListCount; ++position) {
        lists[position].forEach([&](const DeviceClass& device) {
            if (device.keyPath != keyPath)
                return;
            if (filed.record == nullptr) {
                filed.record = &device;
                filed.position = position;
            }
            ++filed.count;
        });
    }
    return filed;
}

std::vector<std::string> allDescriptions(const DeviceClassList* lists)
{
    std::vector<std::string> descriptions;
    for (int position = 0; position < kDeviceClassListCount; ++position)
        lists[position].forEach(
            [&](const DeviceClass& device) { descriptions.push_back(device.deviceDesc); });
    return descriptions;
}

std::string briefReport()
{
    std::u16string text;
    EXPECT_TRUE(runReport(ReportKind::Brief, &text));
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::vector<std::string> vgaNames(DisplayInfo& display)
{
    std::vector<std::string> names;
    for (int i = 0; i < display.getVgaListCount(); ++i) {
        char buffer[1024] = "untouched";
        EXPECT_EQ(display.getVgaDescription(i, buffer, sizeof buffer), 1) << "adapter " << i;
        names.push_back(buffer);
    }
    return names;
}

std::vector<int> vgaMemory(DisplayInfo& display)
{
    std::vector<int> sizes;
    for (int i = 0; i < display.getVgaListCount(); ++i)
        sizes.push_back(display.getVgaMemorySize(i));
    return sizes;
}

std::vector<std::string> nicNames(NetworkInfo& network)
{
    std::vector<std::string> names;
    for (int i = 0; i < network.getNicListCount(); ++i) {
        char buffer[1024] = "untouched";
        EXPECT_EQ(network.getNicDescription(i, buffer, sizeof buffer), 1) << "adapter " << i;
        names.push_back(buffer);
    }
    return names;
}

// A walked fixture of one family.
class DeviceFixture : public ::testing::Test {
protected:
    DeviceFixture(const char* name, bool isNT) : machine_(name), isNT_(isNT)
    {
        if (machine_.ready())
            devices_.setSystemDeviceInfo(isNT_);
    }

    const DeviceClassList* lists() { return devices_.getSystemDeviceInfo(); }

    FixtureMachine machine_;
    bool isNT_;
    DeviceInfo devices_;
};

class NtDevices : public DeviceFixture {
protected:
    NtDevices() : DeviceFixture("nt-devices", true) {}
};

class W9xDevices : public DeviceFixture {
protected:
    W9xDevices() : DeviceFixture("w9x-devices", false) {}
};

// --- The walk, NT family ----------------------------------------------------

TEST_F(NtDevices, FilesByTheClassKeyOverTheInstanceAndByTheInstanceWithoutOne)
{
    struct Case {
        const char* instance;
        int position;
    } cases[] = {
        {"ROOT\\SYSTEM_AS_DISPLAY\\0000", kDisplayClassList},  // instance says System
        {"ROOT\\LEGACY_VGASAVE\\0000", kDisplayClassList},     // instance says LegacyDriver
        {"ROOT\\MEDIA\\0000", kMediaClassList},                // its class key is missing
        {"ROOT\\MS_PPPOEMINIPORT\\0000", kNetClassList},       // no class GUID at all
        {"ROOT\\LONG_VALUES\\0000", 24},                       // "Unknown"
        {"PCI\\VEN_1002&DEV_5159&SUBSYS_00000000&REV_00\\000000", kDisplayClassList},
    };
    for (const Case& c : cases) {
        const Filed filed = findFiled(lists(), kNtEnum + c.instance);
        EXPECT_EQ(filed.position, c.position) << c.instance;
        EXPECT_EQ(filed.count, 1) << c.instance;
    }
}

TEST_F(NtDevices, DropsClassesOutsideTheTableAndOtherLetterCases)
{
    for (const char* instance :
         {"ROOT\\CASE_DISPLAY\\0000", "ROOT\\CASE_MEDIA\\0000", "ROOT\\UNKNOWN_CLASS\\0000",
          "ACPI\\GenuineIntel_-_x86_Family_6_Model_8\\_0"}) {
        const Filed filed = findFiled(lists(), kNtEnum + instance);
        EXPECT_EQ(filed.count, 0) << instance << " filed at " << filed.position;
    }
}

TEST_F(NtDevices, ReadsTheInstanceClassDriverAndServiceKeys)
{
    const Filed filed = findFiled(lists(), kNtEnum + "PCI\\VEN_1102&DEV_0002&SUBSYS_80611102&REV_07\\000A00");
    ASSERT_NE(filed.record, nullptr);
    EXPECT_EQ(filed.position, kMediaClassList);
    const DeviceClass& d = *filed.record;
    const std::pair<const std::string&, const char*> fields[] = {
        {d.className, "MEDIA"},
        {d.reservedText, ""},
        {d.classDescription, "Sound, video and game controllers"},
        {d.iconValue, "-1"},
        {d.friendlyName, ""},
        {d.deviceDesc, "Creative SB Live! Value"},
        {d.classGuid, "{4D36E96C-E325-11CE-BFC1-08002BE10318}"},
        {d.manufacturer, "Creative"},
        {d.locationInformation, "PCI bus 0, device 10, function 0"},
        {d.hardwareId, "PCI\\VEN_1102&DEV_0002&SUBSYS_80611102&REV_07"},  // first string only
        {d.driver, "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0000"},
        {d.driverDate, "6-6-2001"},
        {d.driverVersion, "5.12.1.3556"},
        {d.providerName, "Creative"},
        {d.service, "emu10k"},
        {d.serviceDisplayName, "Creative SB Live! (WDM)"},
        {d.serviceGroup, "Extended base"},
        {d.serviceType, "1"},
    };
    for (std::size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(fields[i].first, fields[i].second) << "field " << i + 2;
}

TEST_F(NtDevices, TakesTheEnumeratorServiceAsLocationAndKeepsItsGroupUnlessOverwritten)
{
    struct Case {
        const char* instance;
        const char* location;
        const char* group;
        const char* type;
    } cases[] = {
        // The PCI service's display name; its own service's group and type.
        {"PCI\\VEN_1002&DEV_5159&SUBSYS_00000000&REV_00\\000000", "PCI Bus", "Video", "1"},
        // nv4 has no group: the PCI service's stays; its type is -1.
        {"PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\000100", "PCI Bus", "Boot Bus Extender", "-1"},
        // Its own location: the PCI service is not read; a 3-byte type is absent.
        {"PCI\\VEN_10B7&DEV_9200&SUBSYS_00000000&REV_78\\000800", "PCI bus 2, device 8, function 0", "NDIS",
         ""},
        // ISAPNP has no service key.
        {"ISAPNP\\CTL0051\\1", "", "", ""},
    };
    for (const Case& c : cases) {
        const Filed filed = findFiled(lists(), kNtEnum + c.instance);
        ASSERT_NE(filed.record, nullptr) << c.instance;
        EXPECT_EQ(filed.record->locationInformation, c.location) << c.instance;
        EXPECT_EQ(filed.record->serviceGroup, c.group) << c.instance;
        EXPECT_EQ(filed.record->serviceType, c.type) << c.instance;
    }
}

TEST_F(NtDevices, LeavesAValueLongerThanItsBufferEmpty)
{
    const Filed filed = findFiled(lists(), kNtEnum + "ROOT\\LONG_VALUES\\0000");
    ASSERT_NE(filed.record, nullptr);
    EXPECT_EQ(filed.record->deviceDesc, "") << "260 characters and the NUL do not fit 260 bytes";
    EXPECT_EQ(filed.record->friendlyName, std::string(259, 'F'));
}

TEST_F(NtDevices, ReadsOnlyTheInstanceLevel)
{
    for (const std::string& description : allDescriptions(lists())) {
        EXPECT_NE(description, "Enumerator Level");
        EXPECT_NE(description, "Device Id Level");
        EXPECT_NE(description, "Below Instance");
        EXPECT_NE(description, "Two Below Instance");
    }
    const Filed filed = findFiled(lists(), kNtEnum + "ISAPNP\\CTL0051\\1");
    EXPECT_EQ(filed.position, kDisplayClassList);
    EXPECT_EQ(filed.record ? filed.record->deviceDesc : "", "ISA Display Without Location");
}

TEST_F(NtDevices, ASecondWalkDoublesEveryList)
{
    std::vector<std::size_t> once;
    for (int position = 0; position < kDeviceClassListCount; ++position)
        once.push_back(lists()[position].size());
    devices_.setSystemDeviceInfo(true);
    for (int position = 0; position < kDeviceClassListCount; ++position) {
        const DeviceClassList& list = lists()[position];
        ASSERT_EQ(list.size(), 2 * once[position]) << "list " << position;
        for (std::size_t i = 0; i < once[position]; ++i)
            EXPECT_EQ(list[i].keyPath, list[i + once[position]].keyPath) << "list " << position;
    }
    EXPECT_GT(once[kDisplayClassList], 0u);
}

TEST_F(NtDevices, CopiesOwnTheirRecords)
{
    DeviceInfo copied(devices_);
    DeviceInfo assigned;
    assigned = devices_;
    for (DeviceInfo* copy : {&copied, &assigned}) {
        const DeviceClassList* theirs = copy->getSystemDeviceInfo();
        for (int position = 0; position < kDeviceClassListCount; ++position) {
            ASSERT_EQ(theirs[position].size(), lists()[position].size()) << "list " << position;
            for (std::size_t i = 0; i < theirs[position].size(); ++i) {
                EXPECT_NE(&theirs[position][i], &lists()[position][i]) << "list " << position;
                EXPECT_EQ(theirs[position][i].keyPath, lists()[position][i].keyPath);
            }
        }
    }
}

// --- Display, sound and network, NT family ----------------------------------

TEST_F(NtDevices, ListsDisplayAdaptersWithALocationAndTheirMemory)
{
    DisplayInfo display;
    display.setDisplayInfo(true, lists());
    // Wine's own adapter has no location of its own: the PCI service's
    // display name gives it one. Its memory is in its driver key.
    const std::vector<std::string> names = {
        "Wine GPU",           "RADEON 7000 Series",   "NVIDIA GeForce2 MX/MX 400",
        "Big Memory Adapter", "Short Memory Adapter", "Plain Adapter",
        "Filed As Display"};
    EXPECT_EQ(vgaNames(display), names);
    // 1 GB from the driver key; 64 MB; below 1 MB; 3 GB, unsigned; two bytes
    // are no size; no value.
    EXPECT_EQ(vgaMemory(display), (std::vector<int>{1024, 64, 0, 3072, 0, 0, 0}));
    char buffer[1024] = "untouched";
    EXPECT_EQ(display.getDisplayInfo(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer,
                 "Wine GPU(1024M)|RADEON 7000 Series(64M)|NVIDIA GeForce2 MX/MX 400(0M)|"
                 "Big Memory Adapter(3072M)|Short Memory Adapter|Plain Adapter|Filed As Display");
}

TEST_F(NtDevices, ReadsHardwareInformationAndTheVideoBios)
{
    DisplayInfo display;
    display.setDisplayInfo(true, lists());
    const OwnedList<DisplayDevice>& devices = DisplayInfoPeer::devices(display);
    ASSERT_EQ(devices.size(), 7u);
    EXPECT_EQ(devices[1].dacType, "Internal DAC(400MHz)");
    EXPECT_EQ(devices[1].chipType, "ATI RADEON 7000 (RV100 QY)");
    EXPECT_EQ(devices[1].memorySize, "64");
    EXPECT_EQ(devices[2].chipType, "GeForce2 MX") << "the odd last byte is no code unit";
    EXPECT_EQ(devices[2].dacType, "Integrated RAMDAC?");
    EXPECT_EQ(devices[2].memorySize, "0");
    EXPECT_EQ(devices[3].memorySize, "3072");
    EXPECT_EQ(devices[4].memorySize, "");
    EXPECT_EQ(devices[5].chipType, "Plain");
    EXPECT_EQ(devices[5].memorySize, "");
    const ScreenCaps caps = platform().getScreenCaps();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DisplayDevice& d = devices[i];
        EXPECT_EQ(d.biosDate, "09/18/01") << i;
        // Six strings: the first five.
        EXPECT_EQ(d.biosVersion,
                  "ATI RADEON 7000 BK-ATI VER008.005.013 113-83703-101 Copyright 1988-2001 "
                  "ATI Technologies Inc.")
            << i;
        EXPECT_EQ(d.horzRes, caps.horzRes) << i;
        EXPECT_EQ(d.vertRes, caps.vertRes) << i;
        EXPECT_EQ(d.bitsPerPixel, caps.bitsPixel) << i;
        EXPECT_EQ(d.logPixelsY, caps.logPixelsY) << i;
        EXPECT_EQ(d.aspectXY, caps.aspectXY) << i;
        EXPECT_EQ(d.technology, devices[0].technology) << i;
    }
}

TEST_F(NtDevices, PicksTheLastPciLocatedMediaDeviceEvenAGamePort)
{
    MediaInfo media;
    media.setMediaInfo(true, lists());
    EXPECT_EQ(MediaInfoPeer::soundDeviceName(media), "Creative Gameport Joystick");
    EXPECT_EQ(MediaInfoPeer::gameDeviceName(media), "Creative Gameport Joystick");
}

TEST_F(NtDevices, ListsNetworkAdaptersWithALocation)
{
    NetworkInfo network;
    network.setNetworkInfo(true, lists());
    // The friendly name first; an adapter without names keeps its place.
    EXPECT_EQ(nicNames(network), (std::vector<std::string>{"3Com 3C920 Integrated Fast Ethernet Controller",
                                                           "Intel(R) PRO/100 VE Network Connection", ""}));
    char buffer[1024] = "untouched";
    EXPECT_EQ(network.getNetworkInfo(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer,
                 "3Com 3C920 Integrated Fast Ethernet Controller|Intel(R) PRO/100 VE Network "
                 "Connection|");
}

TEST_F(NtDevices, ReportLines)
{
    EXPECT_EQ(deviceLinesOf(briefReport()),
              "Vga 0: Wine GPU, 1024\n"
              "Vga 1: RADEON 7000 Series, 64\n"
              "Vga 2: NVIDIA GeForce2 MX/MX 400, 0\n"
              "Vga 3: Big Memory Adapter, 3072\n"
              "Vga 4: Short Memory Adapter, 0\n"
              "Vga 5: Plain Adapter, 0\n"
              "Vga 6: Filed As Display, 0\n"
              "Sound: Creative Gameport Joystick\n"
              "Nic 0: 3Com 3C920 Integrated Fast Ethernet Controller\n"
              "Nic 1: Intel(R) PRO/100 VE Network Connection\n"
              "Nic 2: \n");
}

// --- Windows 95 family ------------------------------------------------------

TEST_F(W9xDevices, WalksEnumWithDriverKeysUnderServicesClass)
{
    const Filed filed =
        findFiled(lists(), k9xEnum + "PCI\\VEN_1002&DEV_4755&SUBSYS_47551002&REV_7A\\BUS_01&DEV_00&FUNC_00");
    ASSERT_NE(filed.record, nullptr);
    EXPECT_EQ(filed.position, kDisplayClassList);
    EXPECT_EQ(filed.record->driver, "DISPLAY\\0000");
    EXPECT_EQ(filed.record->driverDate, "11-18-1999");
    EXPECT_EQ(filed.record->driverVersion, "4.11.7039");
    EXPECT_EQ(filed.record->providerName, "ATI Technologies");
    EXPECT_EQ(filed.record->manufacturer, "ATI Technologies");
    EXPECT_EQ(filed.record->hardwareId,
              "PCI\\VEN_1002&DEV_4755&SUBSYS_47551002&REV_7A,PCI\\VEN_1002&DEV_4755");
    EXPECT_EQ(findFiled(lists(), k9xEnum + "BIOS\\*PNP0A03\\0C").position, 32);
    for (const std::string& description : allDescriptions(lists()))
        EXPECT_NE(description, "Enumerator Level");
}

TEST_F(W9xDevices, ListsPciDisplayAdaptersWithTheirInfoKey)
{
    DisplayInfo display;
    display.setDisplayInfo(false, lists());
    EXPECT_EQ(vgaNames(display), std::vector<std::string>{"ATI 3D RAGE II+ DVD"});
    EXPECT_EQ(vgaMemory(display), std::vector<int>{4096}) << "the leading number, whatever unit";
    char buffer[1024] = "untouched";
    EXPECT_EQ(display.getDisplayInfo(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "ATI 3D RAGE II+ DVD(4096 KBM)");
    const OwnedList<DisplayDevice>& devices = DisplayInfoPeer::devices(display);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].dacType, "Internal DAC(220MHz)");
    EXPECT_EQ(devices[0].chipType, "ATI 3D RAGE II+ DVD (GT-B2U3)");
    EXPECT_EQ(devices[0].biosDate, "10/15/98");
    EXPECT_EQ(devices[0].biosVersion, "ATI RAGE II+ DVD BK-ATI VER003.004.001 GR-xlcpq3.15f");
}

TEST_F(W9xDevices, SoundDeviceIsTheLastPciMediaDeviceThatIsNoGamePort)
{
    MediaInfo media;
    media.setMediaInfo(false, lists());
    // Two sound cards of the same name are not several sound devices: the
    // wave output's name does not replace theirs.
    EXPECT_EQ(MediaInfoPeer::soundDeviceName(media), "Creative SB Live! Value");
    EXPECT_EQ(MediaInfoPeer::gameDeviceName(media), "Creative Gameport Joystick");
}

TEST_F(W9xDevices, ListsNetworkAdaptersWhoseFirstHardwareIdNamesPci)
{
    NetworkInfo network;
    network.setNetworkInfo(false, lists());
    // Not the dial-up adapter, not pci in lower case, not PCI in a second
    // hardware identifier.
    EXPECT_EQ(nicNames(network),
              std::vector<std::string>{"3Com Fast EtherLink XL 10/100Mb TX Ethernet NIC (3C905B-TX)"});
}

TEST_F(W9xDevices, ReportLines)
{
    EXPECT_EQ(deviceLinesOf(briefReport()),
              "Vga 0: ATI 3D RAGE II+ DVD, 4096\n"
              "Sound: Creative SB Live! Value\n"
              "Nic 0: 3Com Fast EtherLink XL 10/100Mb TX Ethernet NIC (3C905B-TX)\n");
}

}  // namespace
}  // namespace kel::test
