// The .reg reader: every syntax the registry editor writes, and one clear
// message for every kind of bad input.

#include "RecordedTestSupport.h"

#include "recorded/CodePage.h"
#include "recorded/RegFileReader.h"
#include "recorded/RegistryTree.h"

namespace kel {
namespace {

using test::errorOf;
using test::kRegHeader;
using test::OpenKey;
using test::subkeyNames;
using test::valueBytes;
using test::valueNames;

std::string bytesOf(std::initializer_list<int> list)
{
    std::string out;
    for (int b : list)
        out.push_back(static_cast<char>(b));
    return out;
}

std::string utf16leWithBom(const std::u16string& text)
{
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

struct TypedValue {
    const char* name;
    uint32_t type;
    std::string bytes;
};

TEST(RegFile, ReadsEveryValueSyntax)
{
    MachineUnderTest machine(std::string(kRegHeader) +
                                 "; a comment line\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\Test]\n"
                                 "@=\"default\"\n"
                                 "\"Text\"=\"a \\\"quoted\\\" back\\\\slash\"\n"
                                 "\"Number\"=dword:0001e240\n"
                                 "\"Binary\"=hex:01,ff,10\n"
                                 "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
                                 "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
                                 "\"Quad\"=hex(b):01,02,03,04,\\\n"
                                 "  05,06,07,08\n"
                                 "\"None\"=hex(0):\n"
                                 "\"Odd\"=hex(4abc):00 ; type 0x4abc with a comment\n"
                                 "\"Spaced\" = \"x\"   ; blanks around = and after the data\n",
                             "");
    ASSERT_TRUE(machine);
    OpenKey key(*machine, RegRoot::LocalMachine, "Software\\Test");
    ASSERT_EQ(key.result(), kRegSuccess);
    const TypedValue expected[] = {
        {"", kRegSz, std::string("default", 8)},
        {"Text", kRegSz, std::string("a \"quoted\" back\\slash", 22)},
        {"Number", kRegDword, bytesOf({0x40, 0xE2, 0x01, 0x00})},
        {"Binary", kRegBinary, bytesOf({0x01, 0xFF, 0x10})},
        {"Expand", kRegExpandSz, std::string("%A%", 4)},
        {"Multi", kRegMultiSz, std::string("a\0b\0\0", 5)},
        {"Quad", kRegQword, bytesOf({1, 2, 3, 4, 5, 6, 7, 8})},
        {"None", kRegNone, std::string()},
        {"Odd", 0x4abc, bytesOf({0})},
        {"Spaced", kRegSz, std::string("x", 2)},
    };
    for (const TypedValue& value : expected) {
        long result = -1;
        uint32_t type = 99;
        std::string bytes = valueBytes(*machine, key.handle(), value.name, kMaxPath, &result, &type);
        EXPECT_EQ(result, kRegSuccess) << value.name;
        EXPECT_EQ(type, value.type) << value.name;
        EXPECT_EQ(bytes, value.bytes) << value.name;
    }
}

TEST(RegFile, ReadsUtf16WithBomAndUtf8WithBom)
{
    std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"
        u"\"Name\"=\"\u00e9t\u00e9\"\r\n";
    MachineUnderTest fromUtf16(utf16leWithBom(text), "");
    MachineUnderTest fromUtf8("\xEF\xBB\xBF" + std::string(kRegHeader) +
                                  "[HKEY_CURRENT_USER\\Caf\xC3\xA9]\n\"Name\"=\"\xC3\xA9t\xC3\xA9\"\n",
                              "");
    for (MachineUnderTest<>* machine : {&fromUtf16, &fromUtf8}) {
        ASSERT_TRUE(*machine);
        OpenKey key(machine->machine(), RegRoot::CurrentUser, "CAF\xC9");  // 1252 bytes, other case
        ASSERT_EQ(key.result(), kRegSuccess);
        long result = -1;
        EXPECT_EQ(valueBytes(machine->machine(), key.handle(), "name", kMaxPath, &result),
                  std::string("\xE9t\xE9", 4));
    }
}

TEST(RegFile, ReadsRegedit4InTheMachineCodePage)
{
    // 0xB0 0xA1 is U+AC00 in code page 949; hex(2) texts are 8-bit too.
    MachineUnderTest machine("REGEDIT4\n\n[HKLM\\K\xB0\xA1]\n\"V\"=\"\xB0\xA1\"\n\"E\"=hex(2):b0,a1,00\n",
                             "[system]\ncodepage = 949\n");
    ASSERT_TRUE(machine);
    OpenKey root(*machine, RegRoot::LocalMachine, "");
    EXPECT_EQ(subkeyNames(*machine, root.handle()), std::vector<std::string>{"K\xB0\xA1"});
    OpenKey key(*machine, RegRoot::LocalMachine, "K\xB0\xA1");
    ASSERT_EQ(key.result(), kRegSuccess);
    long result = -1;
    EXPECT_EQ(valueBytes(*machine, key.handle(), "V", kMaxPath, &result), std::string("\xB0\xA1", 3));
    EXPECT_EQ(valueBytes(*machine, key.handle(), "E", kMaxPath, &result), std::string("\xB0\xA1", 3));
}

TEST(RegFile, AppliesDeletionLinesInFileOrder)
{
    MachineUnderTest machine(
        std::string(kRegHeader) +
            "[HKEY_LOCAL_MACHINE\\A\\B\\C]\n\"x\"=\"1\"\n"
            "[HKEY_LOCAL_MACHINE\\A\\D]\n\"keep\"=\"1\"\n\"drop\"=\"2\"\n\"last\"=\"3\"\n"
            "[-HKEY_LOCAL_MACHINE\\A\\B]\n"
            "\"ignored\"=\"below a deleted key\"\n"
            "[HKEY_LOCAL_MACHINE\\A\\D]\n\"DROP\"=-\n\"absent\"=-\n"
            "[-HKEY_LOCAL_MACHINE\\Never\\There]\n"
            "[HKEY_LOCAL_MACHINE\\A\\B]\n",
        "");
    ASSERT_TRUE(machine);
    OpenKey a(*machine, RegRoot::LocalMachine, "A");
    EXPECT_EQ(subkeyNames(*machine, a.handle()), (std::vector<std::string>{"B", "D"}));
    OpenKey b(*machine, RegRoot::LocalMachine, "A\\B");
    EXPECT_EQ(subkeyNames(*machine, b.handle()), std::vector<std::string>{});
    EXPECT_EQ(valueNames(*machine, b.handle()), std::vector<std::string>{});
    OpenKey d(*machine, RegRoot::LocalMachine, "A\\D");
    EXPECT_EQ(valueNames(*machine, d.handle()), (std::vector<std::string>{"keep", "last"}));
}

TEST(RegFile, EmptyFileIsAnEmptyRegistry)
{
    MachineUnderTest machine("", "");
    ASSERT_TRUE(machine);
    OpenKey root(*machine, RegRoot::LocalMachine, "");
    ASSERT_EQ(root.result(), kRegSuccess);
    EXPECT_EQ(subkeyNames(*machine, root.handle()), std::vector<std::string>{});
}

TEST(RegFile, ReaderWorksWithoutAMachine)
{
    auto codePage = CodePage::open(1252);
    ASSERT_TRUE(codePage);
    RegistryTree tree;
    std::string error;
    ASSERT_TRUE(RegFileReader::read(std::string(kRegHeader) + "[HKCU\\X]\n\"v\"=dword:1\n", "t.reg",
                                    *codePage, &tree, &error))
        << error;
    const RegNode* node = tree.find(RegRoot::CurrentUser, {u"x"});
    ASSERT_TRUE(node);
    ASSERT_EQ(node->values().size(), 1u);
    EXPECT_EQ(node->values()[0].name, u"v");
}

struct BadRegistry {
    std::string text;
    const char* message;
};

TEST(RegFile, RejectsBadInputWithOneMessage)
{
    const std::string h = kRegHeader;  // lines 1 and 2
    std::string deep;
    for (int i = 0; i < 513; ++i)
        deep += "\\k";
    const BadRegistry cases[] = {
        {"[HKLM\\A]\n",
         "registry.reg, line 1: the first line must be \"Windows Registry Editor Version 5.00\" or "
         "\"REGEDIT4\""},
        {"Windows Registry Editor Version 4.00\n",
         "registry.reg, line 1: the first line must be \"Windows Registry "
         "Editor Version 5.00\" or \"REGEDIT4\""},
        {h + "HKLM\\A\n",
         "registry.reg, line 3: expected [key], \"name\"=value or @=value, found \"HKLM\\A\""},
        {h + "[HKLM\\A\n", "registry.reg, line 3: key line without its closing ]"},
        {h + "[HKEY_CLASSES_ROOT\\A]\n",
         "registry.reg, line 3: unknown root key \"HKEY_CLASSES_ROOT\" "
         "(HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER)"},
        {h + "[HKLM\\A\\\\B]\n", "registry.reg, line 3: empty key name in \"HKLM\\A\\\\B\""},
        {h + "[HKLM\\" + std::string(256, 'k') + "]\n",
         "registry.reg, line 3: key name longer than 255 characters: "
         "\"kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk...\""},
        {h + "[-HKLM]\n", "registry.reg, line 3: a root key cannot be deleted"},
        {h + "[HKLM\\A\tB]\n", "registry.reg, line 3: control character in key name \"A?B\""},
        {h + "[HKLM" + deep + "]\n", "registry.reg, line 3: key path deeper than 512 levels"},
        {h + "\"v\"=\"1\"\n", "registry.reg, line 3: value line before any [key] line"},
        {h + "[HKLM\\A]\n\"v\"\n", "registry.reg, line 4: expected = after the value name"},
        {h + "[HKLM\\A]\n\"v=\"1\"\n", "registry.reg, line 4: expected = after the value name"},
        {h + "[HKLM\\A]\n\"v\"=\"1\n", "registry.reg, line 4: text without its closing quote: \"\"1\""},
        {h + "[HKLM\\A]\n\"v\"=\"C:\\Windows\"\n",
         "registry.reg, line 4: unknown escape \"\\W\" (write \\\\ for a "
         "backslash)"},
        {h + "[HKLM\\A]\n\"v\"=\"1\" x\n",
         "registry.reg, line 4: unexpected text after the closing quote: \"x\""},
        {h + "[HKLM\\A]\n\"v\"=qword:1\n",
         "registry.reg, line 4: unknown value type \"qword:1\" (expected \"text\", "
         "dword:, hex:, hex(N): or -)"},
        {h + "[HKLM\\A]\n\"v\"=dword:123456789\n",
         "registry.reg, line 4: dword: needs 1 to 8 hexadecimal digits"},
        {h + "[HKLM\\A]\n\"v\"=dword:\n", "registry.reg, line 4: dword: needs 1 to 8 hexadecimal digits"},
        {h + "[HKLM\\A]\n\"v\"=dword:12 34\n",
         "registry.reg, line 4: unexpected text after the dword: \"34\""},
        {h + "[HKLM\\A]\n\"v\"=hex:1,02\n",
         "registry.reg, line 4: odd hex: byte \"1\" needs exactly two digits"},
        {h + "[HKLM\\A]\n\"v\"=hex:01,234\n",
         "registry.reg, line 4: odd hex: byte \"234\" needs exactly two digits"},
        {h + "[HKLM\\A]\n\"v\"=hex:01,zz\n",
         "registry.reg, line 4: expected a hexadecimal byte, found \"zz\""},
        {h + "[HKLM\\A]\n\"v\"=hex:01 02\n",
         "registry.reg, line 4: expected a comma between hex bytes, found \"02\""},
        {h + "[HKLM\\A]\n\"v\"=hex:01,\n", "registry.reg, line 4: hex data ends with a comma"},
        {h + "[HKLM\\A]\n\"v\"=hex:01,\\\n  02,\\\n  0g\n",
         "registry.reg, line 6: odd hex: byte \"0\" needs exactly "
         "two digits"},
        {h + "[HKLM\\A]\n\"v\"=hex:01,\\", "registry.reg, line 4: continuation backslash on the last line"},
        {h + "[HKLM\\A]\n\"v\"=hex(2:00\n",
         "registry.reg, line 4: expected hex(N): with N the type number in "
         "hexadecimal"},
        {h + "[HKLM\\A]\n\"v\"=hex(123456789):00\n",
         "registry.reg, line 4: expected hex(N): with N the type number "
         "in hexadecimal"},
        {h + "[HKLM\\A]\n\"v\"=- x\n", "registry.reg, line 4: unexpected text after =-: \"x\""},
        {h + "[HKLM\\A]\n\"\xC3\x28\"=\"1\"\n", "registry.reg, line 4: not valid UTF-8"},
        {"\xFE\xFF\0W",
         "registry.reg, line 1: UTF-16 big-endian files are not supported; save as UTF-16LE or UTF-8"},
        {"\xEF\xBB\xBFREGEDIT4\n",
         "registry.reg, line 1: a REGEDIT4 file must be 8-bit text, without a byte-order "
         "mark"},
    };
    for (const BadRegistry& bad : cases)
        EXPECT_EQ(errorOf(bad.text), bad.message) << "input: " << bad.text;
}

TEST(RegFile, MessageNamesTheGivenFile)
{
    std::string error;
    EXPECT_FALSE(
        RecordedMachine::parse("junk", "", &error, "machines/x/registry.reg", "machines/x/machine.ini"));
    EXPECT_EQ(
        error,
        "machines/x/registry.reg, line 1: the first line must be \"Windows Registry Editor Version 5.00\" "
        "or \"REGEDIT4\"");
}

}  // namespace
}  // namespace kel
