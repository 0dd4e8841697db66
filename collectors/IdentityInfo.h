// What names the PC: its computer name, the user taking the inventory and
// the workgroup or domain it is joined to. For the inventory formats only.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace kel {

class IdentityInfo {
public:
    void setIdentityInfo();

    // Empty when the platform could not tell.
    const std::string& computerName() const { return computerName_; }
    const std::string& userName() const { return userName_; }
    const std::string& joinName() const { return joinName_; }
    JoinStatus joinStatus() const { return joinStatus_; }

private:
    std::string computerName_;
    std::string userName_;
    std::string joinName_;
    JoinStatus joinStatus_ = JoinStatus::Unknown;
};

}  // namespace kel
