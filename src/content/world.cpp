// The world's catalogues, the ammunition table and the loading of a game directory.
#include "content/world.hpp"

#include <string>

#include "base/text.hpp"

namespace vesk {

std::string display_name(const std::string& enemy_name) {
  const WordViews words = word_views(enemy_name);
  if (!words.empty() && is_integer_text(words.back())) {
    return join_words(words, 0, static_cast<long>(words.size()) - 2);
  }
  return enemy_name;
}

const Item* World::find_item(std::string_view name) const {
  const std::size_t* index = item_index_.find(name);
  return index ? &items[*index] : nullptr;
}

const Item* World::find_weapon(std::string_view name) const {
  const std::size_t* index = weapon_index_.find(name);
  return index ? &items[*index] : nullptr;
}

const Enemy* World::find_enemy(std::string_view name) const {
  const std::size_t* index = enemy_index_.find(name);
  return index ? &enemies[*index] : nullptr;
}

long World::find_ammo(std::string_view weapon_name) const {
  const std::size_t* index = ammo_index_.find(weapon_name);
  return index ? static_cast<long>(*index) : -1;
}

void World::add_item(Item item) {
  const std::size_t index = items.size();
  item_index_.add(item.name, index);
  if (item.is_weapon) weapon_index_.add(item.name, index);
  if (item.is_weapon && !item.is_melee) {
    ammo_index_.add(item.name, ammo.size());
    ammo.push_back(AmmoEntry{index, 0});
  }
  items.push_back(std::move(item));
}

void World::add_enemy(Enemy enemy) {
  enemy_index_.add(enemy.name, enemies.size());
  enemies.push_back(std::move(enemy));
}

namespace {

// Calls `load` with every file `stem`1.txt, `stem`2.txt, ... that exists, in
// order, up to the first missing number.
template <typename Load>
void for_each_numbered_file(World& world, const ContentSource& source, const char* stem, LoadDiagnostics* diagnostics,
                            Load load) {
  for (int number = 1;; ++number) {
    const std::string file_name = stem + std::to_string(number) + ".txt";
    std::optional<TextLines> lines = source(file_name);
    if (!lines) return;
    if (diagnostics) diagnostics->begin_file(file_name);
    world.source_files.push_back(file_name);
    load(*lines, static_cast<std::uint32_t>(world.source_files.size()));
  }
}

// Notes `file` on the source of every line that the loaders placed in a record.
template <typename Record>
void stamp_file(std::vector<Record>& records, std::uint32_t file) {
  for (Record& record : records) record.source.file = file;
}

void stamp_file(Script& script, std::uint32_t file) { script.set_source_file(file); }

// The use scripts are shared once stored, so they are stamped on a fresh list.
void stamp_file(Item& item, std::uint32_t file) {
  std::vector<ScriptLine> lines = item.use_scripts.list();
  stamp_file(lines, file);
  item.use_scripts = std::move(lines);
}

// The area's own lines; its items carry the stamps of their item files.
void stamp_file(Area& area, std::uint32_t file) {
  auto stamp_choices = [&](auto& choices) {
    stamp_file(choices, file);
    for (Choice& choice : choices) {
      stamp_file(choice.show_conditions, file);
      stamp_file(choice.use_conditions, file);
      stamp_file(choice.success_scripts, file);
      stamp_file(choice.failure_scripts, file);
    }
  };
  stamp_choices(area.paths);
  stamp_choices(area.actions);
  stamp_file(area.item_conditions, file);
  stamp_file(area.drop_scripts, file);
  stamp_file(area.turn_scripts, file);
}

}  // namespace

World load_world(const ContentSource& source, LoadDiagnostics* diagnostics) {
  World world;
  LoadDiagnostics* d = diagnostics;
  for_each_numbered_file(world, source, "msg", d,
                         [&](const TextLines& lines, std::uint32_t) { world.messages.push_back(lines.copied()); });
  for_each_numbered_file(world, source, "item", d, [&](const TextLines& lines, std::uint32_t file) {
    Item item = parse_item(lines, d);
    stamp_file(item, file);
    world.add_item(std::move(item));
  });
  for_each_numbered_file(world, source, "enemy", d,
                         [&](const TextLines& lines, std::uint32_t) { world.add_enemy(parse_enemy(lines, d)); });
  for_each_numbered_file(world, source, "area", d, [&](const TextLines& lines, std::uint32_t file) {
    Area area = parse_area(lines, world, d);
    stamp_file(area, file);
    world.areas.push_back(std::move(area));
  });
  return world;
}

World load_world(const std::filesystem::path& directory) {
  return load_world([&](const std::string& file_name) { return read_lines(directory / file_name); });
}

Item load_item_file(const std::filesystem::path& file) { return parse_item(read_lines(file).value_or(TextLines{})); }

Enemy load_enemy_file(const std::filesystem::path& file) { return parse_enemy(read_lines(file).value_or(TextLines{})); }

Area load_area_file(const std::filesystem::path& file, const World& world) {
  return parse_area(read_lines(file).value_or(TextLines{}), world);
}

}  // namespace vesk
