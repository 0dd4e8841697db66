// The conformance cases against the recorded machine made of this directory.
#include "tests/conformance/RegistryConformance.h"

#include "platform/recorded/RecordedMachine.h"

#include <memory>

kel::Platform* conformancePlatform(std::string* error)
{
    static std::string loadError;
    static std::unique_ptr<kel::RecordedMachine> machine =
        kel::RecordedMachine::load(KEL_SOURCE_DIR "/tests/conformance", &loadError);
    *error = loadError;
    return machine.get();
}
