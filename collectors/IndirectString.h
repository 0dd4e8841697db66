// The text a person sees for a value that Windows Vista and later store as
// an indirect string, such as "@oem12.inf,%nvidia_dev.1f08%;NVIDIA GeForce
// RTX 2060": the resource reference before the ";" is what the system would
// look up, and the text after it is the fallback it stores beside it.
#pragma once

#include <string>

namespace kel {

// A value that begins with "@" and contains ";" becomes the text after the
// first ";". When that text has the form "FORMAT;(ARG1,ARG2,...)", each "%N"
// of the format is replaced by the Nth argument, N from the last down to 1,
// as plain text. Any other value is returned as it is.
std::string resolvedIndirectString(const std::string& value);

}  // namespace kel
