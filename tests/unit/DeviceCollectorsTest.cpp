// Display, sound and network collectors on class lists built by hand, with a
// recorded machine for the screen and the multimedia devices: what Wine
// cannot vary.
#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "collectors/NetworkInfo.h"
#include "report/CollectorSet.h"
#include "report/Report.h"
#include "tests/devices/FixtureMachine.h"

#include "MachineUnderTest.h"

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace kel::test {
namespace {

struct Lists {
    DeviceClassList at[kDeviceClassListCount];
};

DeviceClass device(const std::string& name, const std::string& location, const std::string& hardwareId = "")
{
    DeviceClass d;
    d.deviceDesc = name;
    d.locationInformation = location;
    d.hardwareId = hardwareId;
    return d;
}

std::vector<std::string> texts(const OwnedList<std::string>& list)
{
    std::vector<std::string> all;
    list.forEach([&](const std::string& text) { all.push_back(text); });
    return all;
}

const char* const kMediaIni =
    "[media]\n"
    "wave_out.0 = 0x0000 Zero Version Out\n"
    "wave_out.1 = fail\n"
    "wave_out.2 = 0x050A Out Five Ten\n"
    "wave_in.0 = 0x0000 Zero Version In\n"
    "midi_out.0 = 0x0105 Midi Out\n"
    "midi_in.0 = fail\n"
    "midi_in.1 = 0x050A Midi In\n"
    "aux.0 = 0x0000 Aux\n"
    "mixer.0 = 0x0100 Mixer\n"
    "mixer.1 = 0x0000 ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\n";

// --- Multimedia families ----------------------------------------------------

TEST(MediaInfoFamilies, ListsEachFamilyWithItsVersionSuffix)
{
    MachineUnderTest machine(kRegHeader, kMediaIni);
    ASSERT_TRUE(machine);
    Lists lists;
    MediaInfo media;
    media.setMediaInfo(true, lists.at);
    using F = MediaFamily;
    // Version 0 gets no suffix on wave output only; 0x050A is 5.10; a
    // failing device is skipped; a 32-byte name without NUL stays 32 bytes.
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::WaveOut)),
              (std::vector<std::string>{"Zero Version Out", "Out Five Ten v5.10"}));
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::WaveIn)),
              std::vector<std::string>{"Zero Version In v0.0"});
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::MidiOut)), std::vector<std::string>{"Midi Out v1.5"});
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::MidiIn)), std::vector<std::string>{"Midi In v5.10"});
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::Aux)), std::vector<std::string>{"Aux v0.0"});
    EXPECT_EQ(texts(MediaInfoPeer::family(media, F::Mixer)),
              (std::vector<std::string>{"Mixer v1.0", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 v0.0"}));

    media.setMediaInfo(true, lists.at);
    EXPECT_EQ(MediaInfoPeer::family(media, F::WaveOut).size(), 4u) << "a second call appends";
}

struct SoundCase {
    const char* what;
    bool isNT;
    bool waveDevices;
    std::vector<DeviceClass> records;
    const char* sound;
    const char* game;
};

const SoundCase kSoundCases[] = {
    {"NT: no location or none naming PCI changes nothing",
     true,
     true,
     {device("Card", "PCI bus 0"), device("Empty", ""), device("Isa", "ISA slot 1")},
     "Card",
     ""},
    {"NT: a PCI game port after the card is both",
     true,
     true,
     {device("Card", "PCI bus 0"), device("Game Port", "PCI bus 0, function 1")},
     "Game Port",
     "Game Port"},
    {"NT: a game port anywhere is the game device",
     true,
     true,
     {device("Card", "PCI bus 0"), device("Game Port", "")},
     "Card",
     "Game Port"},
    {"NT: pci in lower case is no PCI", true, true, {device("Card", "pci bus 0")}, "", ""},
    {"9x: only PCI hardware",
     false,
     true,
     {device("Card", "", "PCI\\VEN_1"), device("Isa Card", "", "ISAPNP\\CTL0031")},
     "Card",
     ""},
    {"9x: a game port is never the sound device",
     false,
     true,
     {device("Card", "", "PCI\\VEN_1"), device("Game Port", "", "PCI\\VEN_2")},
     "Card",
     "Game Port"},
    {"9x: two names mean several: the last wave output that answered",
     false,
     true,
     {device("Card A", "", "PCI\\VEN_1"), device("Card B", "", "PCI\\VEN_2")},
     "Out Five Ten",
     ""},
    {"9x: several, but no wave output",
     false,
     false,
     {device("Card A", "", "PCI\\VEN_1"), device("Card B", "", "PCI\\VEN_2")},
     "Card B",
     ""},
    {"9x: the same name twice is one",
     false,
     true,
     {device("Card", "", "PCI\\VEN_1"), device("Card", "", "PCI\\VEN_2")},
     "Card",
     ""},
};

class SoundDevice : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundDevice, FromTheMediaList)
{
    const SoundCase& c = GetParam();
    MachineUnderTest machine(kRegHeader, c.waveDevices ? kMediaIni : "");
    ASSERT_TRUE(machine);
    Lists lists;
    for (const DeviceClass& record : c.records)
        lists.at[kMediaClassList].append(record);
    MediaInfo media;
    media.setMediaInfo(c.isNT, lists.at);
    EXPECT_EQ(MediaInfoPeer::soundDeviceName(media), c.sound) << c.what;
    EXPECT_EQ(MediaInfoPeer::gameDeviceName(media), c.game) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rules, SoundDevice, ::testing::ValuesIn(kSoundCases));

TEST(MediaInfoText, WritesTheNameOnlyWhenItAndItsNulFit)
{
    MachineUnderTest machine(kRegHeader, "");
    ASSERT_TRUE(machine);
    Lists lists;
    lists.at[kMediaClassList].append(device("Sound", "PCI"));
    MediaInfo media;
    media.setMediaInfo(true, lists.at);
    char buffer[8] = "xxxxxxx";
    media.getMediaInfo(buffer, 5);
    EXPECT_STREQ(buffer, "xxxxxxx") << "size equal to the length";
    media.getMediaInfo(buffer, 6);
    EXPECT_STREQ(buffer, "Sound");
    MediaInfo empty;
    empty.getMediaInfo(buffer, 1);
    EXPECT_STREQ(buffer, "");
}

// --- Display ----------------------------------------------------------------

struct TechnologyCase {
    int value;
    const char* name;
};

const TechnologyCase kTechnologies[] = {
    {0, "Vector Plotter"},
    {1, "Raster Display"},
    {2, "Raster Printer"},
    {3, "Raster Camera"},
    {4, "Character Stream"},
    {5, "Metafile"},
    {6, "Display File"},
    {7, ""},
    {-1, ""},
};

class DisplayTechnology : public ::testing::TestWithParam<TechnologyCase> {};

TEST_P(DisplayTechnology, NamedByTheTable)
{
    MachineUnderTest machine(kRegHeader, "[screen]\ntechnology = " + std::to_string(GetParam().value) + "\n");
    ASSERT_TRUE(machine);
    Lists lists;
    lists.at[kDisplayClassList].append(device("Adapter", "PCI bus 1"));
    DisplayInfo display;
    display.setDisplayInfo(true, lists.at);
    ASSERT_EQ(DisplayInfoPeer::devices(display).size(), 1u);
    EXPECT_EQ(DisplayInfoPeer::devices(display)[0].technology, GetParam().name)
        << "technology " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, DisplayTechnology, ::testing::ValuesIn(kTechnologies));

TEST(DisplayInfoScreen, EveryAdapterGetsTheSameScreenCapabilities)
{
    MachineUnderTest machine(kRegHeader,
                             "[screen]\nlogpixelsy = 120\nhorzres = 1280\nvertres = 1024\n"
                             "bitspixel = 24\ntechnology = 1\nhorzsize = 340\nvertsize = 270\n"
                             "aspectx = 36\naspecty = 37\naspectxy = 52\n");
    ASSERT_TRUE(machine);
    Lists lists;
    lists.at[kDisplayClassList].append(device("First", "PCI bus 1"));
    lists.at[kDisplayClassList].append(device("Second", "PCI bus 2"));
    DisplayInfo display;
    display.setDisplayInfo(true, lists.at);
    const OwnedList<DisplayDevice>& devices = DisplayInfoPeer::devices(display);
    ASSERT_EQ(devices.size(), 2u);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DisplayDevice& d = devices[i];
        const int got[] = {d.logPixelsY, d.horzRes, d.vertRes, d.bitsPerPixel, d.horzSize,
                           d.vertSize,   d.aspectX, d.aspectY, d.aspectXY};
        const int want[] = {120, 1280, 1024, 24, 340, 270, 36, 37, 52};
        for (std::size_t k = 0; k < std::size(got); ++k)
            EXPECT_EQ(got[k], want[k]) << "adapter " << i << " capability " << k;
        EXPECT_EQ(d.technology, "Raster Display");
    }
}

