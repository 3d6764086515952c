// The world: the catalogues of messages, items, enemies and areas loaded from a
// game directory, the ammunition table, and lookups by exact name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/diagnostics.hpp"
#include "content/records.hpp"

namespace vesk {

// One entry per weapon that fires ammunition, in item catalogue order.
struct AmmoEntry {
  std::size_t item = 0;  // index into the item catalogue
  std::int32_t count = 0;
};

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

struct World {
  std::vector<Lines> messages;
  std::vector<Item> items;
  std::vector<Enemy> enemies;
  std::vector<Area> areas;
  std::vector<AmmoEntry> ammo;
  // The names of the content files in the order loaded; a record's
  // SourcePos::file counts in this list from 1.
  std::vector<std::string> source_files;

  const Item* find_item(std::string_view name) const;
  // The first item of this name that is a weapon.
  const Item* find_weapon(std::string_view name) const;
  const Enemy* find_enemy(std::string_view name) const;
  // Index into `ammo` of the weapon with this name, or -1.
  long find_ammo(std::string_view weapon_name) const;
  const std::string& ammo_weapon_name(const AmmoEntry& entry) const { return items[entry.item].name; }

  // Appends a loaded item to the catalogue and, for a weapon that fires
  // ammunition, its entry to the ammunition table.
  void add_item(Item item);
  void add_enemy(Enemy enemy);

 private:
  NameIndex item_index_;
  NameIndex weapon_index_;
  NameIndex enemy_index_;
  NameIndex ammo_index_;
};

// The loaders of the content files. Each reads one file that exists.
Item load_item_file(const std::filesystem::path& file);
Enemy load_enemy_file(const std::filesystem::path& file);
// Area files name items, enemies and weapons, so the world's catalogues of
// those must be complete before areas are loaded.
Area load_area_file(const std::filesystem::path& file, const World& world);

// The same loaders on a file's lines as `read_lines` gives them. With
// `diagnostics`, they also report each line they drop or cut and where each
// kept line went; what they load is the same either way.
Item parse_item(LineSpan lines, LoadDiagnostics* diagnostics = nullptr);
Enemy parse_enemy(LineSpan lines, LoadDiagnostics* diagnostics = nullptr);
Area parse_area(LineSpan lines, const World& world, LoadDiagnostics* diagnostics = nullptr);

// Gives the lines of a content file by its name ("area1.txt"), or nothing when
// there is no such file.
using ContentSource = std::function<std::optional<TextLines>(const std::string& file_name)>;

// Loads msg1.txt, msg2.txt, ..., then the items, enemies and areas the same way;
// each kind stops at its first missing number. `diagnostics` hears of each
// file before it is read.
World load_world(const ContentSource& source, LoadDiagnostics* diagnostics = nullptr);
World load_world(const std::filesystem::path& directory);

}  // namespace vesk
