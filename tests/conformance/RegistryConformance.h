// The registry conformance cases run against two backends: the recorded
// machines built from registry.reg here and in cp949/ (in the unit test
// program) and Wine's real registry with the same file imported (a Wine test
// of its own for each, in a locale of the fixture's code page). Each program
// supplies the platform the cases run against.
#pragma once

#include "platform/Platform.h"

#include <string>

// The platform holding the fixture of the directory below tests/conformance
// ("" for the main one); null, with *error saying why, when it cannot be had.
kel::Platform* conformancePlatform(const std::string& fixture, std::string* error);
