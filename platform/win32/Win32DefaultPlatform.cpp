#include "platform/win32/Win32Platform.h"

namespace kel {

// The module's own platform is the real one.
Platform& defaultPlatform()
{
    static Win32Platform real;
    return real;
}

}  // namespace kel
