// The firmware: the BIOS and the system as SMBIOS describes them, where the
// platform hands out the raw table. For the inventory formats only.
#pragma once

#include "collectors/SmbiosTable.h"

namespace kel {

class FirmwareInfo {
public:
    void setFirmwareInfo();

    // False when the platform gave no table; the facts are then all empty.
    bool hasTable() const { return hasTable_; }
    const SmbiosFacts& facts() const { return facts_; }

private:
    bool hasTable_ = false;
    SmbiosFacts facts_;
};

}  // namespace kel
