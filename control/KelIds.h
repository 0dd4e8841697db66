// The identifiers of the Kel module, in one place: the type library source,
// the resource script and the C++ code all include this header, so a value
// can never differ between the library a host reads and the code it calls.
// Plain preprocessor definitions only: widl and windres read this file too.
#pragma once

// Fixed once for the product; never change them.
#define KEL_UUID_LIBRARY "C96524B5-E0CA-4336-881D-DAAC501BA08B"
#define KEL_UUID_DISPATCH "D0BB5FDD-D338-423C-8948-D86CB417CC14"
#define KEL_UUID_EVENTS "BF474507-9074-4475-BC53-AE208D3D494F"
#define KEL_UUID_CONTROL "EAC35820-9DD1-4DB7-A351-D93D5409101B"
#define KEL_UUID_PROPPAGE "0948123E-5789-4088-9F11-2E0981963418"

#define KEL_LIBRARY_MAJOR 1
#define KEL_LIBRARY_MINOR 0
#define KEL_LIBRARY_LCID 0x0409
#define KEL_LIBRARY_HELPSTRING "Kel ActiveX Control module"

#define KEL_PROGID_CONTROL L"KEL.KelCtrl.1"

// The type names of the two classes: the string table holds them, and
// installers write them as registration would.
#define KEL_CONTROL_TYPE_NAME "Kel Control"
#define KEL_PROPPAGE_TYPE_NAME "Kel Property Page"

// Dispatch identifiers of _DKel.
#define KEL_DISPID_GETBRIEFINFO 1
#define KEL_DISPID_GETDETAILINFO 2

// Resources: all stored under Korean, the module's original language.
#define KEL_RESOURCE_LANGUAGE 0x0412
#define IDS_KEL_CONTROL_TYPE 1
#define IDS_KEL_PROPPAGE_TYPE 2
#define IDS_KEL_PROPPAGE_CAPTION 200
#define IDB_KEL_TOOLBOX 1
#define IDD_KEL_PROPPAGE 200
#define IDR_KEL_TYPELIB 1

// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
// OLEMISC_RECOMPOSEONRESIZE (0x00020091): what GetMiscStatus answers and
// what the registry's MiscStatus\1 says. Decimal, as the registry writes it.
#define KEL_MISC_STATUS 131217

// The module's version, the one place the version record and the
// installation packages take it from.
#define KEL_VERSION_MAJOR 0
#define KEL_VERSION_MINOR 0
#define KEL_VERSION_BUILD 0
#define KEL_VERSION_REVISION 2

// The version of the persistent state.
#define KEL_STATE_VERSION 0x00010000
