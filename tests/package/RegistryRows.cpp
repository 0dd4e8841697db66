// kel_registry_rows: prints every Kel key under HKLM\Software\Classes, in
// both registry views, one line per key and one per value:
//
//   KEY
//   KEY<tab>@="DATA"          the default value
//   KEY<tab>"NAME"="DATA"     a named one
//
// Keys are named below Classes, those of the 32-bit view below
// Wow6432Node\, as regedit shows them. One program start for a whole
// snapshot: in the emulated machine each start costs seconds, and regedit's
// export of all classes minutes.
#include "control/KelIds.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

const wchar_t* const kRoots[] = {
    L"CLSID\\{" KEL_UUID_CONTROL "}",
    L"CLSID\\{" KEL_UUID_PROPPAGE "}",
    KEL_PROGID_CONTROL,
    L"TypeLib\\{" KEL_UUID_LIBRARY "}",
    L"Interface\\{" KEL_UUID_DISPATCH "}",
    L"Interface\\{" KEL_UUID_EVENTS "}",
    L"Component Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
    L"Component Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}",
};

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr,
                            nullptr);
    return out;
}

// A value's data as text: strings as they are, anything else by its type.
std::wstring dataText(DWORD type, const BYTE* data, DWORD size)
{
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return L"<type " + std::to_wstring(type) + L">";
    const auto* text = reinterpret_cast<const wchar_t*>(data);
    std::size_t length = size / sizeof(wchar_t);
    while (length > 0 && text[length - 1] == L'\0')
        --length;
    return std::wstring(text, length);
}

void printKey(HKEY parent, const std::wstring& path, const std::wstring& shown, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    std::printf("%s\n", utf8(shown).c_str());
    wchar_t name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        const std::wstring label = nameLength ? L"\"" + std::wstring(name, nameLength) + L"\"" : L"@";
        std::printf("%s\t%s=\"%s\"\n", utf8(shown).c_str(), utf8(label).c_str(),
                    utf8(dataText(type, data, size)).c_str());
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring child(name, nameLength);
        printKey(key, child, shown + L"\\" + child, view);
    }
    RegCloseKey(key);
}

}  // namespace

int main()
{
    HKEY classes = nullptr;
    for (const auto& [view, prefix] : {std::pair<REGSAM, const wchar_t*>{KEY_WOW64_64KEY, L""},
                                       std::pair<REGSAM, const wchar_t*>{KEY_WOW64_32KEY, L"Wow6432Node\\"}}) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_READ | view, &classes) != ERROR_SUCCESS) {
            std::fprintf(stderr, "kel_registry_rows: cannot open HKLM\\Software\\Classes\n");
            return 1;
        }
        for (const wchar_t* root : kRoots)
            printKey(classes, root, std::wstring(prefix) + root, view);
        RegCloseKey(classes);
    }
    return 0;
}
