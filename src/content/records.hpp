// World records: the items, enemies and areas that the content files describe.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/lines.hpp"
#include "content/script_code.hpp"

namespace vesk {

// Capacities of the names and texts that records hold.
inline constexpr std::size_t kItemNameCapacity = 511;
inline constexpr std::size_t kEnemyNameCapacity = 255;
inline constexpr std::size_t kAttributeCapacity = 126;
inline constexpr std::size_t kAttackTextCapacity = 127;
inline constexpr std::size_t kLootLineCapacity = 126;

// An item kind, as its item file describes it. The items lying in areas and
// carried by the player are instances in the play state that refer to it.
struct Item {
  std::string name;
  bool is_weapon = false;
  std::int32_t min_damage = 0;
  std::int32_t max_damage = 0;
  std::int32_t hit_chance = 0;
  bool is_lamp = false;
  bool is_definite = false;
  Lines attributes;
  Script use_scripts{Script::Form::kUse};
  std::int32_t ammo_capacity = 99;
  std::int32_t water_use = 0;  // 0 dry land only, 1 water only, 2 everywhere
  bool supplies_air = false;
  bool is_melee = false;
  bool is_armor = false;
};

// One of an enemy's attacks: "claws at you 1 4 50".
struct Attack {
  std::string_view text;
  std::int32_t min_damage = 0;
  std::int32_t max_damage = 0;
  std::int32_t hit_chance = 0;
};

// An enemy's attacks, their texts held as one text: an enemy file may hold
// millions of attack lines, and a string for each would cost several times the
// file. A text is at most kAttackTextCapacity characters and a content file is
// far smaller than 4 GiB, so 32 bits place it.
class Attacks {
 public:
  Attacks() = default;
  Attacks(std::initializer_list<Attack> attacks) {
    for (const Attack& attack : attacks) push_back(attack);
  }

  std::size_t size() const { return attacks_.size(); }
  bool empty() const { return attacks_.empty(); }
  Attack operator[](std::size_t index) const {
    const Stored& stored = attacks_[index];
    return Attack{std::string_view(texts_).substr(stored.text_start, stored.text_size), stored.min_damage,
                  stored.max_damage, stored.hit_chance};
  }
  void reserve(std::size_t attacks) { attacks_.reserve(attacks); }
  void push_back(const Attack& attack) {
    attacks_.push_back(Stored{static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint16_t>(attack.text.size()),
                              attack.min_damage, attack.max_damage, attack.hit_chance});
    texts_ += attack.text;
  }

 private:
  struct Stored {
    std::uint32_t text_start = 0;
    std::uint16_t text_size = 0;
    std::int32_t min_damage = 0;
    std::int32_t max_damage = 0;
    std::int32_t hit_chance = 0;
  };
  std::string texts_;
  std::vector<Stored> attacks_;
};

struct EnemyAttribute {
  std::string name;
  double factor = 1.0;
};

// An enemy kind, as its enemy file describes it. The enemies that stand in
// areas are instances in the play state that refer to it.
struct Enemy {
  std::string name;
  std::string shown_name;   // the display name, worked out once when loaded
  std::int32_t health = 0;  // what a newcomer starts with
  Attacks attacks;
  Lines loot;
  std::vector<EnemyAttribute> attributes;
  bool grapples = false;
};

// The four lists of a path or an action: conditions for listing it, conditions
// for taking it, and the scripts run when those hold or fail.
struct Choice {
  std::string label;
  SourcePos source;  // the line that names the path or action
  Conditions show_conditions;
  Conditions use_conditions;
  Script success_scripts;
  Script failure_scripts;
};

struct Path : Choice {
  std::int32_t target_area = 0;
  std::int32_t travel_time = 0;
};

struct Action : Choice {};

// An item that an area file lays in its area, on a spot in a subdivided one.
struct PlacedItem {
  const Item* item = nullptr;
  std::int32_t spot = 0;
};

// An enemy kind that may appear in an area by chance; in a subdivided area
// only on the spots first, first + step, ... below the end spot.
struct EnemyKind {
  const Enemy* enemy = nullptr;
  std::int32_t chance = 0;
  std::int32_t first_spot = -1;
  std::int32_t end_spot = -1;
  std::int32_t spot_step = -1;
};

struct AmmoPile {
  std::size_t weapon = 0;  // index into the ammunition table
  std::int32_t amount = 0;
  std::int32_t spot = 0;
};

// Exits of one spot by direction 0 to 3: above 0 a spot of the same area,
// below 0 minus an area number, 0 no exit.
using SpotExits = std::array<std::int32_t, 4>;

// The exits of the spots of a subdivided area by spot number from 1. A spot
// number may be anything up to the 32-bit maximum, so only the rows that were
// written are held; a row never written has four 0 exits.
class SpotTable {
 public:
  SpotTable() = default;
  // Rows 1, 2, ... in order.
  SpotTable(std::initializer_list<SpotExits> rows) {
    std::int32_t spot = 0;
    for (const SpotExits& exits : rows) write(++spot, exits);
  }

