// The registry conformance cases run against two backends: the recorded
// machine built from registry.reg (in the unit test program) and Wine's real
// registry with the same file imported (a Wine test of its own). Each program
// supplies the platform the cases run against.
#pragma once

#include "platform/Platform.h"

#include <string>

// The platform holding the fixture; null, with *error saying why, when it
// cannot be had.
kel::Platform* conformancePlatform(std::string* error);
