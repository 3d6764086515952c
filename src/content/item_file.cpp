// Item files: the name on the first line, then keyword lines that make the item
// a weapon, a lamp, armour or an air supply and give it attributes and use scripts.
#include <utility>

#include "base/text.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

// Applies the first keyword that `line` begins with and returns it, or the
// empty text when none matches. Every line of the file is tested, the name line
// too, so a name such as "airship ticket" supplies air.
std::string_view apply_item_keyword(Item& item, Lines& attributes, Script& use_scripts, std::string_view line,
                                    LoadDiagnostics* diagnostics, std::size_t piece) {
  if (starts_with(line, "lamp")) {
    item.is_lamp = true;
    return "lamp";
  }
  if (starts_with(line, "def")) {
    item.is_definite = true;
    return "def";
  }
  if (starts_with(line, "weapon")) {
    // The last three words are the damage range and the hit chance; a line
    // without three words after the keyword is no weapon line.
    const WordViews words = word_views(line);
    const std::size_t w = words.size();
    if (w < 4) {
      report_fault(diagnostics, piece, LineFault::kShortLine, "weapon");
      return "weapon";
    }
    report_kept(diagnostics, piece, LineUse::kWeapon);
    item.is_weapon = true;
    item.min_damage = to_int(words[w - 3]);
    item.max_damage = to_int(words[w - 2]);
    item.hit_chance = to_int(words[w - 1]);
    return "weapon";
  }
  if (starts_with(line, "wtr")) {
    item.water_use = 1;
    return "wtr";
  }
  if (starts_with(line, "both")) {
    item.water_use = 2;
    return "both";
  }
  if (starts_with(line, "air")) {
    item.supplies_air = true;
    return "air";
  }
  if (starts_with(line, "attr ")) {
    const WordViews words = word_views(line);
    const std::string attribute = words_from(words, 1);
    if (attribute.empty()) report_fault(diagnostics, piece, LineFault::kShortLine, "attr");
    if (attribute.size() > kAttributeCapacity) report_fault(diagnostics, piece, LineFault::kTextCut, "attribute");
    attributes.push_back(cut(attribute, kAttributeCapacity));
    return "attr ";
  }
  if (starts_with(line, "melee")) {
    item.is_melee = true;
    return "melee";
  }
  if (starts_with(line, "a_")) {
    item.ammo_capacity = to_int(line.substr(2));
    return "a_";
  }
  if (starts_with(line, "d ")) {
    const WordViews words = word_views(line);
    report_kept(diagnostics, piece, LineUse::kUseScript);
    use_scripts.push_back(parse_use_script_line(words_from(words, 1)));
    note_piece(use_scripts, piece);
    return "d ";
  }
  if (starts_with(line, "armor")) {
    item.is_armor = true;
    return "armor";
  }
  return {};
}

}  // namespace

Item parse_item(LineSpan lines, LoadDiagnostics* diagnostics) {
  Item item;
  if (!lines.empty() && !lines.front().empty()) {
    // The name is the first line less its last character, normally the line feed.
    const std::string_view first = lines.front();
    item.name = cut(first.substr(0, first.size() - 1), kItemNameCapacity);
  }
  // The lists are gathered here and stored once, to be shared by every copy.
  Lines attributes;
  Script use_scripts;
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    const std::string_view keyword = apply_item_keyword(item, attributes, use_scripts, line, diagnostics, piece);
    if (!diagnostics) continue;
    if (piece == 0 && !keyword.empty()) {
      report_fault(diagnostics, piece, LineFault::kKeywordTrap, keyword);
    } else if (piece > 0 && keyword.empty() && !is_blank_text(line) && !starts_with(line, "#")) {
      report_fault(diagnostics, piece, LineFault::kUnknownKeyword);
    }
  }
  item.attributes = std::move(attributes);
  item.use_scripts = std::move(use_scripts);
  return item;
}

}  // namespace vesk
