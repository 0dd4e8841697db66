#include "control/KelTypeLibrary.h"

#include "control/KelGuids.h"

namespace kel {

com::TypeLibrary& kelTypeLibrary()
{
    static com::TypeLibrary library(kLibraryId, KEL_LIBRARY_MAJOR, KEL_LIBRARY_MINOR, KEL_LIBRARY_LCID);
    return library;
}

}  // namespace kel
