// The world: the catalogues of messages, items, enemies and areas loaded from a
// game directory, the ammunition table, and lookups by exact name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/diagnostics.hpp"
#include "content/records.hpp"

namespace vesk {

// Finds the first record of a catalogue by its exact name.
class NameIndex {
 public:
  void add(std::string_view name, std::size_t index) { map_.emplace(std::string(name), index); }
  const std::size_t* find(std::string_view name) const {
    auto it = map_.find(std::string(name));
    return it == map_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<std::string, std::size_t> map_;
};

// What a game's content files describe, which never changes once loaded: the
// games played on it share it, and its records are referred to freely, so a
// world is moved but never copied.
struct World {
  World() = default;
  World(World&&) = default;
  World& operator=(World&&) = default;
  World(const World&) = delete;
  World& operator=(const World&) = delete;
  ~World() = default;

  std::vector<TextLines> messages;
  std::vector<Item> items;
  std::vector<Enemy> enemies;
  // The ammunition table: the catalogue index of each weapon that fires
  // ammunition, in catalogue order. The counts are the play state's.
  std::vector<std::size_t> ammo;
  // The names of the content files in the order loaded; a record's
  // SourcePos::file counts in this list from 1.
  std::vector<std::string> source_files;

  const Item* find_item(std::string_view name) const;
  // The first item of this name that is a weapon.
  const Item* find_weapon(std::string_view name) const;
  const Enemy* find_enemy(std::string_view name) const;
  // Index into `ammo` of the weapon with this name, or -1.
  long find_ammo(std::string_view weapon_name) const;
  const Item& ammo_weapon(std::size_t entry) const { return items[ammo[entry]]; }
  const std::string& ammo_weapon_name(std::size_t entry) const { return ammo_weapon(entry).name; }

  // Appends a loaded item to the catalogue and, for a weapon that fires
  // ammunition, its entry to the ammunition table. Areas refer to the
  // catalogues' records, so every item and enemy comes before the first area.
  void add_item(Item item);
  void add_enemy(Enemy enemy);

  // The areas, numbered from 0 here. A game reads its area files whole at
  // start-up but works out each area from its file's lines only when play
  // first needs it (see `AreaLoading`); an area looks the same either way.
  std::size_t area_count() const { return areas_.size(); }
  bool has_areas() const { return !areas_.empty(); }
  const Area& area(std::size_t index) const {
    work_out(index);
    return areas_[index];
  }
  // Area `number` counted from 1, or nullptr when there is none.
  const Area* nth_area(std::int64_t number) const;
  // Every area, all of them worked out first.
  std::span<const Area> all_areas() const;
  void add_area(Area area);
  // An area that is worked out from `content`, that of the `file`th loaded
  // file, when it is first asked for.
  void add_pending_area(std::string content, std::uint32_t file);

 private:
  // An area file's content, kept from start-up until the area is worked out.
  struct PendingArea {
    std::string content;  // with its line ends folded (fold_line_ends)
    std::uint32_t file = 0;
  };

  void work_out(std::size_t index) const {
    if (!pending_.empty() && pending_[index]) work_out_pending(index);
  }
  void work_out_pending(std::size_t index) const;

  // Working an area out does not change what the world holds, only when the
  // work is done, so it may happen behind a const world. An area, once worked
  // out, stays where it is.
  mutable std::vector<Area> areas_;
  mutable std::vector<std::optional<PendingArea>> pending_;  // empty when every area was worked out at once

  NameIndex item_index_;
  NameIndex weapon_index_;
  NameIndex enemy_index_;
  NameIndex ammo_index_;
};

// The loaders of the content files, on a file's lines as `read_lines` gives
// them. Area files name items, enemies and weapons, so the world's catalogues
// of those must be complete before areas are loaded. With
// `diagnostics`, they also report each line they drop or cut and where each
// kept line went; what they load is the same either way.
using LineSpan = std::span<const std::string_view>;
Item parse_item(LineSpan lines, LoadDiagnostics* diagnostics = nullptr);
Enemy parse_enemy(LineSpan lines, LoadDiagnostics* diagnostics = nullptr);
Area parse_area(LineSpan lines, const World& world, LoadDiagnostics* diagnostics = nullptr);
inline Item parse_item(const Lines& lines, LoadDiagnostics* diagnostics = nullptr) {
  return parse_item(views_of(lines), diagnostics);
}
inline Enemy parse_enemy(const Lines& lines, LoadDiagnostics* diagnostics = nullptr) {
  return parse_enemy(views_of(lines), diagnostics);
}
inline Area parse_area(const Lines& lines, const World& world, LoadDiagnostics* diagnostics = nullptr) {
  return parse_area(views_of(lines), world, diagnostics);
}

// Gives the content of a content file by its name ("area1.txt"), as `read_file`
// reads it, or nothing when there is no such file.
using ContentSource = std::function<std::optional<std::string>(const std::string& file_name)>;

// When the areas are worked out from their files' lines: at once, or each
// when play first needs it. The files are read at once either way, so that
// the game plays the files as they were when it started.
enum class AreaLoading { kAtOnce, kOnDemand };

// Loads msg1.txt, msg2.txt, ..., then the items, enemies and areas the same way;
// each kind stops at its first missing number. `diagnostics` hears of each
// file before it is read; with them the areas are always worked out at once.
World load_world(const ContentSource& source, LoadDiagnostics* diagnostics = nullptr,
                 AreaLoading areas = AreaLoading::kAtOnce);
World load_world(const std::filesystem::path& directory, AreaLoading areas = AreaLoading::kAtOnce);

}  // namespace vesk
