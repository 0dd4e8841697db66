#include "collectors/FirmwareInfo.h"

#include "platform/Platform.h"

#include <vector>

namespace kel {

namespace {

// No firmware's table comes near this; a platform that claims more is not
// believed.
constexpr uint32_t kLargestTable = 1u << 20;

}  // namespace

void FirmwareInfo::setFirmwareInfo()
{
    const uint32_t needed = platform().getSystemFirmwareTable(kFirmwareRawSmbios, 0, nullptr, 0);
    if (needed == 0 || needed > kLargestTable)
        return;
    std::vector<uint8_t> table(needed);
    const uint32_t written = platform().getSystemFirmwareTable(kFirmwareRawSmbios, 0, table.data(), needed);
    if (written == 0 || written > needed)
        return;
    hasTable_ = parseSmbiosTable(table.data(), written, &facts_);
}

}  // namespace kel
