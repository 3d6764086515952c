// The play state of the areas: the items lying in each, the enemies present,
// the ammunition piles and whether the area was seen. Each thing refers to its
// kind in the world, which never changes, so a copy of a game copies only these.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/records.hpp"

namespace vesk {

// The most enemies that can stand in one area at once; arrivals and placements
// beyond it do not happen, so that a runaway script loop cannot stall the game.
inline constexpr std::size_t kMaxLiveEnemies = 10000;

// The values that conditions read as vi1, vi2 and vi3.
using ItemVariables = std::array<std::int32_t, 3>;

// An item lying in an area or carried: its kind and what this piece carries.
struct ItemInstance {
  const Item* kind = nullptr;
  std::int32_t spot = 0;             // in a subdivided area, the spot it lies on
  std::int32_t instance_number = 0;  // its number among the items of its name
  ItemVariables item_variables{};

  const std::string& name() const { return kind->name; }
};

// An enemy standing in an area.
struct LiveEnemy {
  const Enemy* kind = nullptr;
  std::int32_t health = 0;
  bool ready = false;
  std::int32_t instance_number = 0;  // its number among the enemies of its display name
  std::int32_t spot = -1;            // in a subdivided area, the spot it stands on
  bool is_definite = false;          // placed by ";": named with "The", never counted or escaped
  bool is_persistent = false;        // placed by a script: stays when the player leaves

  // A newcomer of `kind`, with the health its file gives.
  static LiveEnemy of(const Enemy& kind) { return LiveEnemy{&kind, kind.health}; }
  const std::string& shown_name() const { return kind->shown_name; }
};

// The things in an area (items lying there, enemies standing there), with how
// many of each name there are kept as they come and go, so that numbering a
// newcomer does not count them all: a script may place thousands of enemies in
// one pass, and a player may drop thousands of pieces. Items count by their
// name and enemies by the name the player sees. A thing's name never changes,
// so the things may be changed in place; only coming and going is done
// through the list.
template <typename Thing, const std::string& (Thing::*kName)() const>
class CountedList {
 public:
  using iterator = typename std::vector<Thing>::iterator;
  using const_iterator = typename std::vector<Thing>::const_iterator;

  std::size_t size() const { return things_.size(); }
  bool empty() const { return things_.empty(); }
  Thing& operator[](std::size_t index) { return things_[index]; }
  const Thing& operator[](std::size_t index) const { return things_[index]; }
  iterator begin() { return things_.begin(); }
  iterator end() { return things_.end(); }
  const_iterator begin() const { return things_.begin(); }
  const_iterator end() const { return things_.end(); }
  std::span<Thing> all() { return things_; }
  std::span<const Thing> all() const { return things_; }

  // How many things of this name there are.
  std::int32_t count_named(std::string_view name) const {
    const auto found = counts_.find(name);
    return found == counts_.end() ? 0 : found->second;
  }

  // Whether the things of each name are known to be numbered 1, 2, ... in the
  // order they stand, as numbering by name leaves them. A newcomer numbered
  // one past the others of its name keeps that; any other, and any leaving,
  // loses it until the numbering rules renumber the list and say so.
  bool numbered_in_order() const { return numbered_in_order_; }
  void set_numbered_in_order(bool in_order) { numbered_in_order_ = in_order; }

  void reserve(std::size_t count) { things_.reserve(count); }
  Thing& push_back(const Thing& thing) {
    const std::int32_t count = ++counts_[(thing.*kName)()];
    if (thing.instance_number != count) numbered_in_order_ = false;
    return things_.emplace_back(thing);
  }
  void erase(std::size_t index) {
    numbered_in_order_ = false;
    uncount(things_[index]);
    things_.erase(things_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  template <typename Leaves>
  void erase_if(Leaves leaves) {
    numbered_in_order_ = false;
    std::erase_if(things_, [&](const Thing& thing) {
      if (!leaves(thing)) return false;
      uncount(thing);
      return true;
    });
  }
  void clear() {
    things_.clear();
    counts_.clear();
    numbered_in_order_ = true;
  }

 private:
  void uncount(const Thing& thing) {
    const auto found = counts_.find((thing.*kName)());
    if (found != counts_.end() && --found->second <= 0) counts_.erase(found);
  }

  std::vector<Thing> things_;
  std::map<std::string, std::int32_t, std::less<>> counts_;
  bool numbered_in_order_ = true;
};

using AreaItems = CountedList<ItemInstance, &ItemInstance::name>;
using LiveEnemies = CountedList<LiveEnemy, &LiveEnemy::shown_name>;

// What changes in one area as the game is played.
struct AreaState {
  AreaItems items;
  LiveEnemies live_enemies;
  std::vector<AmmoPile> ammo_piles;
  bool visited = false;
};

// The play state of every area. An area's state is laid out from its
// definition the first time play needs it, so that an area never entered costs
// nothing, the same way as the world works areas out.
class AreaStates {
 public:
  AreaStates() = default;
  explicit AreaStates(std::size_t count) : states_(count) {}

  std::size_t size() const { return states_.size(); }
  // The state of area `index`, laid out from `area`, its definition, if it is
  // not yet.
  AreaState& at(std::size_t index, const Area& area) {
    Entry& entry = states_[index];
    if (!entry.laid_out) lay_out(entry, area);
    return entry.state;
  }
  // The state of area `index` if it is laid out. One that is not has never
  // been entered or looked at, so nothing has changed there.
  const AreaState* if_laid_out(std::size_t index) const {
    return states_[index].laid_out ? &states_[index].state : nullptr;
  }
  AreaState* if_laid_out(std::size_t index) { return states_[index].laid_out ? &states_[index].state : nullptr; }

 private:
  struct Entry {
    AreaState state;
    bool laid_out = false;
  };
  static void lay_out(Entry& entry, const Area& area);

  std::vector<Entry> states_;
};

}  // namespace vesk
