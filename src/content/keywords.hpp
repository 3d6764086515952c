// The keywords of the content files: one table for each kind of file, read by
// its loader, by the rule that tells keyword lines from others, and by the
// authors' checker for its lists and suggestions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/diagnostics.hpp"

namespace vesk {

// How a keyword is found: at the start of a line, or as the whole line (the
// flags of an area file, which must stand alone with their line end).
enum class KeywordForm : std::uint8_t { kPrefix, kWholeLine };

template <typename Effect>
struct Keyword {
  std::string_view text;  // as a line begins with it: "attr " has its space
  KeywordForm form;
  Effect effect;

  bool begins(std::string_view line) const {
    if (form == KeywordForm::kPrefix) return line.starts_with(text);
    return line.size() == text.size() + 1 && line.starts_with(text) && line.back() == '\n';
  }
  // The keyword as a word, for messages: "attr", "d", "s".
  std::string_view word() const { return text.substr(0, text.find(' ')); }
};

template <typename Effect, std::size_t N>
using KeywordTable = std::array<Keyword<Effect>, N>;

// The first keyword of `table`, in its order, that `line` begins with; nullptr
// when there is none.
template <typename Effect, std::size_t N>
const Keyword<Effect>* find_keyword(const KeywordTable<Effect, N>& table, std::string_view line) {
  for (const Keyword<Effect>& keyword : table) {
    if (keyword.begins(line)) return &keyword;
  }
  return nullptr;
}

// Room in `list` for the lines of `lines` that are keyword lines of `effect`:
// a file may hold millions of script lines, and a list that grew line by line
// would hold its code twice whenever it moved.
template <typename List, typename Lines, typename Effect, std::size_t N>
void reserve_lines(List& list, const Lines& lines, const KeywordTable<Effect, N>& table, Effect effect) {
  std::size_t count = 0;
  std::size_t characters = 0;
  for (const std::string_view line : lines) {
    const Keyword<Effect>* keyword = find_keyword(table, line);
    if (keyword && keyword->effect == effect) {
      ++count;
      characters += line.size();
    }
  }
  list.reserve(count, characters);
}

// The words of a table's keywords, in its order.
template <typename Effect, std::size_t N>
std::vector<std::string> keyword_words(const KeywordTable<Effect, N>& table) {
  std::vector<std::string> words;
  for (const Keyword<Effect>& keyword : table) words.emplace_back(keyword.word());
  return words;
}

// Item files: every line is tested, the name line too.
enum class ItemEffect : std::uint8_t {
  kLamp,          // carrying it gives light
  kDefinite,      // named with "The"
  kWeapon,        // "weapon MIN MAX CHANCE"
  kWaterOnly,     // a weapon that works only in water
  kEverywhere,    // a weapon that works in water and out of it
  kAirSupply,     // carrying it slows the loss of air
  kAttribute,     // "attr NAME"
  kMelee,         // a weapon that needs no ammunition
  kAmmoCapacity,  // "a_N"
  kUseScript,     // "d LINE", a line of its use script
  kArmor,         // carrying it halves enemy damage
};
inline constexpr KeywordTable<ItemEffect, 11> kItemKeywords = {{
    {"lamp", KeywordForm::kPrefix, ItemEffect::kLamp},
    {"def", KeywordForm::kPrefix, ItemEffect::kDefinite},
    {"weapon", KeywordForm::kPrefix, ItemEffect::kWeapon},
    {"wtr", KeywordForm::kPrefix, ItemEffect::kWaterOnly},
    {"both", KeywordForm::kPrefix, ItemEffect::kEverywhere},
    {"air", KeywordForm::kPrefix, ItemEffect::kAirSupply},
    {"attr ", KeywordForm::kPrefix, ItemEffect::kAttribute},
    {"melee", KeywordForm::kPrefix, ItemEffect::kMelee},
    {"a_", KeywordForm::kPrefix, ItemEffect::kAmmoCapacity},
    {"d ", KeywordForm::kPrefix, ItemEffect::kUseScript},
    {"armor", KeywordForm::kPrefix, ItemEffect::kArmor},
}};

// Enemy files: every line is tested, those of the fixed part too.
enum class EnemyEffect : std::uint8_t {
  kGrapples,   // the enemy grapples the player when it appears
  kAttribute,  // "attr NAME FACTOR"
};
inline constexpr KeywordTable<EnemyEffect, 2> kEnemyKeywords = {{
    {"grapple", KeywordForm::kPrefix, EnemyEffect::kGrapples},
    {"attr ", KeywordForm::kPrefix, EnemyEffect::kAttribute},
}};

// Area files: the second pass tests every line from the top.
enum class AreaEffect : std::uint8_t {
  kSubdivided,     // "m2": spot rows follow
  kSwim,           // surface water
  kUnderWater,     // deep water
  kDark,           // dark without a lamp
  kAmmoPile,       // "ammo WEAPON AMOUNT [SPOT]"
  kItem,           // "item NAME [SPOT]"
  kEnemyKind,      // "enemy NAME [FIRST END STEP] CHANCE"
  kItemCondition,  // "pcd CONDITION"
  kDropScript,     // "drop LINE"
  kActionList,     // "action N CODE TEXT"
  kPathList,       // "path N CODE TEXT"
  kTurnScript,     // "s LINE"
};
inline constexpr KeywordTable<AreaEffect, 12> kAreaKeywords = {{
    {"m2", KeywordForm::kWholeLine, AreaEffect::kSubdivided},
    {"swim", KeywordForm::kWholeLine, AreaEffect::kSwim},
    {"wtr", KeywordForm::kWholeLine, AreaEffect::kUnderWater},
    {"dark", KeywordForm::kWholeLine, AreaEffect::kDark},
    {"ammo", KeywordForm::kPrefix, AreaEffect::kAmmoPile},
    {"item", KeywordForm::kPrefix, AreaEffect::kItem},
    {"enemy", KeywordForm::kPrefix, AreaEffect::kEnemyKind},
    {"pcd", KeywordForm::kPrefix, AreaEffect::kItemCondition},
    {"drop", KeywordForm::kPrefix, AreaEffect::kDropScript},
    {"action", KeywordForm::kPrefix, AreaEffect::kActionList},
    {"path", KeywordForm::kPrefix, AreaEffect::kPathList},
    {"s ", KeywordForm::kPrefix, AreaEffect::kTurnScript},
}};

// The four lists of a path or an action that an "action N CODE" or "path N
// CODE" line adds to, by their code, in the order of LineUse.
inline constexpr std::array<std::string_view, 4> kListCodes = {"cv", "cd", "dp", "dn"};

// What the checker hears of a line outside an area's spot rows, by the one
// rule of every kind of file: a line of the fixed part that is also read as a
// keyword line is a trap; a line of the keyword part that begins with no
// keyword is unknown, unless it is blank, a comment ("#"), or a whole-line
// keyword but for its trailing blanks or missing line end.
template <typename Effect, std::size_t N>
void report_keyword_line(LoadDiagnostics* diagnostics, std::size_t piece, bool in_keyword_part,
                         const KeywordTable<Effect, N>& table, const Keyword<Effect>* found, std::string_view line) {
  if (!diagnostics) return;
  if (!in_keyword_part) {
    if (found) diagnostics->fault(piece, LineFault::kKeywordTrap, found->text);
    return;
  }
  if (found) return;
  const std::size_t end = line.find_last_not_of(" \t\r\n");
  const std::string_view bare = end == std::string_view::npos ? std::string_view{} : line.substr(0, end + 1);
  for (const Keyword<Effect>& keyword : table) {
    if (keyword.form == KeywordForm::kWholeLine && !bare.empty() && bare == keyword.text) {
      diagnostics->fault(piece, LineFault::kNearKeyword, keyword.text);
      return;
    }
  }
  if (!is_blank_text(line) && !line.starts_with("#")) diagnostics->fault(piece, LineFault::kUnknownKeyword, {});
}

}  // namespace vesk