  // The rows the table spans: up to the highest row ever written.
  std::size_t size() const { return spanned_; }

  const SpotExits& row(std::int32_t spot) const {
    static const SpotExits kNoExits{};
    const auto found = rows_.find(spot);
    return found == rows_.end() ? kNoExits : found->second;
  }
  void write(std::int32_t spot, const SpotExits& exits) {
    rows_[spot] = exits;
    if (spot > 0) spanned_ = std::max(spanned_, static_cast<std::size_t>(spot));
  }
  // The rows written, by spot number: tools walk these, never every number up
  // to the count, which may be in the billions.
  const std::map<std::int32_t, SpotExits>& written() const { return rows_; }
  // Rows `first` to `last` lose their exits.
  void clear(std::int32_t first, std::int32_t last) {
    if (first <= last) rows_.erase(rows_.lower_bound(first), rows_.upper_bound(last));
  }

  // The first spot from 1 to `last` with an exit of `value`, with the first
  // such direction. It looks at the written rows only, and for the value 0 at
  // the first gap between them, a row with four 0 exits.
  std::optional<std::pair<std::int32_t, std::int32_t>> find_exit(std::int32_t value, std::int32_t last) const {
    std::int64_t unseen = 1;  // the lowest spot not looked at yet
    for (auto it = rows_.lower_bound(1); it != rows_.end() && it->first <= last; ++it) {
      if (value == 0 && it->first > unseen) break;
      for (std::int32_t direction = 0; direction < 4; ++direction) {
        if (it->second[static_cast<std::size_t>(direction)] == value) return std::pair{it->first, direction};
      }
      unseen = std::int64_t{it->first} + 1;
    }
    if (value == 0 && unseen <= last) return std::pair{static_cast<std::int32_t>(unseen), 0};
    return std::nullopt;
  }

 private:
  std::map<std::int32_t, SpotExits> rows_;
  std::size_t spanned_ = 0;
};

// An area as its file describes it. What changes in play (the items lying
// there, the enemies present, the ammunition piles, whether it was seen) is
// the play state's; the piles and items here are what the area starts with.
struct Area {
  TextLines long_description;
  TextLines short_description;
  std::vector<Path> paths;
  std::vector<Action> actions;
  std::vector<PlacedItem> items;
  std::vector<EnemyKind> enemy_kinds;
  std::vector<AmmoPile> ammo_piles;
  SpotTable spot_exits;  // may span more rows than spot_count
  std::int32_t spot_count = 0;
  bool is_subdivided = false;
  bool is_dark = false;
  Conditions item_conditions;
  Script turn_scripts;
  Script drop_scripts;
  std::int32_t water_level = 0;  // 0 dry, 1 surface water, 2 under water

  bool has_spot(std::int32_t spot) const {
    return spot >= 1 && spot <= spot_count && static_cast<std::size_t>(spot) <= spot_exits.size();
  }
  // The exit of `spot` in `direction`, 0 where the spot or direction does not exist.
  std::int32_t exit_of(std::int32_t spot, std::int32_t direction) const {
    if (!has_spot(spot) || direction < 0 || direction > 3) return 0;
    return spot_exits.row(spot)[static_cast<std::size_t>(direction)];
  }
};

// The name shown to the player: the enemy's name without a last word that is an
// integer ("rat 2" shows as "rat").
std::string display_name(const std::string& enemy_name);

}  // namespace vesk
