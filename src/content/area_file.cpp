// Area files: long and short description, paths and actions (four sections ended
// by blank lines), then keyword lines read in a second pass from the top.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/keywords.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

std::string_view word(const WordViews& words, long index) { return words[static_cast<std::size_t>(index)]; }

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
  path.target_area = read_number(word(words, w - 2), diagnostics, piece);
  path.travel_time = read_number(word(words, w - 1), diagnostics, piece);
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
  int section = 0;
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    if (is_blank_line(line)) {
      if (++section == 4) return piece + 1;
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
        if (!starts_with(line, "none")) add_path(area, line, diagnostics, piece);
        break;
      default:
        if (!starts_with(line, "none")) add_action(area, line, diagnostics, piece);
        break;
    }
  }
  return lines.size();
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
    const Keyword<AreaEffect>* keyword = find_keyword(kAreaKeywords, line);
    report_keyword_line(diagnostics_, piece_, piece_ >= keyword_part_, kAreaKeywords, keyword, line);
    if (!keyword) return;
    switch (keyword->effect) {
      case AreaEffect::kSubdivided:
        report_kept(diagnostics_, piece_, LineUse::kSubdivided);
        m2_piece_ = piece_;
        area_.is_subdivided = true;
        subdivided_form_ = true;
        reading_rows_ = true;
        break;
      case AreaEffect::kSwim:
        report_kept(diagnostics_, piece_, LineUse::kWater);
        area_.water_level = 1;
        break;
      case AreaEffect::kUnderWater:
        report_kept(diagnostics_, piece_, LineUse::kWater);
        area_.water_level = 2;
        break;
      case AreaEffect::kDark:
        report_kept(diagnostics_, piece_, LineUse::kDark);
        area_.is_dark = true;
        break;
      case AreaEffect::kAmmoPile:
        add_ammo_pile(word_views(line));
        break;
      case AreaEffect::kItem:
        add_item(word_views(line));
        break;
      case AreaEffect::kEnemyKind:
        add_enemy_kind(word_views(line));
        break;
      case AreaEffect::kItemCondition:
        report_kept(diagnostics_, piece_, LineUse::kItemCondition);
        add_line(area_.item_conditions, words_from(word_views(line), 1));
        break;
      case AreaEffect::kDropScript:
        report_kept(diagnostics_, piece_, LineUse::kDropScript);
        add_line(area_.drop_scripts, words_from(word_views(line), 1));
        break;
      case AreaEffect::kActionList:
        add_list_line(area_.actions, word_views(line), LineUse::kActionShow);
        break;
      case AreaEffect::kPathList:
        add_list_line(area_.paths, word_views(line), LineUse::kPathShow);
        break;
      case AreaEffect::kTurnScript:
        report_kept(diagnostics_, piece_, LineUse::kTurnScript);
        add_line(area_.turn_scripts, words_from(word_views(line), 1));
        break;
    }
  }

  // After the last line: spot rows that nothing ended leave the area without spots.
  void finish() {
    if (reading_rows_) report_fault(diagnostics_, m2_piece_, LineFault::kUnendedRows);
  }

 private:
  // `text`, a condition or a script line, appended to `list`.
  template <typename List>
  void add_line(List& list, const std::string& text) {
    list.push_back(text, static_cast<std::uint32_t>(piece_));
  }

  // A spot row "n e0 e1 e2 e3"; a line whose first word is empty or no integer
  // ends the rows and sets the spot count.
  void read_spot_row(std::string_view line) {
    const WordViews words = word_views(line);
    if (words.empty() || words[0].empty() || !is_integer_text(words[0])) {
      reading_rows_ = false;
      area_.spot_count = current_rows_;
      if (const Keyword<AreaEffect>* keyword = find_keyword(kAreaKeywords, line)) {
        report_fault(diagnostics_, piece_, LineFault::kRowsEndLine, keyword->text);
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
    for (std::size_t d = 0; d < 4; ++d) exits[d] = read_number(words[d + 1], diagnostics_, piece_);
    area_.spot_exits.write(spot, exits);
    current_rows_ = spot;
  }

  // "ammo bow 40", after "m2" "ammo bow 40 3" with a spot.
  void add_ammo_pile(const WordViews& words) {
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
    pile.amount = read_number(word(words, name_end + 1), diagnostics_, piece_);
    if (subdivided_form_) {
      pile.spot = read_number(word(words, w - 1), diagnostics_, piece_);
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
  void add_item(const WordViews& words) {
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
      item.spot = read_number(word(words, w - 1), diagnostics_, piece_);
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
  void add_enemy_kind(const WordViews& words) {
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
    EnemyKind kind{found, read_number(word(words, w - 1), diagnostics_, piece_)};
    if (subdivided_form_) {
      kind.first_spot = read_number(word(words, w - 4), diagnostics_, piece_);
      kind.end_spot = read_number(word(words, w - 3), diagnostics_, piece_);
      kind.spot_step = read_number(word(words, w - 2), diagnostics_, piece_);
    }
    area_.enemy_kinds.push_back(kind);
  }

  // "action N K text" or "path N K text": the text goes to list K of entry N.
  // `show` is the use of a show condition of this kind of entry; the other three
  // lists follow it in LineUse.
  template <typename Entry>
  void add_list_line(std::vector<Entry>& entries, const WordViews& words, LineUse show) {
    const long w = word_count(words);
    if (w < 3) {
      report_fault(diagnostics_, piece_, LineFault::kShortLine, words.empty() ? "" : words[0]);
      return;
    }
    const std::int32_t number = read_number(words[1], diagnostics_, piece_);
    Entry* found = nth(entries, number);
    if (!found) {
      report_fault(diagnostics_, piece_, LineFault::kBadListNumber, words[1]);
      return;
    }
    Choice& entry = *found;
    const std::string_view code = words[2];
    const std::string text = words_from(words, 3);
    const auto list = std::find(kListCodes.begin(), kListCodes.end(), code) - kListCodes.begin();
    if (list == std::ssize(kListCodes)) {
      report_fault(diagnostics_, piece_, LineFault::kUnknownListCode, code);
      return;
    }
    report_kept(diagnostics_, piece_, static_cast<LineUse>(static_cast<int>(show) + list), number);
    if (list < 2) {
      add_line(list == 0 ? entry.show_conditions : entry.use_conditions, text);
    } else {
      add_line(list == 2 ? entry.success_scripts : entry.failure_scripts, text);
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
};

}  // namespace

Area parse_area(LineSpan lines, const World& world, LoadDiagnostics* diagnostics) {
  Area area;
  // An area file may lay out millions of items: room for every line that may
  // be one saves the copies of a growing list.
  area.items.reserve(static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [](std::string_view line) { return starts_with(line, "item"); })));
  reserve_lines(area.turn_scripts, lines, kAreaKeywords, AreaEffect::kTurnScript);
  reserve_lines(area.drop_scripts, lines, kAreaKeywords, AreaEffect::kDropScript);
  const std::size_t keyword_part = read_sections(area, lines, diagnostics);
  KeywordReader reader(area, world, keyword_part, diagnostics);
  for (std::size_t piece = 0; piece < lines.size(); ++piece) reader.read(piece, lines[piece]);
  reader.finish();
  return area;
}

}  // namespace vesk
