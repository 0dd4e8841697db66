// The conformance cases against the real registry, into which the Wine test
// bed imported the fixture's registry.reg before the program started. Each
// Wine test runs only the cases of its own fixture.
#include "tests/conformance/RegistryConformance.h"

kel::Platform* conformancePlatform(const std::string&, std::string*) { return &kel::platform(); }
