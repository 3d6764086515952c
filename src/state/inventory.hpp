// The inventory: the items the player carries, each name once with a quantity.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/area_state.hpp"

namespace vesk {

// A carried entry: the piece that was taken (its kind, and the spot, number
// and item variables it had, which a drop lays down again) and how many.
struct InventoryEntry {
  ItemInstance item;
  std::int32_t quantity = 0;

  const Item& kind() const { return *item.kind; }
  const std::string& name() const { return item.name(); }
};

class Inventory {
 public:
  using Entries = std::vector<InventoryEntry>;

  // The carried entry named `name`, or nullptr.
  InventoryEntry* find(std::string_view name);
  const InventoryEntry* find(std::string_view name) const;
  bool holds(std::string_view name) const { return find(name) != nullptr; }

  // Adds `quantity` to the entry of the item's name, or appends a new entry
  // for this piece.
  void add(const ItemInstance& item, std::int32_t quantity);
  // The same for a new piece of `kind`.
  void add(const Item& kind, std::int32_t quantity) { add(ItemInstance{&kind}, quantity); }
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
