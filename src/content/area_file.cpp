// Area files: long and short description, paths and actions (four sections ended
// by blank lines), then keyword lines read in a second pass from the top.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "base/index.hpp"
#include "base/text.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

bool is_blank(std::string_view line) { return line == "\n"; }

std::string_view word(WordSpan words, long index) { return words[static_cast<std::size_t>(index)]; }

// "wooden door 4 30": the label, the target area and the travel time.
void add_path(Area& area, std::string_view line, LoadDiagnostics* diagnostics, std::size_t piece) {
  const WordViews words = word_views(line);
  const long w = word_count(words);
  if (w < 3) {
    report_fault(diagnostics, piece, LineFault::kShortLine, "path");
    return;
  }
  report_kept(diagnostics, piece, LineUse::kPath);
  Path path;
  path.label = join_words(words, 0, w - 3);
  path.target_area = to_int(word(words, w - 2));
  path.travel_time = to_int(word(words, w - 1));
  area.paths.push_back(std::move(path));
  note_piece(area.paths, piece);
}

void add_action(Area& area, std::string_view line, LoadDiagnostics* diagnostics, std::size_t piece) {
  report_kept(diagnostics, piece, LineUse::kAction);
  Action action;
  action.label = words_from(word_views(line), 0);
  area.actions.push_back(std::move(action));
  note_piece(area.actions, piece);
}

// The first part: descriptions, paths and actions, up to the fourth blank line.
// Returns the number of the first piece after it.
std::size_t read_sections(Area& area, LineSpan lines, LoadDiagnostics* diagnostics) {
  // The sections' sizes first, so that each list is made once at its size.
  std::array<std::size_t, 4> sizes{};
  for (std::size_t piece = 0, at = 0; piece < lines.size() && at < sizes.size(); ++piece) {
    if (is_blank(lines[piece])) {
      ++at;
    } else {
      ++sizes[at];
    }
  }
  area.long_description.reserve(sizes[0]);
  area.short_description.reserve(sizes[1]);
  area.paths.reserve(sizes[2]);
  area.actions.reserve(sizes[3]);
  int section = 0;
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    if (is_blank(line)) {
      if (++section == 4) return piece + 1;
      continue;
    }
    switch (section) {
      case 0:
        area.long_description.emplace_back(line);
        break;
      case 1:
        area.short_description.emplace_back(line);
        break;
      case 2:
        if (!starts_with(line, "none")) add_path(area, line, diagnostics, piece);
        break;
      default:
        if (!starts_with(line, "none")) add_action(area, line, diagnostics, piece);
        break;
    }
  }
  return lines.size();
}

// Whether `line` can begin with a keyword of the second pass: most lines, the
// descriptions and the blank lines, are told apart by their first character.
bool may_be_keyword(std::string_view line) {
  if (line.empty()) return false;
  switch (line[0]) {
    case 'a':
    case 'd':
    case 'e':
    case 'i':
    case 'm':
    case 'p':
    case 's':
    case 'w':
      return true;
    default:
      return false;
  }
}

// The keyword that the second pass finds at the start of `line`, in the order
// in which `KeywordReader::read` tests them, or the empty text. Only the
// checker asks, to tell keyword lines from others.
std::string_view area_keyword_of(std::string_view line) {
  for (std::string_view flag : {"m2\n", "swim\n", "wtr\n", "dark\n"}) {
    if (line == flag) return flag.substr(0, flag.size() - 1);
  }
  for (std::string_view keyword : {"ammo", "item", "enemy", "pcd", "drop", "action", "path", "s "}) {
    if (starts_with(line, keyword)) return keyword;
  }
  return {};
}

// The flag keyword that `line` would be without its trailing blanks, when it is
// not that keyword as written ("swim " or a last line "dark" without line end).
std::string_view near_flag_keyword(std::string_view line) {
  const std::size_t end = line.find_last_not_of(" \t\r\n");
  if (end == std::string_view::npos) return {};
  const std::string_view bare = line.substr(0, end + 1);
  for (std::string_view flag : {"m2", "swim", "wtr", "dark"}) {
    if (bare == flag) return flag;
  }
  return {};
}

// The second pass over every line of the file, with the state that carries
// from line to line: whether "m2" has been passed and whether spot rows are
// being read.
class KeywordReader {
 public:
  KeywordReader(Area& area, const World& world, std::size_t keyword_part, LoadDiagnostics* diagnostics)
      : area_(area), world_(world), keyword_part_(keyword_part), diagnostics_(diagnostics) {}

