// Item files: the name on the first line, then keyword lines that make the item
// a weapon, a lamp, armour or an air supply and give it attributes and use scripts.
#include <utility>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/keywords.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

// Applies `effect`, that of the keyword that `line` begins with.
void apply_item_keyword(Item& item, ItemEffect effect, std::string_view line, LoadDiagnostics* diagnostics,
                        std::size_t piece) {
  switch (effect) {
    case ItemEffect::kLamp:
      item.is_lamp = true;
      break;
    case ItemEffect::kDefinite:
      item.is_definite = true;
      break;
    case ItemEffect::kWeapon: {
      // The last three words are the damage range and the hit chance; a line
      // without three words after the keyword is no weapon line.
      const WordViews words = word_views(line);
      const std::size_t w = words.size();
      if (w < 4) {
        report_fault(diagnostics, piece, LineFault::kShortLine, "weapon");
        break;
      }
      report_kept(diagnostics, piece, LineUse::kWeapon);
      item.is_weapon = true;
      item.min_damage = read_number(words[w - 3], diagnostics, piece);
      item.max_damage = read_number(words[w - 2], diagnostics, piece);
      item.hit_chance = read_number(words[w - 1], diagnostics, piece);
      break;
    }
    case ItemEffect::kWaterOnly:
      item.water_use = 1;
      break;
    case ItemEffect::kEverywhere:
      item.water_use = 2;
      break;
    case ItemEffect::kAirSupply:
      item.supplies_air = true;
      break;
    case ItemEffect::kAttribute: {
      const std::string attribute = words_from(word_views(line), 1);
      if (attribute.empty()) report_fault(diagnostics, piece, LineFault::kShortLine, "attr");
      if (attribute.size() > kAttributeCapacity) report_fault(diagnostics, piece, LineFault::kTextCut, "attribute");
      item.attributes.push_back(cut(attribute, kAttributeCapacity));
      break;
    }
    case ItemEffect::kMelee:
      item.is_melee = true;
      break;
    case ItemEffect::kAmmoCapacity:
      item.ammo_capacity = read_number(line.substr(2), diagnostics, piece);
      break;
    case ItemEffect::kUseScript:
      report_kept(diagnostics, piece, LineUse::kUseScript);
      item.use_scripts.push_back(words_from(word_views(line), 1), static_cast<std::uint32_t>(piece));
      break;
    case ItemEffect::kArmor:
      item.is_armor = true;
      break;
  }
}

}  // namespace

Item parse_item(LineSpan lines, LoadDiagnostics* diagnostics) {
  Item item;
  if (!lines.empty() && !lines.front().empty()) {
    // The name is the first line less its last character, normally the line feed.
    const std::string_view first = lines.front();
    item.name = cut(first.substr(0, first.size() - 1), kItemNameCapacity);
  }
  reserve_lines(item.use_scripts, lines, kItemKeywords, ItemEffect::kUseScript);
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    // Every line is tested, the name line too, so a name such as "airship
    // ticket" supplies air.
    const Keyword<ItemEffect>* keyword = find_keyword(kItemKeywords, line);
    if (keyword) apply_item_keyword(item, keyword->effect, line, diagnostics, piece);
    report_keyword_line(diagnostics, piece, piece > 0, kItemKeywords, keyword, line);
  }
  return item;
}

}  // namespace vesk
