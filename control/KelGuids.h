// The identifiers of KelIds.h as GUID values for the C++ code.
#pragma once

#include "control/KelIds.h"
#include "control/framework/Guid.h"

namespace kel {

constexpr GUID kLibraryId = com::guidFromText(KEL_UUID_LIBRARY);
constexpr IID kDispatchIid = com::guidFromText(KEL_UUID_DISPATCH);
constexpr IID kEventsIid = com::guidFromText(KEL_UUID_EVENTS);
constexpr CLSID kControlClsid = com::guidFromText(KEL_UUID_CONTROL);
constexpr CLSID kPropPageClsid = com::guidFromText(KEL_UUID_PROPPAGE);

}  // namespace kel
