// Area files: long and short description, paths and actions (four sections ended
// by blank lines), then keyword lines read in a second pass from the top.
#include <utility>

#include "base/index.hpp"
#include "base/text.hpp"
#include "content/numbering.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

bool is_blank(const std::string& line) { return line == "\n"; }

const std::string& word(const Words& words, long index) { return words[static_cast<std::size_t>(index)]; }

// "wooden door 4 30": the label, the target area and the travel time.
void add_path(Area& area, const std::string& line) {
  const Words words = split_words(line);
  const long w = word_count(words);
  if (w < 3) return;
  Path path;
  path.label = join_words(words, 0, w - 3);
  path.target_area = to_int(word(words, w - 2));
  path.travel_time = to_int(word(words, w - 1));
  area.paths.push_back(std::move(path));
}

void add_action(Area& area, const std::string& line) {
  const Words words = split_words(line);
  Action action;
  action.label = words_from(words, 0);
  area.actions.push_back(std::move(action));
}

// The first part: descriptions, paths and actions, up to the fourth blank line.
void read_sections(Area& area, const Lines& lines) {
  int section = 0;
  for (const std::string& line : lines) {
    if (is_blank(line)) {
      if (++section == 4) return;
      continue;
    }
    switch (section) {
      case 0:
        area.long_description.push_back(line);
        break;
      case 1:
        area.short_description.push_back(line);
        break;
      case 2:
        if (!starts_with(line, "none")) add_path(area, line);
        break;
      default:
        if (!starts_with(line, "none")) add_action(area, line);
        break;
    }
  }
}

// The second pass over every line of the file, with the state that carries
// from line to line: whether "m2" has been passed and whether spot rows are
// being read.
class KeywordReader {
 public:
  KeywordReader(Area& area, const World& world) : area_(area), world_(world) {}

  void read(const std::string& line) {
    if (reading_rows_ && line != "m2\n") {
      read_spot_row(line);
      return;
    }
    if (line == "m2\n") {
      area_.is_subdivided = true;
      subdivided_form_ = true;
      reading_rows_ = true;
    } else if (line == "swim\n") {
      area_.water_level = 1;
    } else if (line == "wtr\n") {
      area_.water_level = 2;
    } else if (line == "dark\n") {
      area_.is_dark = true;
    } else if (starts_with(line, "ammo")) {
      add_ammo_pile(split_words(line));
    } else if (starts_with(line, "item")) {
      add_item(split_words(line));
    } else if (starts_with(line, "enemy")) {
      add_enemy_kind(split_words(line));
    } else if (starts_with(line, "pcd")) {
      area_.item_conditions.push_back(parse_condition(words_from(split_words(line), 1)));
    } else if (starts_with(line, "drop")) {
      area_.drop_scripts.push_back(parse_script_line(words_from(split_words(line), 1)));
    } else if (starts_with(line, "action")) {
      add_list_line(area_.actions, split_words(line));
    } else if (starts_with(line, "path")) {
      add_list_line(area_.paths, split_words(line));
    } else if (starts_with(line, "s ")) {
      area_.turn_scripts.push_back(parse_script_line(words_from(split_words(line), 1)));
    }
  }

 private:
  // A spot row "n e0 e1 e2 e3"; a line whose first word is empty or no integer
  // ends the rows and sets the spot count.
  void read_spot_row(const std::string& line) {
    const Words words = split_words(line);
    if (words.empty() || words[0].empty() || !is_integer_text(words[0])) {
      reading_rows_ = false;
      area_.spot_count = current_rows_;
      return;
    }
    const std::int32_t spot = to_int(words[0]);
    if (spot < 1 || words.size() < 5) return;
    // Rows between the current count and a higher new one start without
    // exits, also where an earlier run of rows had filled them.
    if (spot > current_rows_) area_.spot_exits.clear(current_rows_ + 1, spot - 1);
    SpotExits exits{};
    for (std::size_t d = 0; d < 4; ++d) exits[d] = to_int(words[d + 1]);
    area_.spot_exits.write(spot, exits);
    current_rows_ = spot;
  }

  // "ammo bow 40", after "m2" "ammo bow 40 3" with a spot.
  void add_ammo_pile(const Words& words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 3 : w - 2;
    if (name_end < 1) return;
    AmmoPile pile;
    const long weapon = world_.find_ammo(join_words(words, 1, name_end));
    if (weapon < 0) return;
    pile.weapon = static_cast<std::size_t>(weapon);
    pile.amount = to_int(word(words, name_end + 1));
    if (subdivided_form_) {
      pile.spot = to_int(word(words, w - 1));
      if (pile.spot < 1) return;
    }
    area_.ammo_piles.push_back(pile);
  }

  // "item rusty key", after "m2" "item rusty key 4" with a spot. Every line is
  // one area item; they are numbered once the whole file is read.
  void add_item(const Words& words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 2 : w - 1;
    if (name_end < 1) return;
    const Item* found = world_.find_item(join_words(words, 1, name_end));
    if (!found) return;
    Item item = *found;
    if (subdivided_form_) {
      item.spot = to_int(word(words, w - 1));
      if (item.spot < 1) return;
    }
    area_.items.push_back(std::move(item));
  }

  // "enemy rat 20", after "m2" "enemy rat 2 8 3 20": the spots first, first +
  // step, ... below the end spot, and the chance in percent.
  void add_enemy_kind(const Words& words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 5 : w - 2;
    if (name_end < 1) return;
    const Enemy* found = world_.find_enemy(join_words(words, 1, name_end));
    if (!found) return;
    EnemyKind kind{*found, to_int(word(words, w - 1))};
    if (subdivided_form_) {
      kind.enemy.first_spot = to_int(word(words, w - 4));
      kind.enemy.end_spot = to_int(word(words, w - 3));
      kind.enemy.spot_step = to_int(word(words, w - 2));
    }
    area_.enemy_kinds.push_back(std::move(kind));
  }

  // "action N K text" or "path N K text": the text goes to list K of entry N.
  template <typename Entry>
  static void add_list_line(std::vector<Entry>& entries, const Words& words) {
    const long w = word_count(words);
    if (w < 3) return;
    Entry* found = nth(entries, to_int(words[1]));
    if (!found) return;
    Choice& entry = *found;
    const std::string& code = words[2];
    std::string text = join_words(words, 3, w - 1);
    if (code == "cv") {
      entry.show_conditions.push_back(parse_condition(std::move(text)));
    } else if (code == "cd") {
      entry.use_conditions.push_back(parse_condition(std::move(text)));
    } else if (code == "dp") {
      entry.success_scripts.push_back(parse_script_line(std::move(text)));
    } else if (code == "dn") {
      entry.failure_scripts.push_back(parse_script_line(std::move(text)));
    }
  }

  Area& area_;
  const World& world_;
  bool subdivided_form_ = false;
  bool reading_rows_ = false;
  std::int32_t current_rows_ = 0;
};

}  // namespace

Area parse_area(const Lines& lines, const World& world) {
  Area area;
  read_sections(area, lines);
  KeywordReader reader(area, world);
  for (const std::string& line : lines) reader.read(line);
  // Items before "m2" lie on spot 0, so they count among themselves.
  number_area_items(area.items, area.is_subdivided);
  return area;
}

}  // namespace vesk
