// A class's registry entries as data: rows a module's registration expands
// at run time and a packaging tool turns into an installer's rows. Plain
// C++ without Windows headers, so that such a tool builds for the build
// machine.
#pragma once

#include <cstddef>

namespace kel::com {

// What a row's value is made of.
enum class ClassValue {
    Text,            // the row's text
    TypeName,        // the class's type name, from the string table; the row's text is what it holds
    ModulePath,      // the module's short path
    ModuleResource,  // the module's short path, ", " and the row's text
};

struct ClassRow {
    const wchar_t* key;   // below HKEY_CLASSES_ROOT
    const wchar_t* name;  // null for the key's default value
    ClassValue kind;
    const wchar_t* text;
};

struct ClassRegistration {
    const wchar_t* classKey;  // CLSID\{...}
    const wchar_t* clsid;     // {...}, the type name when the string table lacks it
    const wchar_t* progId;    // null when the class has no ProgID key
    unsigned typeNameId;      // string resource of the type name
    const ClassRow* rows;
    std::size_t rowCount;
};

}  // namespace kel::com