  // Piece `piece` of the file, `line`.
  void read(std::size_t piece, std::string_view line) {
    piece_ = piece;
    if (reading_rows_ && line != "m2\n") {
      read_spot_row(line);
      return;
    }
    if (diagnostics_) note_line(line);
    if (!may_be_keyword(line)) return;
    if (line == "m2\n") {
      report_kept(diagnostics_, piece_, LineUse::kSubdivided);
      m2_piece_ = piece_;
      area_.is_subdivided = true;
      subdivided_form_ = true;
      reading_rows_ = true;
    } else if (line == "swim\n") {
      report_kept(diagnostics_, piece_, LineUse::kWater);
      area_.water_level = 1;
    } else if (line == "wtr\n") {
      report_kept(diagnostics_, piece_, LineUse::kWater);
      area_.water_level = 2;
    } else if (line == "dark\n") {
      report_kept(diagnostics_, piece_, LineUse::kDark);
      area_.is_dark = true;
    } else if (starts_with(line, "ammo")) {
      add_ammo_pile(words_of(line));
    } else if (starts_with(line, "item")) {
      add_item(words_of(line));
    } else if (starts_with(line, "enemy")) {
      add_enemy_kind(words_of(line));
    } else if (starts_with(line, "pcd")) {
      report_kept(diagnostics_, piece_, LineUse::kItemCondition);
      std::string text = rest_of(words_of(line), 1);
      area_.item_conditions.push_back(parse_condition(std::move(text), rest_));
      note_piece(area_.item_conditions, piece_);
    } else if (starts_with(line, "drop")) {
      report_kept(diagnostics_, piece_, LineUse::kDropScript);
      std::string text = rest_of(words_of(line), 1);
      area_.drop_scripts.push_back(parse_script_line(std::move(text), rest_));
      note_piece(area_.drop_scripts, piece_);
    } else if (starts_with(line, "action")) {
      add_list_line(area_.actions, words_of(line), LineUse::kActionShow);
    } else if (starts_with(line, "path")) {
      add_list_line(area_.paths, words_of(line), LineUse::kPathShow);
    } else if (starts_with(line, "s ")) {
      report_kept(diagnostics_, piece_, LineUse::kTurnScript);
      std::string text = rest_of(words_of(line), 1);
      area_.turn_scripts.push_back(parse_script_line(std::move(text), rest_));
      note_piece(area_.turn_scripts, piece_);
    }
  }

  // After the last line: spot rows that nothing ended leave the area without spots.
  void finish() {
    if (reading_rows_) report_fault(diagnostics_, m2_piece_, LineFault::kUnendedRows);
  }

 private:
  // The words of `line`, in a list kept from line to line.
  WordSpan words_of(std::string_view line) {
    split_words(line, words_);
    return words_;
  }

  // Words `first` to the last joined, the text of a condition or a script
  // line; its words are left in `rest_`, so that it is not split again.
  std::string rest_of(WordSpan words, long first) {
    if (rejoins_as_is(words)) {
      rest_ = words.subspan(static_cast<std::size_t>(std::min(first, word_count(words))));
    } else {
      rejoin_words(words, first, word_count(words) - 1, rest_words_);
      rest_ = rest_words_;
    }
    return words_from(words, first);
  }

  // What the checker hears of a line outside the spot rows: a line of the first
  // part that is also a keyword line, or a line of the keyword part that is none.
  void note_line(std::string_view line) {
    const std::string_view keyword = area_keyword_of(line);
    if (piece_ < keyword_part_) {
      if (!keyword.empty()) diagnostics_->fault(piece_, LineFault::kKeywordTrap, keyword);
    } else if (keyword.empty()) {
      if (const std::string_view flag = near_flag_keyword(line); !flag.empty()) {
        diagnostics_->fault(piece_, LineFault::kNearKeyword, flag);
      } else if (!is_blank_text(line) && !starts_with(line, "#")) {
        diagnostics_->fault(piece_, LineFault::kUnknownKeyword, {});
      }
    }
  }

