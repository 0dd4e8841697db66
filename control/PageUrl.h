// The URL of the page a control's site belongs to, as the hosts tell it.
#pragma once

#include <unknwn.h>

#include <string>

namespace kel {

// The URL that site names: the browser's location through the site's
// service provider, else the display name of its container's moniker (the
// document's URL in a browser). Empty when the site is null or names none.
// Throws std::bad_alloc.
std::u16string pageUrlOf(IUnknown* site);

}  // namespace kel
