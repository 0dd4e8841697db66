// The sound device of today's PCs: the PCI function is the audio controller,
// filed under System, and the MEDIA devices are its codecs on their own bus,
// so on the NT family the default render endpoint's adapter names the sound
// device when the MEDIA list names none.
#include "collectors/DeviceInfo.h"
#include "collectors/MediaInfo.h"
#include "report/Report.h"
#include "tests/devices/FixtureMachine.h"

#include "MachineUnderTest.h"

#include <string>

namespace kel::test {
namespace {

// A MEDIA instance at a location, with a PCI hardware identifier for the 95
// family's rule.
std::string media(const std::string& id, const char* name, const char* location)
{
    return "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\" + id + "]\n\"Class\"=\"MEDIA\"\n" +
           "\"DeviceDesc\"=\"" + name + "\"\n\"LocationInformation\"=\"" + location + "\"\n\n" +
           "[HKEY_LOCAL_MACHINE\\Enum\\" + id + "]\n\"Class\"=\"MEDIA\"\n\"DeviceDesc\"=\"" + name +
           "\"\n\"HardwareID\"=\"PCI\\\\VEN_1102\"\n\n";
}

const std::string kCodec = media("HDAUDIO\\FUNC_01&VEN_10EC&DEV_0887\\5&1b2c3d4e&0&0001",
                                 "Realtek High Definition Audio", "Internal High Definition Audio Bus");
const std::string kPciCard =
    media("PCI\\VEN_1102&DEV_0012\\4&3b1d7ed5&0&00E4", "Creative SB Audigy", "PCI bus 3");
const std::string kPciGamePort =
    media("PCI\\VEN_1102&DEV_7003\\4&3b1d7ed5&0&01E4", "Creative Game Port", "PCI bus 3, function 1");

const char kNt[] = "[version]\nplatform = 2\nmajor = 10\nminor = 0\nbuild = 22631\n";
const char kWin98[] = "[version]\nplatform = 1\nmajor = 4\nminor = 10\nbuild = 67766446\n";
const char kLongName[] = "Speakers and Headphones (Realtek(R) High Definition Audio with THX Spatial)";

struct EndpointCase {
    const char* what;
    const char* version;
    std::string registry;
    std::string endpoint;  // the [media] lines
    std::string sound;
};

const EndpointCase kEndpointCases[] = {
    {"codecs only: the endpoint's adapter", kNt, kCodec, "default_render = Realtek(R) Audio\n",
     "Realtek(R) Audio"},
    {"a name of more than 31 characters is kept whole", kNt, kCodec,
     std::string("default_render = ") + kLongName + "\n", kLongName},
    {"no endpoint: empty, as before", kNt, kCodec, "", ""},
    {"an empty adapter name: empty", kNt, kCodec, "default_render = \"\"\n", ""},
    {"a PCI sound device is kept: the endpoint is a fallback only", kNt, kCodec + kPciCard,
     "default_render = Realtek(R) Audio\n", "Creative SB Audigy"},
    {"a PCI game port is still the sound device", kNt, kCodec + kPciGamePort,
     "default_render = Realtek(R) Audio\n", "Creative Game Port"},
    {"the 95 family is untouched", kWin98, "", "default_render = Realtek(R) Audio\n", ""},
    {"a removed PCI card gives way to the endpoint", kNt, kPciCard,
     "default_render = Realtek(R) Audio\n[devices]\nabsent.0 = PCI\\VEN_1102&DEV_0012\\4&3b1d7ed5&0&00E4\n",
     "Realtek(R) Audio"},
};

TEST(SoundEndpoint, NamesTheSoundDeviceWhenTheMediaListNamesNone)
{
    for (const EndpointCase& c : kEndpointCases) {
        MachineUnderTest machine(regFile(c.registry), std::string(c.version) + "[media]\n" + c.endpoint);
        ASSERT_TRUE(machine) << c.what;
        EXPECT_EQ(deviceLinesOf(reportOf(*machine, ReportKind::Brief)), "Sound: " + c.sound + "\n") << c.what;
    }
}

TEST(SoundEndpoint, TheLongestNameIsWrittenWhenItAndItsNulFit)
{
    MachineUnderTest machine(regFile(kCodec),
                             std::string(kNt) + "[media]\ndefault_render = " + std::string(1023, 'A') + "\n");
    ASSERT_TRUE(machine);
    MediaInfo info;
    DeviceClassList lists[kDeviceClassListCount];
    info.setMediaInfo(true, lists);
    EXPECT_EQ(MediaInfoPeer::soundDeviceName(info), std::string(1023, 'A'));
    char buffer[1024] = "untouched";
    info.getMediaInfo(buffer, 1023);
    EXPECT_STREQ(buffer, "untouched") << "the name and its NUL do not fit";
    info.getMediaInfo(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(1023, 'A'));
}

}  // namespace
}  // namespace kel::test
