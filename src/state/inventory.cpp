// The inventory's entries by name.
#include "state/inventory.hpp"

#include <algorithm>

#include "base/arith.hpp"

namespace vesk {

InventoryEntry* Inventory::find(std::string_view name) {
  const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.name() == name; });
  return entry == entries_.end() ? nullptr : &*entry;
}

const InventoryEntry* Inventory::find(std::string_view name) const {
  const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.name() == name; });
  return entry == entries_.end() ? nullptr : &*entry;
}

void Inventory::add(const ItemInstance& item, std::int32_t quantity) {
  if (InventoryEntry* entry = find(item.name())) {
    entry->quantity = wrap_add(entry->quantity, quantity);
  } else {
    entries_.push_back(InventoryEntry{item, quantity});
  }
}

void Inventory::consume_one(std::string_view name) {
  InventoryEntry* entry = find(name);
  if (!entry) return;
  if (entry->quantity > 1) {
    --entry->quantity;
  } else {
    remove(name);
  }
}

void Inventory::remove(std::string_view name) {
  const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.name() == name; });
  if (entry != entries_.end()) entries_.erase(entry);
}

}  // namespace vesk
