// Reports of this machine taken at different times differ where the figures
// honestly change; tests compare what stays.
#pragma once

#include <string>

namespace kel::test {

// The report with the measured clock and the figures of the Disks list
// (free space) masked.
std::wstring steadyPart(const std::wstring& report);

}  // namespace kel::test