  // A spot row "n e0 e1 e2 e3"; a line whose first word is empty or no integer
  // ends the rows and sets the spot count.
  void read_spot_row(std::string_view line) {
    const WordSpan words = words_of(line);
    if (words.empty() || words[0].empty() || !is_integer_text(words[0])) {
      reading_rows_ = false;
      area_.spot_count = current_rows_;
      if (diagnostics_) {
        if (const std::string_view keyword = area_keyword_of(line); !keyword.empty()) {
          diagnostics_->fault(piece_, LineFault::kRowsEndLine, keyword);
        }
      }
      return;
    }
    const std::int32_t spot = to_int(words[0]);
    if (spot < 1) {
      report_fault(diagnostics_, piece_, LineFault::kBadSpot, words[0]);
      return;
    }
    if (words.size() < 5) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, "spot row");
      return;
    }
    if (spot <= current_rows_) {
      report_fault(diagnostics_, piece_, LineFault::kSpotRowOrder, std::to_string(current_rows_));
    }
    report_kept(diagnostics_, piece_, LineUse::kSpotRow, spot);
    // Rows between the current count and a higher new one start without
    // exits, also where an earlier run of rows had filled them.
    if (spot > current_rows_) area_.spot_exits.clear(current_rows_ + 1, spot - 1);
    SpotExits exits{};
    for (std::size_t d = 0; d < 4; ++d) exits[d] = to_int(words[d + 1]);
    area_.spot_exits.write(spot, exits);
    current_rows_ = spot;
  }

  // "ammo bow 40", after "m2" "ammo bow 40 3" with a spot.
  void add_ammo_pile(WordSpan words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 3 : w - 2;
    if (name_end < 1) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, "ammo");
      return;
    }
    AmmoPile pile;
    const std::string name = join_words(words, 1, name_end);
    const long weapon = world_.find_ammo(name);
    if (weapon < 0) {
      report_fault(diagnostics_, piece_, LineFault::kUnknownWeapon, name);
      return;
    }
    pile.weapon = static_cast<std::size_t>(weapon);
    pile.amount = to_int(word(words, name_end + 1));
    if (subdivided_form_) {
      pile.spot = to_int(word(words, w - 1));
      if (pile.spot < 1) {
        report_fault(diagnostics_, piece_, LineFault::kBadSpot, word(words, w - 1));
        return;
      }
    }
    report_kept(diagnostics_, piece_, LineUse::kAmmoPile);
    area_.ammo_piles.push_back(pile);
  }

  // "item rusty key", after "m2" "item rusty key 4" with a spot. Every line is
  // one area item; play numbers them when it lays them out.
  void add_item(WordSpan words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 2 : w - 1;
    if (name_end < 1) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, "item");
      return;
    }
    const std::string name = join_words(words, 1, name_end);
    const Item* found = world_.find_item(name);
    if (!found) {
      report_fault(diagnostics_, piece_, LineFault::kUnknownItem, name);
      return;
    }
    PlacedItem item{found, 0};
    if (subdivided_form_) {
      item.spot = to_int(word(words, w - 1));
      if (item.spot < 1) {
        report_fault(diagnostics_, piece_, LineFault::kBadSpot, word(words, w - 1));
        return;
      }
    }
    report_kept(diagnostics_, piece_, LineUse::kAreaItem);
    area_.items.push_back(item);
  }

  // "enemy rat 20", after "m2" "enemy rat 2 8 3 20": the spots first, first +
  // step, ... below the end spot, and the chance in percent.
  void add_enemy_kind(WordSpan words) {
    const long w = word_count(words);
    const long name_end = subdivided_form_ ? w - 5 : w - 2;
    if (name_end < 1) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, "enemy");
      return;
    }
    const std::string name = join_words(words, 1, name_end);
    const Enemy* found = world_.find_enemy(name);
    if (!found) {
      report_fault(diagnostics_, piece_, LineFault::kUnknownEnemy, name);
      return;
    }
    report_kept(diagnostics_, piece_, LineUse::kEnemyKind);
    EnemyKind kind{found, to_int(word(words, w - 1))};
    if (subdivided_form_) {
      kind.first_spot = to_int(word(words, w - 4));
      kind.end_spot = to_int(word(words, w - 3));
      kind.spot_step = to_int(word(words, w - 2));
    }
    area_.enemy_kinds.push_back(kind);
  }

  // "action N K text" or "path N K text": the text goes to list K of entry N.
  // `show` is the use of a show condition of this kind of entry; the other three
  // lists follow it in LineUse.
  template <typename Entry>
  void add_list_line(std::vector<Entry>& entries, WordSpan words, LineUse show) {
    const long w = word_count(words);
    if (w < 3) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, words.empty() ? "" : words[0]);
      return;
    }
    const std::int32_t number = to_int(words[1]);
    Entry* found = nth(entries, number);
    if (!found) {
      report_fault(diagnostics_, piece_, LineFault::kBadListNumber, words[1]);
      return;
    }
    Choice& entry = *found;
    const std::string_view code = words[2];
    std::string text = rest_of(words, 3);
    const auto note = [&](int list) {
      report_kept(diagnostics_, piece_, static_cast<LineUse>(static_cast<int>(show) + list), number);
    };
    if (code == "cv") {
      note(0);
      entry.show_conditions.push_back(parse_condition(std::move(text), rest_));
      note_piece(entry.show_conditions, piece_);
    } else if (code == "cd") {
      note(1);
      entry.use_conditions.push_back(parse_condition(std::move(text), rest_));
      note_piece(entry.use_conditions, piece_);
    } else if (code == "dp") {
      note(2);
      entry.success_scripts.push_back(parse_script_line(std::move(text), rest_));
      note_piece(entry.success_scripts, piece_);
    } else if (code == "dn") {
      note(3);
      entry.failure_scripts.push_back(parse_script_line(std::move(text), rest_));
      note_piece(entry.failure_scripts, piece_);
    } else {
      report_fault(diagnostics_, piece_, LineFault::kUnknownListCode, code);
    }
  }

  Area& area_;
  const World& world_;
  std::size_t keyword_part_;      // the first piece after the sections
  LoadDiagnostics* diagnostics_;  // nullptr in the game
  std::size_t piece_ = 0;         // the piece being read
  std::size_t m2_piece_ = 0;
  bool subdivided_form_ = false;
  bool reading_rows_ = false;
  std::int32_t current_rows_ = 0;
  WordViews words_;       // the words of the line being read
  WordSpan rest_;         // the words of the text that `rest_of` made
  WordViews rest_words_;  // where they are kept when they had to be rejoined
};

}  // namespace

