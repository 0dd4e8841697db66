#include "collectors/DirectXInfo.h"
#include "CollectorPeers.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kel {

namespace {

using Texts = std::vector<std::string>;

const std::string kDirectX =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX]\n\"Version\"=\"4.09.00.0904\"\n\n";
const std::string kD3D = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Direct3D\\Drivers";
const std::string kPlay = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectPlay\\Services";
const std::string kMusic = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectMusic\\SoftwareSynths";

std::string component(const std::string& base, const std::string& key, const std::string& values)
{
    return "[" + base + "\\" + key + "]\n" + values + "\n";
}

const std::string kComponents =
    component(kD3D, "Ramp Emulation",
              "\"Description\"=\"Microsoft Direct3D Mono(Ramp) Software Emulation\"") +
    component(kD3D, "RGB Emulation", "\"Description\"=\"Microsoft Direct3D RGB Software Emulation\"") +
    component(kD3D, "Silent", "\"Name\"=\"no description\"") +
    component(kPlay, "{5146AB8C-B735-4c4b-9B86-39E1022E2B10}",
              "\"Description\"=\"Internet TCP/IP Connection For DirectPlay\"") +
    component(kMusic, "{58C2B4D0-46E7-11D1-89AC-00A0C9054129}", "\"Description\"=\"Microsoft Synthesizer\"");

// Records every key path the collector opens.
class OpenLog : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) override
    {
        opened.push_back(path);
        return RecordedMachine::regOpenKey(root, path, access, key);
    }
    bool openedBelow(const std::string& prefix) const
    {
        for (const std::string& p : opened)
            if (p.compare(0, prefix.size(), prefix) == 0)
                return true;
        return false;
    }
    std::vector<std::string> opened;
};

std::string versionOf(DirectXInfo& info, int size = 1024)
{
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, 0);
    std::strcpy(buffer.data(), "untouched");
    info.getDirectXInfo(buffer.data(), size);
    return buffer.data();
}

TEST(DirectXInfo, ReadsVersionUnchangedAndTheThreeComponentLists)
{
    MachineUnderTest m(regFile(kDirectX + kComponents), iniFile(""));
    DirectXInfo info;
    info.setDirectXInfo();
    EXPECT_EQ("4.09.00.0904", versionOf(info));
    EXPECT_EQ((Texts{"Microsoft Direct3D Mono(Ramp) Software Emulation",
                     "Microsoft Direct3D RGB Software Emulation"}),
              DirectXInfoPeer::list(info, 1));
    EXPECT_EQ((Texts{"Internet TCP/IP Connection For DirectPlay"}), DirectXInfoPeer::list(info, 2));
    EXPECT_EQ((Texts{"Microsoft Synthesizer"}), DirectXInfoPeer::list(info, 3));
}

TEST(DirectXInfo, MissingDirect3DKeyStopsTheOtherWalks)
{
    const std::string reg = kDirectX + component(kPlay, "TCP", "\"Description\"=\"TCP/IP\"") +
                            component(kMusic, "Synth", "\"Description\"=\"Synth\"");
    MachineUnderTest<OpenLog> log(regFile(reg), iniFile(""));
    DirectXInfo info;
    info.setDirectXInfo();
    EXPECT_EQ("4.09.00.0904", versionOf(info));
    EXPECT_TRUE(DirectXInfoPeer::list(info, 2).empty());
    EXPECT_TRUE(DirectXInfoPeer::list(info, 3).empty());
    EXPECT_FALSE(log->openedBelow("SOFTWARE\\Microsoft\\DirectPlay"));
    EXPECT_FALSE(log->openedBelow("SOFTWARE\\Microsoft\\DirectMusic"));
}

TEST(DirectXInfo, MissingDirectPlayKeyStopsTheMusicWalk)
{
    const std::string reg = component(kD3D, "RGB", "\"Description\"=\"RGB\"") +
                            component(kMusic, "Synth", "\"Description\"=\"Synth\"");
    MachineUnderTest<OpenLog> log(regFile(reg), iniFile(""));
    DirectXInfo info;
    info.setDirectXInfo();
    EXPECT_EQ("", versionOf(info)) << "no DirectX key";
    EXPECT_EQ((Texts{"RGB"}), DirectXInfoPeer::list(info, 1));
    EXPECT_TRUE(DirectXInfoPeer::list(info, 3).empty());
    EXPECT_FALSE(log->openedBelow("SOFTWARE\\Microsoft\\DirectMusic"));
}

TEST(DirectXInfo, EmptyComponentKeysStillChain)
{
    const std::string reg =
        "[" + kD3D + "]\n\n[" + kPlay + "]\n\n" + component(kMusic, "Synth", "\"Description\"=\"Synth\"");
    MachineUnderTest m(regFile(reg), iniFile(""));
    DirectXInfo info;
    info.setDirectXInfo();
    EXPECT_EQ((Texts{"Synth"}), DirectXInfoPeer::list(info, 3));
}

TEST(DirectXInfo, VersionIsWrittenOnlyWhenItFits)
{
    MachineUnderTest m(regFile(kDirectX), iniFile(""));
    DirectXInfo info;
    EXPECT_EQ("", versionOf(info)) << "empty before filling";
    info.setDirectXInfo();
    EXPECT_EQ("untouched", versionOf(info, 12));
    EXPECT_EQ("4.09.00.0904", versionOf(info, 13));
}

TEST(DirectXInfo, SecondFillAppendsAgainAndCopiesStandAlone)
{
    MachineUnderTest m(regFile(kDirectX + kComponents), iniFile(""));
    DirectXInfo info;
    info.setDirectXInfo();
    info.setDirectXInfo();
    EXPECT_EQ(4u, DirectXInfoPeer::list(info, 1).size());
    DirectXInfo copy(info);
    info = DirectXInfo();
    EXPECT_EQ("", versionOf(info));
    EXPECT_EQ("4.09.00.0904", versionOf(copy));
    EXPECT_EQ(2u, DirectXInfoPeer::list(copy, 3).size());
}

}  // namespace
}  // namespace kel
