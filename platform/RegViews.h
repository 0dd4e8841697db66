// Machine keys that 64-bit Windows keeps apart for 32-bit and 64-bit
// programs. Reading only the module's own view would silently miss the
// programs and start-up entries of the other kind, so both views are read.
#pragma once

#include "platform/RegKey.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kel {

// Opens PATH below HKEY_LOCAL_MACHINE with ACCESS and hands each open key to
// VISIT with the view bits that subkeys of it must be opened with, and
// whether the key is one of two kept apart for the views. On 32-bit Windows
// that is the one key, with no view bits, not apart. On 64-bit Windows it is
// the module's own view first, then the other view, unless both views open
// the very same key (one that is not redirected, which is then visited once,
// not apart). Keys are never merged by what they hold.
void forEachMachineView(const std::string& path, uint32_t access,
                        const std::function<void(const RegKey& key, uint32_t view, bool apart)>& visit);

// Hands VISIT the name of each subkey of KEY, in the registry's order; a
// subkey whose name cannot be read is passed over.
void forEachSubKeyName(const RegKey& key, const std::function<void(const char* name)>& visit);

}  // namespace kel
