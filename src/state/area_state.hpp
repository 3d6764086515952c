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

// The enemies that stand in an area, with how many of each display name stand
// there kept as they come and go, so that numbering a newcomer does not count
// them all: a script may place thousands in one pass. An enemy's name never
// changes, so the enemies may be changed in place; only coming and going is
// done through the list.
class LiveEnemies {
 public:
  using iterator = std::vector<LiveEnemy>::iterator;
  using const_iterator = std::vector<LiveEnemy>::const_iterator;

  std::size_t size() const { return enemies_.size(); }
  bool empty() const { return enemies_.empty(); }
  LiveEnemy& operator[](std::size_t index) { return enemies_[index]; }
  const LiveEnemy& operator[](std::size_t index) const { return enemies_[index]; }
  iterator begin() { return enemies_.begin(); }
  iterator end() { return enemies_.end(); }
  const_iterator begin() const { return enemies_.begin(); }
  const_iterator end() const { return enemies_.end(); }
  std::span<LiveEnemy> all() { return enemies_; }
  std::span<const LiveEnemy> all() const { return enemies_; }

  // How many enemies with this display name stand there.
  std::int32_t count_named(std::string_view shown_name) const {
    const auto found = counts_.find(shown_name);
    return found == counts_.end() ? 0 : found->second;
  }

  LiveEnemy& push_back(const LiveEnemy& enemy) {
    ++counts_[enemy.shown_name()];
    return enemies_.emplace_back(enemy);
  }
  void erase(std::size_t index) {
    uncount(enemies_[index]);
    enemies_.erase(enemies_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  template <typename Leaves>
  void erase_if(Leaves leaves) {
    std::erase_if(enemies_, [&](const LiveEnemy& enemy) {
      if (!leaves(enemy)) return false;
      uncount(enemy);
      return true;
    });
  }
  void clear() {
    enemies_.clear();
    counts_.clear();
  }

 private:
  void uncount(const LiveEnemy& enemy) {
    const auto found = counts_.find(enemy.shown_name());
    if (found != counts_.end() && --found->second <= 0) counts_.erase(found);
  }

  std::vector<LiveEnemy> enemies_;
  std::map<std::string, std::int32_t, std::less<>> counts_;  // by display name
};

// What changes in one area as the game is played.
struct AreaState {
  std::vector<ItemInstance> items;
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
