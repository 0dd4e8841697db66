#include "collectors/StartUpInfo.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kel {
namespace {

using Texts = std::vector<std::string>;

const std::string kMachineRun = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\n";
const std::string kMachineRun32 =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\n";
const std::string kMachineRunOnce =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n";
const std::string kMachineRunOnce32 =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n";
const std::string kUserRun = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n";
const std::string kUserRunOnce =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n";

Texts entries(StartUpInfo& info)
{
    Texts texts;
    for (int i = 0; i < info.getStartUpListCount(); ++i) {
        char buffer[1024] = "untouched";
        EXPECT_EQ(1, info.getStartUpDescription(i, buffer, sizeof buffer)) << "entry " << i;
        texts.push_back(buffer);
    }
    return texts;
}

Texts gather(const std::string& registry, const std::string& shell = "", const std::string& systemLines = "")
{
    MachineUnderTest m(regFile(registry), iniFile("[shell]\n" + shell, systemLines));
    StartUpInfo info;
    info.setStartUpInfo();
    return entries(info);
}

TEST(StartUpInfo, RegistryListsComeFirstThenUserFolderThenCommonFolder)
{
    const std::string reg = kMachineRun + "\"Agent\"=\"C:\\\\Tools\\\\agent.exe /min\"\n\n" + kUserRun +
                            "\"Messenger\"=\"msmsgs.exe /background\"\n\n" + kMachineRunOnce +
                            "\"Setup\"=\"setup.exe /continue\"\n\n" + kUserRunOnce +
                            "\"Cleanup\"=\"cleanup.exe\"\n\n";
    const std::string shell =
        "startup_common = Office.lnk\n"
        "startup_user = Notes.lnk; Mail.lnk\n";
    EXPECT_EQ(
        (Texts{"C:\\Tools\\agent.exe /min@Agent", "msmsgs.exe /background@Messenger",
               "setup.exe /continue@Setup", "cleanup.exe@Cleanup", "Notes.lnk", "Mail.lnk", "Office.lnk"}),
        gather(reg, shell));
}

TEST(StartUpInfo, OnlyShortcutsOfTheFoldersAreListed)
{
    EXPECT_EQ((Texts{"Agent.lnk", "Old.LNK"}),
              gather("", "startup_user = Agent.lnk; readme.txt; desktop.ini; Old.LNK\n"));
}

TEST(StartUpInfo, FolderTheShellCannotNameOrEmptyAddsNothing)
{
    EXPECT_EQ((Texts{"Only.lnk"}), gather("", "startup_common = Only.lnk\n"));
    EXPECT_EQ((Texts{}), gather("", "startup_common =\nstartup_user =\n"));
}

TEST(StartUpInfo, ValueTexts)
{
    const std::string reg = kMachineRun + "@=\"default.exe\"\n" + "\"Binary\"=hex:41,42,00,43\n" +
                            "\"Flag\"=dword:00000031\n" + "\"Long\"=\"" + std::string(259, 'x') + "\"\n" +
                            "\"TooLong\"=\"" + std::string(260, 'y') + "\"\n" +
                            "\"Unended\"=hex(1):61,00,62,00\n\n";
    EXPECT_EQ((Texts{"default.exe@", "AB@Binary", "1@Flag", std::string(259, 'x') + "@Long", "ab@Unended"}),
              gather(reg));
}

TEST(StartUpInfo, JoinedTextHasNoSeparatorBeforeTheFirstEntry)
{
    MachineUnderTest m(regFile(kUserRun + "\"Messenger\"=\"msmsgs.exe\"\n\n"),
                       iniFile("[shell]\nstartup_user = Agent.lnk\n"));
    StartUpInfo info;
    char buffer[64] = "untouched";
    EXPECT_EQ(1, info.getStartUpInfo(buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    info.setStartUpInfo();
    EXPECT_EQ(1, info.getStartUpInfo(buffer, sizeof buffer));
    EXPECT_STREQ("msmsgs.exe@Messenger|Agent.lnk", buffer);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getStartUpInfo(buffer, 30));
    EXPECT_STREQ("untouched", buffer);
}

TEST(StartUpInfo, DescriptionPastTheEndIsEmptyNegativeIsRejected)
{
    MachineUnderTest m(regFile(""), iniFile("[shell]\nstartup_user = Agent.lnk\n"));
    StartUpInfo info;
    info.setStartUpInfo();
    ASSERT_EQ(1, info.getStartUpListCount());
    char buffer[16] = "untouched";
    EXPECT_EQ(1, info.getStartUpDescription(1, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getStartUpDescription(-1, buffer, sizeof buffer));
    EXPECT_EQ(-1, info.getStartUpDescription(0, buffer, 9));
    EXPECT_STREQ("untouched", buffer);
    EXPECT_EQ(1, info.getStartUpDescription(0, buffer, 10));
    EXPECT_STREQ("Agent.lnk", buffer);
}

TEST(StartUpInfo, Windows64ReadsBothViewsOfTheMachineKeysOnly)
{
    const std::string reg =
        kMachineRun + "\"Native\"=\"native.exe\"\n\n" + kMachineRun32 + "\"Legacy\"=\"legacy.exe\"\n\n" +
        kMachineRunOnce + "\"Once64\"=\"once64.exe\"\n\n" + kMachineRunOnce32 +
        "\"Once32\"=\"once32.exe\"\n\n" + kUserRun + "\"Mine\"=\"mine.exe\"\n\n" +
        "[HKEY_CURRENT_USER\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"Ghost\"=\"ghost.exe\"\n\n";
    EXPECT_EQ((Texts{"legacy.exe@Legacy", "native.exe@Native", "mine.exe@Mine", "once32.exe@Once32",
                     "once64.exe@Once64"}),
              gather(reg, "", "windows64 = yes\n"));
    EXPECT_EQ((Texts{"native.exe@Native", "mine.exe@Mine", "once64.exe@Once64"}), gather(reg))
        << "32-bit Windows has one view";
}

// --- Entries disabled in Task Manager or Settings ---------------------------

const std::string kApproved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
const std::string kDisabled = "hex:03,00,00,00,4a,c6,8a,e3,2e,6d,d9,01";
const std::string kEnabled = "hex:02,00,00,00,00,00,00,00,00,00,00,00";

std::string states(const char* root, const std::string& kind, const std::string& lines)
{
    return std::string("[") + root + "\\" + kApproved + kind + "]\n" + lines + "\n";
}

// One entry of each kind, two of them Run values of the 64-bit machine.
const std::string kEveryKind = kMachineRun + "\"On\"=\"on.exe\"\n\"Off\"=\"off.exe\"\n\n" + kMachineRun32 +
                               "\"Old\"=\"old.exe\"\n\n" + kUserRun + "\"Mine\"=\"mine.exe\"\n\n" +
                               kMachineRunOnce + "\"Once\"=\"once.exe\"\n\n" + kUserRunOnce +
                               "\"Mine\"=\"mine-once.exe\"\n\n";
const std::string kEveryKindShell =
    "startup_user = Notes.lnk; Mail.lnk\nstartup_common = Office.lnk; Sync.lnk\n";

struct ApprovalCase {
    const char* what;
    std::string states;
    std::string systemLines;
    Texts listed;
};

const ApprovalCase kApprovalCases[] = {
    {"no states: everything listed",
     "",
     "windows64 = yes\n",
     {"old.exe@Old", "on.exe@On", "off.exe@Off", "mine.exe@Mine", "once.exe@Once", "mine-once.exe@Mine",
      "Notes.lnk", "Mail.lnk", "Office.lnk", "Sync.lnk"}},
    {"one disabled in each of the five places, one enabled beside it",
     states("HKEY_LOCAL_MACHINE", "Run", "\"Off\"=" + kDisabled + "\n\"On\"=" + kEnabled) +
         states("HKEY_LOCAL_MACHINE", "Run32", "\"Old\"=" + kDisabled) +
         states("HKEY_CURRENT_USER", "Run", "\"Mine\"=" + kDisabled) +
         states("HKEY_CURRENT_USER", "StartupFolder", "\"Mail.lnk\"=" + kDisabled) +
         states("HKEY_LOCAL_MACHINE", "StartupFolder", "\"Office.lnk\"=hex:07\n\"Sync.lnk\"=hex:06"),
     "windows64 = yes\n",
     {"on.exe@On", "once.exe@Once", "mine-once.exe@Mine", "Notes.lnk", "Sync.lnk"}},
    {"RunOnce values keep no state, even one named in Run",
     states("HKEY_LOCAL_MACHINE", "Run", "\"Once\"=" + kDisabled) +
         states("HKEY_LOCAL_MACHINE", "RunOnce", "\"Once\"=" + kDisabled) +
         states("HKEY_CURRENT_USER", "RunOnce", "\"Mine\"=" + kDisabled),
     "windows64 = yes\n",
     {"old.exe@Old", "on.exe@On", "off.exe@Off", "mine.exe@Mine", "once.exe@Once", "mine-once.exe@Mine",
      "Notes.lnk", "Mail.lnk", "Office.lnk", "Sync.lnk"}},
    {"each state in its own place only: the 64-bit Run's states do not reach the 32-bit view's key",
     states("HKEY_LOCAL_MACHINE", "Run", "\"Old\"=" + kDisabled) +
         states("HKEY_LOCAL_MACHINE", "Run32", "\"On\"=" + kDisabled) +
         states("HKEY_CURRENT_USER", "StartupFolder", "\"Office.lnk\"=" + kDisabled) +
         states("HKEY_LOCAL_MACHINE", "StartupFolder", "\"Notes.lnk\"=" + kDisabled),
     "windows64 = yes\n",
     {"old.exe@Old", "on.exe@On", "off.exe@Off", "mine.exe@Mine", "once.exe@Once", "mine-once.exe@Mine",
      "Notes.lnk", "Mail.lnk", "Office.lnk", "Sync.lnk"}},
    {"the machine's states are read in the 64-bit view, not the module's own",
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
     "StartupApproved\\Run]\n\"On\"=" +
         kDisabled + "\n\n",
     "windows64 = yes\n",
     {"old.exe@Old", "on.exe@On", "off.exe@Off", "mine.exe@Mine", "once.exe@Once", "mine-once.exe@Mine",
      "Notes.lnk", "Mail.lnk", "Office.lnk", "Sync.lnk"}},
    {"32-bit Windows: one Run key, its states in Run",
     states("HKEY_LOCAL_MACHINE", "Run", "\"Off\"=" + kDisabled),
     "",
     {"on.exe@On", "mine.exe@Mine", "once.exe@Once", "mine-once.exe@Mine", "Notes.lnk", "Mail.lnk",
      "Office.lnk", "Sync.lnk"}},
};

// A disabling state of the given length in bytes.
std::string longState(int length)
{
    std::string bytes = "hex:03";
    for (int i = 1; i < length; ++i)
        bytes += ",00";
    return bytes;
}

TEST(StartUpInfoApproval, DisabledEntriesAreLeftOut)
{
    for (const ApprovalCase& c : kApprovalCases)
        EXPECT_EQ(c.listed, gather(kEveryKind + c.states, kEveryKindShell, c.systemLines)) << c.what;
}

TEST(StartUpInfoApproval, StateValuesOfEveryShape)
{
    // Run32 holds the 32-bit view's states; each value tests one shape.
    const std::string reg = kMachineRun32 +
                            "\"Empty\"=\"empty.exe\"\n\"Dword\"=\"dword.exe\"\n\"Text\"=\"text.exe\"\n"
                            "\"Even\"=\"even.exe\"\n\"Long\"=\"long.exe\"\n\"Fits\"=\"fits.exe\"\n\n" +
                            states("HKEY_LOCAL_MACHINE", "Run32",
                                   "\"Empty\"=hex:\n\"Dword\"=dword:00000005\n\"Text\"=\"3\"\n"
                                   "\"Even\"=hex:06,01\n\"Long\"=" +
                                       longState(261) + "\n\"Fits\"=" + longState(260));
    EXPECT_EQ((Texts{"empty.exe@Empty", "even.exe@Even", "long.exe@Long"}),
              gather(reg, "", "windows64 = yes\n"))
        << "odd first byte of any type disables; no byte, an even one or 261 bytes enable";
}

TEST(StartUpInfo, SecondFillAppendsAgainAndCopiesStandAlone)
{
    MachineUnderTest m(regFile(kMachineRun + "\"Agent\"=\"agent.exe\"\n\n"),
                       iniFile("[shell]\nstartup_common = Office.lnk\n"));
    StartUpInfo info;
    info.setStartUpInfo();
    info.setStartUpInfo();
    StartUpInfo copy(info);
    StartUpInfo assigned;
    assigned = info;
    info = StartUpInfo();
    EXPECT_EQ(0, info.getStartUpListCount());
    const Texts twice{"agent.exe@Agent", "agent.exe@Agent", "Office.lnk", "Office.lnk"};
    EXPECT_EQ(twice, entries(copy));
    EXPECT_EQ(twice, entries(assigned));
}

// Counts searches opened and closed, to prove that every search is closed.
class SearchCount : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    FindHandle findFirstFile(const char* pattern, char* fileName) override
    {
        patterns.push_back(pattern);
        FindHandle h = RecordedMachine::findFirstFile(pattern, fileName);
        opened += h != 0;
        return h;
    }
    void findClose(FindHandle search) override
    {
        ++closed;
        RecordedMachine::findClose(search);
    }
    std::vector<std::string> patterns;
    int opened = 0;
    int closed = 0;
};

TEST(StartUpInfo, SearchesCommonFolderFirstForShortcutsAndClosesEverySearch)
{
    MachineUnderTest<SearchCount> count(regFile(""), iniFile("[shell]\nstartup_common = A.lnk\n"
                                                             "startup_user = B.lnk\n"));
    StartUpInfo info;
    info.setStartUpInfo();
    EXPECT_EQ((Texts{"B.lnk", "A.lnk"}), entries(info));
    ASSERT_EQ(2u, count->patterns.size());
    char common[kMaxPath] = {};
    ASSERT_TRUE(count->getSpecialFolderPath(kFolderCommonStartup, common));
    EXPECT_EQ(std::string(common) + "\\*.lnk", count->patterns[0]);
    EXPECT_EQ(2, count->opened);
    EXPECT_EQ(2, count->closed);
}

}  // namespace
}  // namespace kel
