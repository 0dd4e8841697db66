// Sends an OCS inventory to an OCS Inventory server as its agents do: the
// PROLOG request, then the INVENTORY, each zlib-compressed.
#pragma once

#include <string>

namespace kel {

// The exit statuses of a sending, which kelreport's --help lists.
enum SendStatus {
    kSent = 0,
    kOutOfMemory = 1,
    kBadInventory = 2,
    kNoWinHttp = 3,
    kNameNotResolved = 4,
    kCannotConnect = 5,
    kTimedOut = 6,
    kCertificateNotTrusted = 7,
    kHttpError = 8,
    kNotOcsReply = 9,
    kDeclined = 10,
    kBadUrl = 64,
};

struct SendOutcome {
    SendStatus status;
    std::string message;  // what happened, for a person; empty when sent
};

// The User-Agent the server must list (docs/fleet.md).
extern const wchar_t kUserAgent[];

// Sends the inventory (an OCS XML REQUEST, UTF-8, whose DEVICEID names the
// machine) to the server's URL, waiting at most timeoutSeconds for each step.
SendOutcome sendOcsInventory(const std::string& url, const std::string& inventoryXml, unsigned timeoutSeconds);

}  // namespace kel
