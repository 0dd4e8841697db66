// The platform of the native flavour when no recorded machine is in force:
// an empty one, with no registry keys and no version record, on which every
// query fails or answers zero.

#include "recorded/RecordedMachine.h"

namespace kel {

Platform& defaultPlatform()
{
    static RecordedMachine empty;
    return empty;
}

}  // namespace kel
