// Wine programs: the fixture is the real registry, imported by the test bed
// before the program starts.
#include "tests/devices/FixtureMachine.h"

namespace kel::test {

FixtureMachine::FixtureMachine(const std::string&) : ready_(true) {}

FixtureMachine::~FixtureMachine() = default;

}  // namespace kel::test