TEST(DisplayInfoText, DescriptionsMemoryAndTheWholeList)
{
    MachineUnderTest machine(kRegHeader, "");
    ASSERT_TRUE(machine);
    DisplayInfo display;
    char buffer[16] = "untouched";
    EXPECT_EQ(display.getDisplayInfo(buffer, 1), 1);
    EXPECT_STREQ(buffer, "") << "no adapters: an empty text";

    Lists lists;
    lists.at[kDisplayClassList].append(device("Adapter", "PCI bus 1"));
    lists.at[kDisplayClassList].append(device("Unplaced", ""));  // NT: no location
    display.setDisplayInfo(true, lists.at);
    ASSERT_EQ(display.getVgaListCount(), 1);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(display.getVgaDescription(0, buffer, 7), -1);
    EXPECT_STREQ(buffer, "untouched") << "size equal to the length";
    EXPECT_EQ(display.getVgaDescription(0, buffer, 8), 1);
    EXPECT_STREQ(buffer, "Adapter");
    EXPECT_EQ(display.getVgaDescription(-1, buffer, sizeof buffer), -1);
    EXPECT_EQ(display.getVgaDescription(1, buffer, sizeof buffer), -1);
    EXPECT_EQ(display.getVgaMemorySize(-1), -1);
    EXPECT_EQ(display.getVgaMemorySize(1), -1);
    EXPECT_EQ(display.getVgaMemorySize(0), 0) << "no memory value";
}

