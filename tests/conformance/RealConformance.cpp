// The conformance cases against the real registry, into which the Wine test
// bed imported registry.reg before the program started.
#include "tests/conformance/RegistryConformance.h"

kel::Platform* conformancePlatform(std::string*)
{
    return &kel::platform();
}
