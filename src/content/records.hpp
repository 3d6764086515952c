// World records: the items, enemies and areas that the content files describe.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/script_code.hpp"

namespace vesk {

// Capacities of the names and texts that records hold.
inline constexpr std::size_t kItemNameCapacity = 511;
inline constexpr std::size_t kEnemyNameCapacity = 255;
inline constexpr std::size_t kAttributeCapacity = 126;
inline constexpr std::size_t kAttackTextCapacity = 127;
inline constexpr std::size_t kLootLineCapacity = 126;

// The most enemies that can stand in one area at once; arrivals and placements
// beyond it do not happen, so that a runaway script loop cannot stall the game.
inline constexpr std::size_t kMaxLiveEnemies = 10000;

using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

// A list that never changes once its content file is loaded, shared by every
// copy of the record that holds it. Area items, inventory entries, enemy kinds
// and live enemies are copies of catalogue records, and a copy must not repeat
// the scripts, attacks and loot: a game can make thousands of copies.
template <typename T>
class SharedList {
 public:
  using value_type = T;
  using const_iterator = typename std::vector<T>::const_iterator;
  using iterator = const_iterator;

  SharedList() = default;
  // NOLINTNEXTLINE(google-explicit-constructor): a loaded list becomes shared as it is stored.
  SharedList(std::vector<T> list) : list_(std::make_shared<const std::vector<T>>(std::move(list))) {}
  SharedList(std::initializer_list<T> list) : SharedList(std::vector<T>(list)) {}

  const std::vector<T>& list() const { return list_ ? *list_ : empty_list(); }
  // NOLINTNEXTLINE(google-explicit-constructor): reads as the plain list it shares.
  operator const std::vector<T>&() const { return list(); }

  const_iterator begin() const { return list().begin(); }
  const_iterator end() const { return list().end(); }
  std::size_t size() const { return list().size(); }
  bool empty() const { return list().empty(); }
  const T& operator[](std::size_t index) const { return list()[index]; }
  const T& at(std::size_t index) const { return list().at(index); }

  friend bool operator==(const SharedList& shared, const std::vector<T>& plain) { return shared.list() == plain; }

 private:
  static const std::vector<T>& empty_list() {
    static const std::vector<T> kEmpty;
    return kEmpty;
  }

  std::shared_ptr<const std::vector<T>> list_;
};

struct Item {
  std::string name;
  bool is_weapon = false;
  std::int32_t min_damage = 0;
  std::int32_t max_damage = 0;
  std::int32_t hit_chance = 0;
  std::int32_t instance_number = 0;  // area items: number among items of this name
  std::int32_t spot = 0;             // area items of subdivided areas
  std::array<std::int32_t, 3> item_variables{};
  bool is_lamp = false;
  bool is_definite = false;
  SharedList<std::string> attributes;
  SharedScript use_scripts;
  std::int32_t ammo_capacity = 99;
  std::int32_t water_use = 0;  // 0 dry land only, 1 water only, 2 everywhere
  bool supplies_air = false;
  bool is_melee = false;
  bool is_armor = false;
};

struct Attack {
  std::string text;
  std::int32_t min_damage = 0;
  std::int32_t max_damage = 0;
  std::int32_t hit_chance = 0;
};

struct EnemyAttribute {
  std::string name;
  double factor = 1.0;
};

struct Enemy {
  std::string name;
  std::string shown_name;  // the display name, worked out once when loaded
  std::int32_t base_health = 0;
  std::int32_t health = 0;
  SharedList<Attack> attacks;
  bool ready = false;
  std::int32_t instance_number = 0;
  std::int32_t spot = -1;
  std::int32_t first_spot = -1;
  std::int32_t end_spot = -1;
  std::int32_t spot_step = -1;
  SharedList<std::string> loot;
  bool is_definite = false;
  bool is_persistent = false;
  SharedList<EnemyAttribute> attributes;
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

// The enemies that stand in an area, with how many of each display name stand
// there kept as they come and go, so that numbering a newcomer does not count
// them all: a script may place thousands in one pass. An enemy's name never
// changes, so the enemies may be changed in place; only coming and going is
// done through the list.
class LiveEnemies {
 public:
  using iterator = std::vector<Enemy>::iterator;
  using const_iterator = std::vector<Enemy>::const_iterator;

  std::size_t size() const { return enemies_.size(); }
  bool empty() const { return enemies_.empty(); }
  Enemy& operator[](std::size_t index) { return enemies_[index]; }
  const Enemy& operator[](std::size_t index) const { return enemies_[index]; }
  iterator begin() { return enemies_.begin(); }
  iterator end() { return enemies_.end(); }
  const_iterator begin() const { return enemies_.begin(); }
  const_iterator end() const { return enemies_.end(); }
  std::span<Enemy> all() { return enemies_; }
  std::span<const Enemy> all() const { return enemies_; }

  // How many enemies with this display name stand there.
  std::int32_t count_named(std::string_view shown_name) const {
    const auto found = counts_.find(shown_name);
    return found == counts_.end() ? 0 : found->second;
  }

  Enemy& push_back(Enemy enemy) {
    ++counts_[enemy.shown_name];
    return enemies_.emplace_back(std::move(enemy));
  }
  void erase(std::size_t index) {
    uncount(enemies_[index]);
    enemies_.erase(enemies_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  template <typename Leaves>
  void erase_if(Leaves leaves) {
    std::erase_if(enemies_, [&](const Enemy& enemy) {
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
  void uncount(const Enemy& enemy) {
    const auto found = counts_.find(enemy.shown_name);
    if (found != counts_.end() && --found->second <= 0) counts_.erase(found);
  }

  std::vector<Enemy> enemies_;
  std::map<std::string, std::int32_t, std::less<>> counts_;  // by display name
};

struct EnemyKind {
  Enemy enemy;
  std::int32_t chance = 0;
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

struct Area {
  Lines long_description;
  Lines short_description;
  std::vector<Path> paths;
  std::vector<Action> actions;
  std::vector<Item> items;
  std::vector<EnemyKind> enemy_kinds;
  LiveEnemies live_enemies;
  std::vector<AmmoPile> ammo_piles;
  SpotTable spot_exits;  // may span more rows than spot_count
  std::int32_t spot_count = 0;
  bool is_subdivided = false;
  bool is_dark = false;
  Conditions item_conditions;
  Script turn_scripts;
  Script drop_scripts;
  bool visited = false;
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
