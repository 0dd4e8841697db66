// The inventory as OCS Inventory NG's agents send it: the XML request with
// the field names the server's own mapping reads.
#pragma once

#include "inventory/Inventory.h"

#include <string>

namespace kel {

std::string ocsInventoryXml(const Inventory& inventory);

// Text as XML character data: the five markup characters escaped, and the
// controls XML 1.0 cannot carry replaced by U+FFFD.
std::string xmlText(const std::string& utf8);

}  // namespace kel
