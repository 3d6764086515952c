// The world's catalogues, the ammunition table and the loading of a game directory.
#include "content/world.hpp"

#include <string>
#include <utility>

#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"

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
    ammo.push_back(index);
  }
  items.push_back(std::move(item));
}

void World::add_enemy(Enemy enemy) {
  enemy_index_.add(enemy.name, enemies.size());
  enemies.push_back(std::move(enemy));
}

namespace {

// Calls `load` with the content of every file `stem`1.txt, `stem`2.txt, ...
// that exists, in order, up to the first missing number, and the file's number
// in the world's list of loaded files.
template <typename Load>
void for_each_numbered_file(World& world, const ContentSource& source, const char* stem, Load load) {
  for (int number = 1;; ++number) {
    std::string file_name = stem + std::to_string(number) + ".txt";
    std::optional<std::string> content = source(file_name);
    if (!content) return;
    world.source_files.push_back(std::move(file_name));
    load(std::move(*content), static_cast<std::uint32_t>(world.source_files.size()));
  }
}

// The pieces of the `file`th loaded file, which `diagnostics` hear of before a
// loader reads them. Without diagnostics the pieces are views into the
// content, changed in place, so that a large file is never held twice.
class FilePieces {
 public:
  FilePieces(std::string content, const World& world, std::uint32_t file, LoadDiagnostics* diagnostics)
      : content_(std::move(content)) {
    if (diagnostics) {
      lines_ = split_lines(content_);
      diagnostics->begin_file(world.source_files[file - 1], lines_);
      views_ = views_of(lines_);
    } else {
      views_ = split_line_views(content_);
    }
  }
  FilePieces(const FilePieces&) = delete;
  FilePieces& operator=(const FilePieces&) = delete;

  LineSpan views() const { return views_; }

 private:
  std::string content_;
  Lines lines_;
  LineViews views_;
};

// A message file's lines, held as one text.
TextLines message_lines(LineSpan pieces) {
  std::size_t characters = 0;
  for (const std::string_view piece : pieces) characters += piece.size();
  TextLines lines;
  lines.reserve(pieces.size(), characters);
  for (const std::string_view piece : pieces) lines.push_back(piece);
  return lines;
}

// Notes `file` on the source of every line that the loaders placed in a record.
template <typename Record>
void stamp_file(std::vector<Record>& records, std::uint32_t file) {
  for (Record& record : records) record.source.file = file;
}

// Scripts and lists of conditions hold the file once for all their lines.
void stamp_file(LineCode& lines, std::uint32_t file) { lines.set_source_file(file); }

void stamp_file(Item& item, std::uint32_t file) { stamp_file(item.use_scripts, file); }

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

const Area* World::nth_area(std::int64_t number) const {
  return is_number_in(number, areas_.size()) ? &area(static_cast<std::size_t>(number - 1)) : nullptr;
}

std::span<const Area> World::all_areas() const {
  for (std::size_t a = 0; a < areas_.size(); ++a) work_out(a);
  return areas_;
}

void World::add_area(Area area) {
  areas_.push_back(std::move(area));
  if (!pending_.empty()) pending_.emplace_back();
}

void World::add_pending_area(std::string content, std::uint32_t file) {
  fold_line_ends(content);
  pending_.resize(areas_.size());
  areas_.emplace_back();
  pending_.emplace_back(PendingArea{std::move(content), file});
}

void World::work_out_pending(std::size_t index) const {
  const PendingArea& pending = *pending_[index];
  Area area = parse_area(pieces_of_folded(pending.content), *this);
  stamp_file(area, pending.file);
  areas_[index] = std::move(area);
  // Only now is the content dropped: an area whose working out fails stays
  // pending rather than empty.
  pending_[index].reset();
}

World load_world(const ContentSource& source, LoadDiagnostics* diagnostics, AreaLoading areas) {
  World world;
  LoadDiagnostics* d = diagnostics;
  for_each_numbered_file(world, source, "msg", [&](std::string content, std::uint32_t file) {
    const FilePieces pieces(std::move(content), world, file, d);
    world.messages.push_back(message_lines(pieces.views()));
  });
  for_each_numbered_file(world, source, "item", [&](std::string content, std::uint32_t file) {
    const FilePieces pieces(std::move(content), world, file, d);
    Item item = parse_item(pieces.views(), d);
    stamp_file(item, file);
    world.add_item(std::move(item));
  });
  for_each_numbered_file(world, source, "enemy", [&](std::string content, std::uint32_t file) {
    const FilePieces pieces(std::move(content), world, file, d);
    world.add_enemy(parse_enemy(pieces.views(), d));
  });
  const bool on_demand = areas == AreaLoading::kOnDemand && !diagnostics;
  for_each_numbered_file(world, source, "area", [&](std::string content, std::uint32_t file) {
    if (on_demand) {
      world.add_pending_area(std::move(content), file);
      return;
    }
    const FilePieces pieces(std::move(content), world, file, d);
    Area area = parse_area(pieces.views(), world, d);
    stamp_file(area, file);
    world.add_area(std::move(area));
  });
  return world;
}

World load_world(const std::filesystem::path& directory, AreaLoading areas) {
  return load_world([&](const std::string& file_name) { return read_file(directory / file_name); }, nullptr, areas);
}

}  // namespace vesk
