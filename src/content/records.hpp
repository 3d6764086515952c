// World records: the items, enemies and areas that the content files describe.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// Capacities of the names and texts that records hold.
inline constexpr std::size_t kItemNameCapacity = 511;
inline constexpr std::size_t kEnemyNameCapacity = 255;
inline constexpr std::size_t kAttributeCapacity = 126;
inline constexpr std::size_t kAttackTextCapacity = 127;
inline constexpr std::size_t kLootLineCapacity = 126;

// Spots of a subdivided area are numbered from 1; a row line may name at most
// this many, so a stray huge number cannot exhaust memory.
inline constexpr std::int32_t kMaxSpots = 100000;

// The most enemies that can stand in one area at once; arrivals and placements
// beyond it do not happen, so that a runaway script loop cannot stall the game.
inline constexpr std::size_t kMaxLiveEnemies = 10000;

using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

// Where a record's line came from: the content file (its number in the
// world's list of loaded files, from 1; 0 for a record built in code) and the
// piece of the file that the reader gave (from 0). Only tools read it.
struct SourcePos {
  std::uint32_t file = 0;
  std::uint32_t piece = 0;
};

// A condition as the content files write it, split into its words once when
// loaded, since content never changes.
struct Condition {
  std::string text;
  Words words;
  SourcePos source;
};
using Conditions = std::vector<Condition>;

// A script line: a condition count c, c conditions of three words each, then a
// command. A line whose second-to-last word is "repetition" is a label (its
// last word); one whose second-to-last word is "repeat" jumps back to a label.
struct ScriptLine {
  enum class Kind {
    kSkip,     // too short, or its condition count does not fit its words
    kLabel,    // "... repetition NAME"
    kRepeat,   // guarded "... repeat NAME"
    kCommand,  // guarded command
  };
  std::string text;
  Kind kind = Kind::kSkip;
  std::vector<Words> conditions;  // each condition's words
  Words command;                  // the command's words
  std::string label;              // kLabel: its name; kRepeat: the label it jumps to
  SourcePos source;
};
using Script = std::vector<ScriptLine>;

Condition parse_condition(std::string text);
// A line of an area's script lists, with labels and repeats.
ScriptLine parse_script_line(std::string text);
// A line of an item's use script: conditions and a command, no labels.
ScriptLine parse_use_script_line(std::string text);

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
  Lines attributes;
  Script use_scripts;
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
  std::vector<Attack> attacks;
  bool ready = false;
  std::int32_t instance_number = 0;
  std::int32_t spot = -1;
  std::int32_t first_spot = -1;
  std::int32_t end_spot = -1;
  std::int32_t spot_step = -1;
  Lines loot;
  bool is_definite = false;
  bool is_persistent = false;
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

struct Area {
  Lines long_description;
  Lines short_description;
  std::vector<Path> paths;
  std::vector<Action> actions;
  std::vector<Item> items;
  std::vector<EnemyKind> enemy_kinds;
  std::vector<Enemy> live_enemies;
  std::vector<AmmoPile> ammo_piles;
  std::vector<SpotExits> spot_exits;  // may hold more rows than spot_count
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
    return spot_exits[static_cast<std::size_t>(spot - 1)][static_cast<std::size_t>(direction)];
  }
};

// The name shown to the player: the enemy's name without a last word that is an
// integer ("rat 2" shows as "rat").
std::string display_name(const std::string& enemy_name);

}  // namespace vesk
