// The module's one type library, KELLib 1.0.
#pragma once

#include "control/framework/TypeLibrary.h"

namespace kel {

com::TypeLibrary& kelTypeLibrary();

}  // namespace kel
