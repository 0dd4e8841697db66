// package-rows: the registry rows of an installation package, as WiX
// elements, made from the rows the module's own registration writes
// (control/KelClassTable.h), plus what Windows itself writes when the module
// registers: the type library's keys (RegisterTypeLib), the control's
// implemented categories and the categories' definitions (ICatRegister).
// Built for the build machine by scripts/package.
//
//   package-rows module FILE-ID SYSKIND   the values of one module, as WiX
//   package-rows keys FILE-ID SYSKIND     the keys of that module that hold
//                                         no value, as SQL for msibuild
//   package-rows categories               the categories' definitions
//
// FILE-ID is the module's File/@Id and Component/@Id in the package;
// SYSKIND is the key the type library is filed under: win32 or win64. wixl
// writes no key without a value, so such keys are added to the package's
// Registry table afterwards, made with the module and removed with it
// (name "*").
#include "control/KelClassTable.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using kel::com::ClassRegistration;
using kel::com::ClassRow;
using kel::com::ClassValue;

// The platform's categories a browser reads, with the descriptions the
// module registers for them (locale 0x0409, value name "409").
struct Category {
    const char* id;
    const char* description;
};
const Category kCategories[] = {
    {"{7DD95801-9882-11CF-9FA9-00AA006C42C4}", "Controls that are safely scriptable"},
    {"{7DD95802-9882-11CF-9FA9-00AA006C42C4}", "Controls safely initializable from persistent data"},
};

// The interfaces of the type library that RegisterTypeLib files under
// HKCR\Interface: both are dispinterfaces (KelLib.idl), which it gives the
// platform's dispatch proxy.
struct Interface {
    const char* id;
    const char* name;
};
const Interface kInterfaces[] = {
    {"{" KEL_UUID_DISPATCH "}", "_DKel"},
    {"{" KEL_UUID_EVENTS "}", "_DKelEvents"},
};
constexpr const char* kDispatchProxy = "{00020420-0000-0000-C000-000000000046}";

#define KEL_TEXT_(x) #x
#define KEL_TEXT(x) KEL_TEXT_(x)
constexpr const char* kLibraryKey = "TypeLib\\{" KEL_UUID_LIBRARY "}\\" KEL_TEXT(KEL_LIBRARY_MAJOR) "." KEL_TEXT(
    KEL_LIBRARY_MINOR);
constexpr const char* kLibraryVersion = KEL_TEXT(KEL_LIBRARY_MAJOR) "." KEL_TEXT(KEL_LIBRARY_MINOR);
// LIBFLAG_FCONTROL: the library describes a control.
constexpr const char* kLibraryFlags = "2";

// What this run prints: values or the keys without one.
enum class Output { Values, EmptyKeys };
Output output = Output::Values;
std::string component;
int keyCount = 0;

// The table's texts are ASCII: wide to narrow, byte by byte.
std::string narrow(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

// Attribute text: XML's own characters escaped, and the installer's
// formatting brackets too, where a value is plain text.
std::string attribute(const std::string& text, bool formatted)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '[': out += formatted ? "[" : "[\\[]"; break;
        case ']': out += formatted ? "]" : "[\\]]"; break;
        default: out += c;
        }
    }
    return out;
}

void value(const std::string& key, const char* name, const std::string& text, bool formatted = false)
{
    if (output != Output::Values)
        return;
    std::printf("<RegistryValue Root=\"HKCR\" Key=\"%s\"", attribute(key, false).c_str());
    if (name)
        std::printf(" Name=\"%s\"", attribute(name, false).c_str());
    std::printf(" Type=\"string\" Value=\"%s\" />\n", attribute(text, formatted).c_str());
}

// SQL text: quotes doubled. Keys hold no brackets, so nothing else is
// special to the installer's formatting.
std::string sqlText(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += c;
    }
    return out;
}

