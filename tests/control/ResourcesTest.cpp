// The module's resources, read back the way Windows reads them: every one
// under Korean (0x0412) only, with the contents the product fixes.
#include "tests/control/ControlSupport.h"

#include <cstring>
#include <iterator>
#include <vector>

namespace kel::test {
namespace {

constexpr WORD kKorean = 0x0412;
constexpr WORD kEnglish = 0x0409;

const void* resource(const wchar_t* type, WORD id, WORD language, DWORD* size = nullptr)
{
    HRSRC found = FindResourceExW(kelModule(), type, MAKEINTRESOURCEW(id), language);
    if (!found)
        return nullptr;
    if (size)
        *size = SizeofResource(kelModule(), found);
    return LockResource(LoadResource(kelModule(), found));
}

std::wstring loadString(UINT id)
{
    wchar_t text[128] = {};
    const int length = LoadStringW(kelModule(), id, text, std::size(text));
    return std::wstring(text, length);
}

TEST(Resources, EveryResourceIsKoreanOnly)
{
    struct Item {
        const wchar_t* type;
        WORD id;
        const char* what;
    };
    const Item items[] = {
        {MAKEINTRESOURCEW(6), 1, "strings 1 and 2"}, {MAKEINTRESOURCEW(6), 13, "string 200"},
        {MAKEINTRESOURCEW(2), 1, "bitmap 1"},        {MAKEINTRESOURCEW(5), 200, "dialog 200"},
        {L"TYPELIB", 1, "type library 1"},           {MAKEINTRESOURCEW(16), 1, "version record"},
    };
    for (const Item& item : items) {
        EXPECT_NE(nullptr, resource(item.type, item.id, kKorean)) << item.what;
        EXPECT_EQ(nullptr, resource(item.type, item.id, kEnglish)) << item.what << " in English too";
    }
}

TEST(Resources, Strings)
{
    EXPECT_EQ(L"Kel Control", loadString(1));
    EXPECT_EQ(L"Kel Property Page", loadString(2));
    EXPECT_EQ(L"General", loadString(200));
}

TEST(Resources, ToolboxBitmapIs16By15InSixteenColours)
{
    const auto* header = static_cast<const BITMAPINFOHEADER*>(resource(MAKEINTRESOURCEW(2), 1, kKorean));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(16, header->biWidth);
    EXPECT_EQ(15, header->biHeight);
    EXPECT_EQ(4, header->biBitCount);
}

TEST(Resources, PropertyPageDialog)
{
    const auto* dialog = static_cast<const DLGTEMPLATE*>(resource(MAKEINTRESOURCEW(5), 200, kKorean));
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(DWORD(DS_SETFONT | WS_CHILD), dialog->style & ~DWORD(WS_VISIBLE));
    EXPECT_EQ(0, dialog->x);
    EXPECT_EQ(0, dialog->y);
    EXPECT_EQ(250, dialog->cx);
    EXPECT_EQ(62, dialog->cy);
    EXPECT_EQ(1, dialog->cdit);
    // Menu, class and title, each an empty string; then the font.
    const auto* words = reinterpret_cast<const WORD*>(dialog + 1);
    EXPECT_EQ(0, words[0]) << "no menu";
    EXPECT_EQ(0, words[1]) << "the standard dialog class";
    EXPECT_EQ(0, words[2]) << "no title";
    EXPECT_EQ(8, words[3]) << "8 points";
    const auto* face = reinterpret_cast<const wchar_t*>(words + 4);
    EXPECT_STREQ(L"MS Sans Serif", face);
    const auto* after = reinterpret_cast<const BYTE*>(face + std::wcslen(face) + 1);
    const auto* item =
        reinterpret_cast<const DLGITEMTEMPLATE*>((reinterpret_cast<ULONG_PTR>(after) + 3) & ~ULONG_PTR(3));
    EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT), item->style);
    EXPECT_EQ(7, item->x);
    EXPECT_EQ(25, item->y);
    EXPECT_EQ(229, item->cx);
    EXPECT_EQ(16, item->cy);
    EXPECT_EQ(0xFFFF, item->id) << "no identifier";
    const auto* itemWords = reinterpret_cast<const WORD*>(item + 1);
    EXPECT_EQ(0xFFFF, itemWords[0]);
    EXPECT_EQ(0x0082, itemWords[1]) << "a static control";
    EXPECT_STREQ(L"TODO: Place controls to manipulate properties of Kel Control on this dialog.",
                 reinterpret_cast<const wchar_t*>(itemWords + 2));
}

std::wstring versionString(const BYTE* info, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueW(info, path.c_str(), &value, &length))
        return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(value),
                        wcsnlen(static_cast<const wchar_t*>(value), length));
}

TEST(Resources, VersionRecordWithEveryEntry)
{
    const std::wstring path = modulePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0u, fixed->dwFileVersionMS);
    EXPECT_EQ(2u, fixed->dwFileVersionLS);
    EXPECT_EQ(0u, fixed->dwProductVersionMS);
    EXPECT_EQ(2u, fixed->dwProductVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length) << "one translation";
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    EXPECT_EQ(L"0, 0, 0, 2", versionString(info.data(), L"FileVersion"));
    EXPECT_EQ(L"0, 0, 0, 2", versionString(info.data(), L"ProductVersion"));
    EXPECT_EQ(L"Kel ActiveX Control Module", versionString(info.data(), L"FileDescription"));
    EXPECT_EQ(L"Kel ActiveX Control Module", versionString(info.data(), L"ProductName"));
    EXPECT_EQ(L"Kel", versionString(info.data(), L"InternalName"));
    EXPECT_EQ(L"Kel.OCX", versionString(info.data(), L"OriginalFilename"));
    EXPECT_EQ(L"", versionString(info.data(), L"OLESelfRegister")) << "present and empty";
}

}  // namespace
}  // namespace kel::test
