// The inventory: the items the player carries, each with a quantity.
#pragma once

#include <cstdint>
#include <vector>

#include "content/records.hpp"

namespace vesk {

struct InventoryEntry {
  Item item;
  std::int32_t quantity = 0;
};

using Inventory = std::vector<InventoryEntry>;

}  // namespace vesk
