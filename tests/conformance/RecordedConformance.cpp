// The conformance cases against the recorded machines made of this directory
// and its fixture subdirectories, each loaded once.
#include "tests/conformance/RegistryConformance.h"

#include "recorded/RecordedMachine.h"

#include <map>
#include <memory>

namespace {

struct LoadedMachine {
    std::unique_ptr<kel::RecordedMachine> machine;
    std::string error;
};

}  // namespace

kel::Platform* conformancePlatform(const std::string& fixture, std::string* error)
{
    static std::map<std::string, LoadedMachine> machines;
    auto found = machines.find(fixture);
    if (found == machines.end()) {
        std::string directory = KEL_SOURCE_DIR "/tests/conformance";
        if (!fixture.empty())
            directory += "/" + fixture;
        LoadedMachine loaded;
        loaded.machine = kel::RecordedMachine::load(directory, &loaded.error);
        found = machines.emplace(fixture, std::move(loaded)).first;
    }
    *error = found->second.error;
    return found->second.machine.get();
}
