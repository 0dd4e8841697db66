// The inventory in GLPI's native JSON format (glpi-project/inventory_format).
#pragma once

#include "inventory/Inventory.h"

#include <string>

namespace kel {

// versionClient: content.versionclient, the tool's name and version.
std::string glpiInventoryJson(const Inventory& inventory, const std::string& versionClient);

// Text as a JSON string literal, quotes included.
std::string jsonString(const std::string& utf8);

}  // namespace kel