// A key that holds no value, made with the module and removed with it.
void emptyKey(const std::string& key)
{
    if (output != Output::EmptyKeys)
        return;
    std::printf("INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`) "
                "VALUES ('%s_key%d', 0, '%s', '*', '%s')\n",
                component.c_str(), ++keyCount, sqlText(key).c_str(), component.c_str());
}

// The module's short path, as the registration writes it: [!FILE-ID].
void classRows(const ClassRegistration& registration, const std::string& fileId)
{
    const std::string shortPath = "[!" + fileId + "]";
    for (std::size_t i = 0; i < registration.rowCount; ++i) {
        const ClassRow& row = registration.rows[i];
        const std::string key = narrow(row.key);
        const std::string name = narrow(row.name);
        const char* valueName = row.name ? name.c_str() : nullptr;
        switch (row.kind) {
        case ClassValue::ModulePath:
            value(key, valueName, shortPath, true);
            break;
        case ClassValue::ModuleResource:
            value(key, valueName, shortPath + ", " + narrow(row.text), true);
            break;
        case ClassValue::Text:
        case ClassValue::TypeName:
            // The installer cannot write an empty value: the key alone.
            if (*row.text == L'\0' && !row.name)
                emptyKey(key);
            else
                value(key, valueName, narrow(row.text));
            break;
        }
    }
}

// What RegisterTypeLib writes for the module's library: the library under
// its version, locale and system kind, and each dispinterface.
void typeLibraryRows(const std::string& fileId, const std::string& sysKind)
{
    const std::string library = kLibraryKey;
    value(library, nullptr, KEL_LIBRARY_HELPSTRING);
    value(library + "\\FLAGS", nullptr, kLibraryFlags);
    // Without a help directory it names the module's own folder.
    value(library + "\\HELPDIR", nullptr, "[" + fileId + "_DIR]", true);
    char locale[16];
    std::snprintf(locale, sizeof locale, "%x", KEL_LIBRARY_LCID);
    value(library + "\\" + locale + "\\" + sysKind, nullptr, "[#" + fileId + "]", true);
    for (const Interface& item : kInterfaces) {
        const std::string key = std::string("Interface\\") + item.id;
        value(key, nullptr, item.name);
        value(key + "\\ProxyStubClsid", nullptr, kDispatchProxy);
        value(key + "\\ProxyStubClsid32", nullptr, kDispatchProxy);
        value(key + "\\TypeLib", nullptr, "{" KEL_UUID_LIBRARY "}");
        value(key + "\\TypeLib", "Version", kLibraryVersion);
    }
}

void moduleRows(const std::string& fileId, const std::string& sysKind)
{
    typeLibraryRows(fileId, sysKind);
    classRows(kel::kControlRegistration, fileId);
    classRows(kel::kPropPageRegistration, fileId);
    for (const Category& category : kCategories)
        emptyKey(narrow(kel::kControlRegistration.classKey) + "\\Implemented Categories\\" + category.id);
}

void categoryRows()
{
    for (const Category& category : kCategories)
        value(std::string("Component Categories\\") + category.id, "409", category.description);
}

int usage()
{
    std::fprintf(stderr,
                 "usage: package-rows {module|keys} FILE-ID {win32|win64}\n"
                 "       package-rows categories\n");
    return 64;
}

bool isFileId(const char* text)
{
    return *text && std::strspn(text, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.") ==
                        std::strlen(text);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool module = argc == 4 && std::strcmp(argv[1], "module") == 0;
    const bool keys = argc == 4 && std::strcmp(argv[1], "keys") == 0;
    if ((module || keys) && isFileId(argv[2]) &&
        (std::strcmp(argv[3], "win32") == 0 || std::strcmp(argv[3], "win64") == 0)) {
        output = keys ? Output::EmptyKeys : Output::Values;
        component = argv[2];
        moduleRows(argv[2], argv[3]);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "categories") == 0) {
        categoryRows();
        return 0;
    }
    return usage();
}
