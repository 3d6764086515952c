// The inventory: the items the player carries, each name once with a quantity.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "content/records.hpp"

namespace vesk {

struct InventoryEntry {
  Item item;
  std::int32_t quantity = 0;
};

class Inventory {
 public:
  using Entries = std::vector<InventoryEntry>;

  // The carried entry named `name`, or nullptr.
  InventoryEntry* find(std::string_view name);
  const InventoryEntry* find(std::string_view name) const;
  bool holds(std::string_view name) const { return find(name) != nullptr; }

  // Adds `quantity` to the entry of the item's name, or appends a new entry.
  void add(const Item& item, std::int32_t quantity);
  // One piece of the entry named `name` is used up; the entry goes with the last.
  void consume_one(std::string_view name);
  // The whole entry named `name` goes.
  void remove(std::string_view name);
  void clear() { entries_.clear(); }

  const Entries& entries() const { return entries_; }
  Entries& entries() { return entries_; }
  Entries::const_iterator begin() const { return entries_.begin(); }
  Entries::const_iterator end() const { return entries_.end(); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  Entries entries_;
};

}  // namespace vesk
