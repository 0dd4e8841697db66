// The identity area of the platform seam: the computer's and the user's
// names (kernel32, advapi32) and the workgroup or domain the computer is
// joined to (netapi32, looked up at run time).
#pragma once

#include <cstdint>
#include <string>

namespace kel {

// The platform's limits: a NetBIOS computer name and a user name.
constexpr uint32_t kComputerNameLength = 15;
constexpr uint32_t kUserNameLength = 256;

// What NetGetJoinInformation tells of the computer.
enum class JoinStatus : uint32_t { Unknown = 0, Unjoined = 1, Workgroup = 2, Domain = 3 };

class PlatformIdentity {
public:
    virtual ~PlatformIdentity() = default;

    // GetComputerNameA: *size is the buffer's size in bytes on entry; on
    // success the name's length without its NUL, on failure the size the
    // name needs with its NUL.
    virtual bool getComputerName(char* name, uint32_t* size) = 0;
    // GetUserNameA: *size in bytes, on entry the buffer's, on return the
    // name's with its NUL (success) or the size needed (failure).
    virtual bool getUserName(char* name, uint32_t* size) = 0;
    // The workgroup or domain name in the machine's code page; false when
    // the platform cannot tell (no netapi32 export, or the query fails).
    virtual bool getJoinInformation(std::string* name, JoinStatus* status) = 0;
};

}  // namespace kel
