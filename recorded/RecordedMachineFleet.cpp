// The recorded machine's names, adapters and firmware table, answered with
// the buffer rules of the calls they stand for.
#include "recorded/RecordedMachine.h"

#include <cstring>

namespace kel {

namespace {

// Copies a name and its NUL when they fit in *size bytes; otherwise sets
// *size to the bytes needed, as both name queries do.
bool copyName(const std::string& text, char* name, uint32_t* size)
{
    if (!size)
        return false;
    const uint32_t needed = static_cast<uint32_t>(text.size() + 1);
    if (!name || *size < needed) {
        *size = needed;
        return false;
    }
    std::memcpy(name, text.c_str(), needed);
    return true;
}

}  // namespace

bool RecordedMachine::getComputerName(char* name, uint32_t* size)
{
    const IdentityFacts& identity = facts_->identity;
    if (!identity.hasComputerName || !copyName(identity.computerName, name, size))
        return false;
    *size = static_cast<uint32_t>(identity.computerName.size());  // without the NUL
    return true;
}

bool RecordedMachine::getUserName(char* name, uint32_t* size)
{
    const IdentityFacts& identity = facts_->identity;
    return identity.hasUserName && copyName(identity.userName, name, size);  // the NUL counted
}

bool RecordedMachine::getJoinInformation(std::string* name, JoinStatus* status)
{
    const IdentityFacts& identity = facts_->identity;
    if (!identity.hasJoin)
        return false;
    *name = identity.joinName;
    *status = identity.joinStatus;
    return true;
}

uint32_t RecordedMachine::getAdaptersInfo(std::vector<AdapterRecord>* adapters)
{
    adapters->clear();
    if (facts_->adaptersResult == kAdaptersSuccess)
        *adapters = facts_->adapters;
    return facts_->adaptersResult;
}

uint32_t RecordedMachine::getSystemFirmwareTable(uint32_t provider, uint32_t tableId, uint8_t* buffer,
                                                 uint32_t size)
{
    const std::vector<uint8_t>& table = facts_->smbiosTable;
    if (provider != kFirmwareRawSmbios || tableId != 0 || table.empty())
        return 0;
    const uint32_t needed = static_cast<uint32_t>(table.size());
    if (buffer && size >= needed)
        std::memcpy(buffer, table.data(), needed);
    return needed;
}

}  // namespace kel
