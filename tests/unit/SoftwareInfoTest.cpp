#include "collectors/SoftwareInfo.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kel {
namespace {

const std::string kUninstall = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kUninstall32 =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string program(const std::string& list, const std::string& key, const std::string& values)
{
    return "[" + list + "\\" + key + "]\n" + values + "\n";
}

std::vector<std::string> names(SoftwareInfo& info)
{
    std::vector<std::string> texts;
    for (int i = 0; i < info.getSoftwareListCount(); ++i) {
        char buffer[1024] = "untouched";
        EXPECT_EQ(1, info.getSoftwareDescription(i, buffer, sizeof buffer)) << "entry " << i;
        texts.push_back(buffer);
    }
    return texts;
}

std::vector<std::string> gather(const std::string& registry, const std::string& systemLines = "")
{
    MachineUnderTest m(regFile(registry), iniFile("", systemLines));
    SoftwareInfo info;
    info.setSoftwareInfo();
    return names(info);
}

TEST(SoftwareInfo, ListsDisplayNamesInEnumerationOrder)
{
    const std::string reg = program(kUninstall, "AdobeReader", "\"DisplayName\"=\"Adobe Reader 6.0\"") +
                            program(kUninstall, "KB823980", "\"ParentKeyName\"=\"OperatingSystem\"") +
                            program(kUninstall, "Mozilla", "\"DisplayName\"=\"\"") +
                            program(kUninstall, "WinZip", "\"DisplayName\"=\"WinZip\"") +
                            program(kUninstall, "WinZip2", "\"DisplayName\"=\"WinZip\"");
    EXPECT_EQ((std::vector<std::string>{"Adobe Reader 6.0", "", "WinZip", "WinZip"}), gather(reg));
}

TEST(SoftwareInfo, DisplayNameOf259CharactersFitsAnd260DoesNot)
{
    const std::string reg = program(kUninstall, "A", "\"DisplayName\"=\"" + std::string(259, 'a') + "\"") +
                            program(kUninstall, "B", "\"DisplayName\"=\"" + std::string(260, 'b') + "\"") +
                            program(kUninstall, "C", "\"DisplayName\"=\"Calc\"");
    EXPECT_EQ((std::vector<std::string>{std::string(259, 'a'), "Calc"}), gather(reg));
}

TEST(SoftwareInfo, NameWithoutTerminatorIsBoundedByItsBytes)
{
    // "Kel" stored without its NUL (UTF-16 in this file format).
    const std::string reg = program(kUninstall, "K", "\"DisplayName\"=hex(1):4b,00,65,00,6c,00");
    EXPECT_EQ((std::vector<std::string>{"Kel"}), gather(reg));
}

TEST(SoftwareInfo, ReadsOnlyTheMachineList)
{
    const std::string reg =
        program("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "Mine",
                "\"DisplayName\"=\"Per-user program\"") +
        program(kUninstall32, "Old", "\"DisplayName\"=\"32-bit program\"");
    EXPECT_TRUE(gather(reg).empty()) << "32-bit Windows has one view and no user list is read";
}

TEST(SoftwareInfo, Windows64ReadsOwn32BitViewFirstThenThe64BitOne)
{
    const std::string reg = program(kUninstall, "Office", "\"DisplayName\"=\"Office 64-bit\"") +
                            program(kUninstall, "Same", "\"DisplayName\"=\"Twin\"") +
                            program(kUninstall32, "Same", "\"DisplayName\"=\"Twin\"") +
                            program(kUninstall32, "Zip", "\"DisplayName\"=\"7-Zip 32-bit\"");
    EXPECT_EQ((std::vector<std::string>{"Twin", "7-Zip 32-bit", "Office 64-bit", "Twin"}),
              gather(reg, "windows64 = yes\n"));
}

// A platform on which both views open one key, as for a key that 64-bit
// Windows does not redirect.
class SharedViews : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    bool regSameKey(RegHandle, RegHandle) override
    {
        ++asked;
        return true;
    }
    int asked = 0;
};

TEST(SoftwareInfo, Windows64ReadsAKeyBothViewsShareOnce)
{
    MachineUnderTest<SharedViews> shared(regFile(program(kUninstall, "Office", "\"DisplayName\"=\"Office\"") +
                                                 program(kUninstall32, "Zip", "\"DisplayName\"=\"7-Zip\"")),
                                         iniFile("", "windows64 = yes\n"));
    SoftwareInfo info;
    info.setSoftwareInfo();
    EXPECT_EQ((std::vector<std::string>{"7-Zip"}), names(info));
    EXPECT_EQ(1, shared->asked);
}

TEST(SoftwareInfo, DescriptionTellsBadIndexFromSmallBuffer)
{
    MachineUnderTest m(regFile(program(kUninstall, "W", "\"DisplayName\"=\"WinZip\"")), iniFile(""));
    SoftwareInfo info;
    info.setSoftwareInfo();
    char buffer[16];
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getSoftwareDescription(-1, buffer, sizeof buffer));
    EXPECT_EQ(-1, info.getSoftwareDescription(1, buffer, sizeof buffer));
    EXPECT_EQ(0, info.getSoftwareDescription(0, buffer, 6));
    EXPECT_STREQ("untouched", buffer);
    EXPECT_EQ(1, info.getSoftwareDescription(0, buffer, 7));
    EXPECT_STREQ("WinZip", buffer);
}

TEST(SoftwareInfo, WholeListAndSecondFillAndCopies)
{
    MachineUnderTest m(regFile(program(kUninstall, "A", "\"DisplayName\"=\"Alpha\"") +
                               program(kUninstall, "B", "\"DisplayName\"=\"Beta\"")),
                       iniFile(""));
    SoftwareInfo info;
    char buffer[64] = "untouched";
    EXPECT_EQ(1, info.getSoftwareInfo(buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    info.setSoftwareInfo();
    EXPECT_EQ(1, info.getSoftwareInfo(buffer, sizeof buffer));
    EXPECT_STREQ("Alpha|Beta", buffer);
    EXPECT_EQ(-1, info.getSoftwareInfo(buffer, 10));
    info.setSoftwareInfo();
    SoftwareInfo copy(info);
    info = SoftwareInfo();
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Alpha", "Beta"}), names(copy));
}

TEST(SoftwareInfo, MissingListGivesNoPrograms) { EXPECT_TRUE(gather("").empty()); }

}  // namespace
}  // namespace kel
