// The checker's working state, shared by its parts: what the loaders said about
// each file, where each kept line of a record came from, and the findings so far.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "content/diagnostics.hpp"
#include "content/world.hpp"
#include "kit/checker.hpp"
#include "kit/nearest.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

// "area12.txt" is stem "area", number 12; other names have an empty stem.
struct NumberedName {
  std::string stem;
  std::int32_t number = 0;
};
NumberedName parse_numbered_name(std::string_view name);

struct FileInfo {
  std::string name;
  std::string stem;
  std::int32_t number = 0;
  std::size_t pieces = 0;
  std::vector<std::size_t> long_pieces;  // pieces that a long line goes on after
  Lines lines;                           // as the loader read them
};

// Where each entry of an area's lists came from, in list order.
struct AreaTrace {
  std::size_t file = 0;
  std::vector<std::size_t> paths, actions, items, ammo, enemies;
  std::vector<std::pair<std::int32_t, std::size_t>> rows;  // spot number and piece, in file order
  std::optional<std::size_t> m2, dark, water;
};

struct ItemTrace {
  std::size_t file = 0;
  std::optional<std::size_t> weapon;  // the weapon line that counts (the last)
};

struct EnemyTrace {
  std::size_t file = 0;
  std::vector<std::size_t> attacks, loot;
};

struct RawFault {
  std::size_t file;
  std::size_t piece;
  LineFault fault;
  std::string subject;
};

class Recorder : public LoadDiagnostics {
 public:
  void begin_file(std::string_view file_name, const Lines& lines) override;
  void fault(std::size_t piece, LineFault fault, std::string_view subject) override;
  void kept(std::size_t piece, LineUse use, std::int32_t entry) override;

  std::vector<FileInfo> files;
  std::vector<std::size_t> messages;  // file of each message file
  std::vector<ItemTrace> items;
  std::vector<EnemyTrace> enemies;
  std::vector<AreaTrace> areas;
  std::vector<RawFault> faults;

 private:
  std::size_t current_file_ = 0;
};

struct PendingFinding {
  std::size_t file;
  std::size_t piece;
  Check check;
  std::string message;
};

// What the scripts of one area can do to the player's whereabouts.
struct AreaFacts {
  std::vector<std::pair<std::int32_t, std::size_t>> area_writes;  // constant "ca" values and their pieces
  std::vector<std::int32_t> spot_writes;                          // constant "a2" values
  bool may_leave = false;  // "terminate", "ld" or a "ca" write whose value is known only in play
};

// A "NAME held" condition and where it is.
struct HeldTest {
  std::string item;
  std::size_t file;
  std::size_t piece;
};

struct Context {
  Context(const World& world, Recorder& rec);

  void add(std::size_t file, std::size_t piece, Check check, std::string message);
  // A finding about a file that the game never reads.
  void add_for_name(const std::string& name, Check check, std::string message);

  // The text of a piece as the loader read it.
  std::string piece_text(std::size_t file, std::size_t piece) const;
  const AreaTrace* area_of_file(std::size_t file) const;

  // "; did you mean ...?" for a name that matches nothing, or the empty text.
  std::string item_hint(std::string_view name);
  std::string enemy_hint(std::string_view name);
  std::string weapon_hint(std::string_view name);

  const World& world;
  Recorder& rec;
  std::vector<PendingFinding> pending;
  NearestName item_names, enemy_names, weapon_names;
  std::unordered_map<std::size_t, std::size_t> area_by_file;

  // Filled by check_scripts for the checks of the world.
  std::vector<AreaFacts> area_facts;
  std::vector<std::int32_t> use_area_writes;  // constant "ca" values of items' use scripts
  bool unknown_area_writes = false;           // a "ca" write whose value is known only in play
  bool use_scripts_change_area = false;
  std::unordered_set<std::string> obtainable;  // items that an area holds, a script gives or loot leaves
  std::vector<HeldTest> held_tests;            // "NAME held" conditions, for the checks of the world
};

std::string did_you_mean(const std::string& suggestion);

// The rows of an area's spots 1 to `spot_count` that its file wrote; every
// other spot has four 0 exits. Walking these and never every spot number keeps
// an area of two billion spots as cheap as its file is short.
template <typename Visit>
void for_each_row(const Area& area, Visit visit) {
  const auto& rows = area.spot_exits.written();
  for (auto it = rows.lower_bound(1); it != rows.end() && it->first <= area.spot_count; ++it) {
    visit(it->first, it->second);
  }
}

// The parts of the checker, in the order they run.
void report_loader_faults(Context& ctx);
void check_files(Context& ctx, const GameFiles& files);
void check_scripts(Context& ctx);  // scripts, conditions, variables, labels; what they do to the whereabouts
void check_records(Context& ctx);  // items, enemies and their loot, area records and spot tables
void check_world(Context& ctx);    // reachability, dead ends, items that cannot be had

}  // namespace vesk::kit