namespace {

// The first word of `text` and what follows it.
std::pair<std::string_view, std::string_view> next_word(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  std::size_t end = start;
  while (end < text.size() && text[end] != ' ') ++end;
  return {text.substr(start, end - start), text.substr(end)};
}

// Makes room in each list of the keyword part (scripts, conditions, items,
// enemies and ammunition) for the lines that may add to it, so that every
// list is made once at its size.
// A line that will turn out faulty only makes a little room too many.
void make_room(Area& area, LineSpan lines) {
  // Per entry the lines of its lists "cv", "cd", "dp" and "dn".
  std::vector<std::array<std::uint32_t, 4>> paths(area.paths.size());
  std::vector<std::array<std::uint32_t, 4>> actions(area.actions.size());
  std::size_t turn = 0;
  std::size_t drop = 0;
  std::size_t conditions = 0;
  std::size_t items = 0;
  std::size_t kinds = 0;
  std::size_t piles = 0;
  for (const std::string_view line : lines) {
    if (!may_be_keyword(line)) continue;
    const bool path = starts_with(line, "path");
    if (path || starts_with(line, "action")) {
      const auto [keyword, after_keyword] = next_word(line);
      const auto [number, after_number] = next_word(after_keyword);
      const std::string_view code = next_word(after_number).first.substr(0, 2);
      auto& counts = path ? paths : actions;
      const std::int32_t entry = to_int(number);
      if (entry < 1 || static_cast<std::size_t>(entry) > counts.size()) continue;
      for (std::size_t list = 0; list < 4; ++list) {
        if (code == std::array<std::string_view, 4>{"cv", "cd", "dp", "dn"}[list]) {
          ++counts[static_cast<std::size_t>(entry) - 1][list];
        }
      }
    } else {
      turn += starts_with(line, "s ") ? 1 : 0;
      drop += starts_with(line, "drop") ? 1 : 0;
      conditions += starts_with(line, "pcd") ? 1 : 0;
      items += starts_with(line, "item") ? 1 : 0;
      kinds += starts_with(line, "enemy") ? 1 : 0;
      piles += starts_with(line, "ammo") ? 1 : 0;
    }
  }
  const auto reserve = [](auto& choices, const auto& counts) {
    for (std::size_t k = 0; k < choices.size(); ++k) {
      Choice& choice = choices[k];
      choice.show_conditions.reserve(counts[k][0]);
      choice.use_conditions.reserve(counts[k][1]);
      choice.success_scripts.reserve(counts[k][2]);
      choice.failure_scripts.reserve(counts[k][3]);
    }
  };
  reserve(area.paths, paths);
  reserve(area.actions, actions);
  area.turn_scripts.reserve(turn);
  area.drop_scripts.reserve(drop);
  area.item_conditions.reserve(conditions);
  area.items.reserve(items);
  area.enemy_kinds.reserve(kinds);
  area.ammo_piles.reserve(piles);
}

}  // namespace

Area parse_area(LineSpan lines, const World& world, LoadDiagnostics* diagnostics) {
  Area area;
  const std::size_t keyword_part = read_sections(area, lines, diagnostics);
  make_room(area, lines);
  KeywordReader reader(area, world, keyword_part, diagnostics);
  for (std::size_t piece = 0; piece < lines.size(); ++piece) reader.read(piece, lines[piece]);
  reader.finish();
  return area;
}

}  // namespace vesk
