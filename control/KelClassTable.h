// The registry entries each class of the module writes under
// HKEY_CLASSES_ROOT, as data. The module's registration expands these rows
// at run time, and the installation packages are made from the same rows
// (tools/package-rows), so what an installer writes cannot drift from what
// regsvr32 writes. Plain C++ without Windows headers: the packaging tool is
// built for the build machine.
#pragma once

#include "control/KelIds.h"
#include "control/framework/ClassRows.h"

#define KEL_WIDE_TEXT_(x) L## #x
#define KEL_WIDE_TEXT(x) KEL_WIDE_TEXT_(x)

namespace kel {

using com::ClassRegistration;
using com::ClassRow;
using com::ClassValue;

#define KEL_CONTROL_KEY L"CLSID\\{" KEL_UUID_CONTROL "}"
#define KEL_PROPPAGE_KEY L"CLSID\\{" KEL_UUID_PROPPAGE "}"

inline constexpr ClassRow kControlRows[] = {
    {KEL_CONTROL_KEY, nullptr, ClassValue::TypeName, L"" KEL_CONTROL_TYPE_NAME},
    {KEL_CONTROL_KEY L"\\ProgID", nullptr, ClassValue::Text, KEL_PROGID_CONTROL},
    {KEL_CONTROL_KEY L"\\InprocServer32", nullptr, ClassValue::ModulePath, nullptr},
    {KEL_CONTROL_KEY L"\\InprocServer32", L"ThreadingModel", ClassValue::Text, L"Apartment"},
    {KEL_CONTROL_KEY L"\\ToolboxBitmap32", nullptr, ClassValue::ModuleResource, KEL_WIDE_TEXT(IDB_KEL_TOOLBOX)},
    {KEL_CONTROL_KEY L"\\MiscStatus", nullptr, ClassValue::Text, L"0"},
    {KEL_CONTROL_KEY L"\\MiscStatus\\1", nullptr, ClassValue::Text, KEL_WIDE_TEXT(KEL_MISC_STATUS)},
    {KEL_CONTROL_KEY L"\\Control", nullptr, ClassValue::Text, L""},
    {KEL_CONTROL_KEY L"\\TypeLib", nullptr, ClassValue::Text, L"{" KEL_UUID_LIBRARY "}"},
    {KEL_CONTROL_KEY L"\\Version", nullptr, ClassValue::Text,
     KEL_WIDE_TEXT(KEL_LIBRARY_MAJOR) L"." KEL_WIDE_TEXT(KEL_LIBRARY_MINOR)},
    {KEL_PROGID_CONTROL, nullptr, ClassValue::TypeName, L"" KEL_CONTROL_TYPE_NAME},
    {KEL_PROGID_CONTROL L"\\CLSID", nullptr, ClassValue::Text, L"{" KEL_UUID_CONTROL "}"},
};

// No threading model and no ProgID key: the page is only ever created by
// the property frame of the control's own apartment.
inline constexpr ClassRow kPropPageRows[] = {
    {KEL_PROPPAGE_KEY, nullptr, ClassValue::TypeName, L"" KEL_PROPPAGE_TYPE_NAME},
    {KEL_PROPPAGE_KEY L"\\InprocServer32", nullptr, ClassValue::ModulePath, nullptr},
};

inline constexpr ClassRegistration kControlRegistration = {
    KEL_CONTROL_KEY, L"{" KEL_UUID_CONTROL "}", KEL_PROGID_CONTROL, IDS_KEL_CONTROL_TYPE,
    kControlRows, sizeof kControlRows / sizeof kControlRows[0],
};

inline constexpr ClassRegistration kPropPageRegistration = {
    KEL_PROPPAGE_KEY, L"{" KEL_UUID_PROPPAGE "}", nullptr, IDS_KEL_PROPPAGE_TYPE,
    kPropPageRows, sizeof kPropPageRows / sizeof kPropPageRows[0],
};

}  // namespace kel