TEST(DisplayInfoText, Utf16HardwareText)
{
    struct Case {
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {{'A', 0, 'T', 0, 'I', 0, 0, 0}, "ATI"},
        {{'A', 0, 'B'}, "A"},              // the odd last byte is no code unit
        {{'A', 0, 0, 0, 'B', 0}, "AB"},    // zero units append nothing
        {{0xE9, 0, 0x22, 0x21}, "\xE9?"},  // 233 is itself; 0x2122 has no byte
        {{}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textFromUtf16(c.bytes), c.text) << c.bytes.size() << " bytes";
}

std::vector<uint8_t> bytesOf(const char* text, std::size_t size)
{
    return std::vector<uint8_t>(text, text + size);
}

TEST(DisplayInfoText, BiosVersionMultiString)
{
    struct Case {
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {bytesOf("a\0b\0c\0\0", 7), "a b c"},
        {bytesOf("1\0002\0003\0004\0005\0006\0\0", 13), "1 2 3 4 5"},  // six: the first five
        {bytesOf("a\0b", 3), "a b"},  // no closing empty string: the data's end
        {bytesOf("abc", 3), "abc"},
        {bytesOf("\0a\0\0", 4), ""},
        {{}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joinedBiosVersion(c.bytes), c.text) << c.bytes.size() << " bytes";
}

// --- Network ----------------------------------------------------------------

TEST(NetworkInfoText, DescriptionsAndTheWholeList)
{
    NetworkInfo network;
    char buffer[32] = "untouched";
    EXPECT_EQ(network.getNetworkInfo(buffer, 1), 1);
    EXPECT_STREQ(buffer, "");

    Lists lists;
    DeviceClass named = device("Description", "PCI bus 1");
    named.friendlyName = "first";
    lists.at[kNetClassList].append(named);
    lists.at[kNetClassList].append(device("second", "PCI bus 2"));
    network.setNetworkInfo(true, lists.at);
    ASSERT_EQ(network.getNicListCount(), 2);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(network.getNicDescription(-1, buffer, sizeof buffer), -1);
    EXPECT_EQ(network.getNicDescription(2, buffer, sizeof buffer), -1);
    EXPECT_EQ(network.getNicDescription(0, buffer, 5), -1);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(network.getNicDescription(0, buffer, 6), 1);
    EXPECT_STREQ(buffer, "first");
    EXPECT_EQ(network.getNetworkInfo(buffer, 12), -1);
    EXPECT_EQ(network.getNetworkInfo(buffer, 13), 1);
    EXPECT_STREQ(buffer, "first|second");
}

// --- Copies and the report --------------------------------------------------

TEST(DeviceCollectorCopies, OwnTheirEntries)
{
    MachineUnderTest machine(kRegHeader, kMediaIni);
    ASSERT_TRUE(machine);
    Lists lists;
    lists.at[kDisplayClassList].append(device("Adapter", "PCI bus 1"));
    lists.at[kNetClassList].append(device("Nic", "PCI bus 2"));
    lists.at[kMediaClassList].append(device("Sound", "PCI bus 3"));

    auto display = std::make_unique<DisplayInfo>();
    auto network = std::make_unique<NetworkInfo>();
    auto media = std::make_unique<MediaInfo>();
    display->setDisplayInfo(true, lists.at);
    network->setNetworkInfo(true, lists.at);
    media->setMediaInfo(true, lists.at);
    DisplayInfo displayCopy(*display);
    NetworkInfo networkCopy;
    networkCopy = *network;
    MediaInfo mediaCopy(*media);
    EXPECT_NE(&DisplayInfoPeer::devices(displayCopy)[0], &DisplayInfoPeer::devices(*display)[0]);
    EXPECT_NE(&MediaInfoPeer::family(mediaCopy, MediaFamily::Mixer)[0],
              &MediaInfoPeer::family(*media, MediaFamily::Mixer)[0]);
    display.reset();
    network.reset();
    media.reset();

    char buffer[16] = "";
    EXPECT_EQ(displayCopy.getVgaDescription(0, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "Adapter");
    EXPECT_EQ(networkCopy.getNicDescription(0, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "Nic");
    mediaCopy.getMediaInfo(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Sound");
    EXPECT_EQ(texts(MediaInfoPeer::family(mediaCopy, MediaFamily::Mixer)).size(), 2u);
}

TEST(DeviceReportLines, EntriesWhoseTextCannotBeWritten)
{
    MachineUnderTest machine(kRegHeader, "");
    ASSERT_TRUE(machine);
    const std::string tooLong(1024, 'x');  // with its NUL, one more than the buffer
    Lists lists;
    lists.at[kDisplayClassList].append(device(tooLong, "PCI bus 1"));
    lists.at[kDisplayClassList].append(device("Fits", "PCI bus 2"));
    lists.at[kNetClassList].append(device(tooLong, "PCI bus 3"));
    lists.at[kMediaClassList].append(device(tooLong, "PCI bus 4"));

    CollectorSlots& slots = collectorSlots();
    slots.display = std::make_unique<DisplayInfo>();
    slots.media = std::make_unique<MediaInfo>();
    slots.network = std::make_unique<NetworkInfo>();
    slots.display->setDisplayInfo(true, lists.at);
    slots.media->setMediaInfo(true, lists.at);
    slots.network->setNetworkInfo(true, lists.at);
    const std::string report = buildReportText(ReportKind::Brief);
    destroyCollectorSet();

    EXPECT_NE(report.find("\nVga 0: 0\nVga 1: Fits, 0\nSound: \n"), std::string::npos) << report;
    EXPECT_NE(report.find("\nNic 0: \n"), std::string::npos) << report;
}

struct SampleCase {
    const char* machine;
    const char* lines;
};

const SampleCase kSamples[] = {
    {"xp-desktop",
     "Vga 0: NVIDIA GeForce2 MX/MX 400, 32\n"
     "Sound: Creative SB Live! Value\n"
     "Nic 0: 3Com 3C920 Integrated Fast Ethernet Controller\n"},
    {"win98se",
     "Vga 0: ATI 3D RAGE PRO AGP 2X, 8192\n"
     "Sound: ESS Solo-1 PCI AudioDrive\n"
     "Nic 0: Realtek RTL8139(A) PCI Fast Ethernet Adapter\n"},
};

class SampleDeviceLines : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleDeviceLines, OfTheBriefReport)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir(GetParam().machine), &error);
    ASSERT_TRUE(machine) << error;
    const std::string lines = deviceLinesOf(reportOf(*machine, ReportKind::Brief));
    EXPECT_EQ(lines, GetParam().lines) << GetParam().machine;
}

INSTANTIATE_TEST_SUITE_P(Machines, SampleDeviceLines, ::testing::ValuesIn(kSamples));

}  // namespace
}  // namespace kel::test
