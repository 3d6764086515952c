// The faults that the loaders reported, as findings that say what the game
// does with the line.
#include <algorithm>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/keywords.hpp"
#include "kit/check_context.hpp"

namespace vesk::kit {

namespace {

std::string_view keyword_part_name(const std::string& stem) {
  if (stem == "item") return "after the name line";
  if (stem == "enemy") return "after the blank line that ends the loot";
  return "after the fourth blank line";
}

// The keywords of the file kind `stem` ("item", "enemy" or "area"), as the
// loaders' tables have them.
std::vector<std::string> keywords_of(const std::string& stem) {
  if (stem == "item") return keyword_words(kItemKeywords);
  if (stem == "enemy") return keyword_words(kEnemyKeywords);
  return keyword_words(kAreaKeywords);
}

// "a, b, c".
template <typename Words>
std::string listed(const Words& words) {
  std::string list;
  for (const auto& word : words) list += (list.empty() ? "" : ", ") + std::string(word);
  return list;
}

// What a kind of short line needs.
std::string short_line_form(std::string_view form) {
  if (form == "path") return "a path line needs a label, an area number and a travel time: \"wooden door 4 30\"";
  if (form == "weapon") {
    return "a weapon line needs three numbers: \"weapon 2 8 70\" (damage from, damage to, hit chance)";
  }
  if (form == "attack") return "an attack line needs a text and three numbers: \"bites you 1 4 60\"";
  if (form == "loot") return R"(a loot line needs a name and three numbers: "rusty key 1 1 50" or "m 5 10 100")";
  if (form == "attr") return "an attribute line needs a name (and, in an enemy file, a factor): \"attr fire 2\"";
  if (form == "spot row") return "a spot row needs a spot number and four exits: \"3 4 0 2 -5\"";
  if (form == "item") return R"(an item line needs a name (and after "m2" a spot): "item rusty key")";
  if (form == "enemy") {
    return "an enemy line needs a name and a chance (after \"m2\" a first spot, an end spot and a step before the "
           "chance): \"enemy rat 20\"";
  }
  if (form == "ammo") {
    return R"(an ammo line needs a weapon name and an amount (after "m2" also a spot): "ammo bow 12")";
  }
  return "a list line needs a number, a code and a text: \"" + std::string(form) + " 1 dp 0 msg Hello\"";
}

}  // namespace

void report_loader_faults(Context& ctx) {
  for (const RawFault& fault : ctx.rec.faults) {
    const FileInfo& file = ctx.rec.files[fault.file];
    const std::string& subject = fault.subject;
    const std::size_t f = fault.file;
    const std::size_t p = fault.piece;
    switch (fault.fault) {
      case LineFault::kShortLine:
        ctx.add(f, p, Check::kShortLine,
                "the line is too short for its form, so the game ignores it; " + short_line_form(subject));
        break;
      case LineFault::kTextCut:
        ctx.add(f, p, Check::kTextCut,
                "the " + subject + " is longer than the game keeps, so it is cut; shorten it" +
                    (subject == "loot line" ? " (the cut loses the numbers at its end)" : ""));
        break;
      case LineFault::kUnknownItem:
        ctx.add(f, p, Check::kUnknownItem,
                "no item is named " + quote_text(subject) + ctx.item_hint(subject) + " (the line adds nothing)");
        break;
      case LineFault::kUnknownEnemy:
        ctx.add(f, p, Check::kUnknownEnemy,
                "no enemy is named " + quote_text(subject) + ctx.enemy_hint(subject) + " (the line adds nothing)");
        break;
      case LineFault::kUnknownWeapon:
        ctx.add(f, p, Check::kUnknownWeapon,
                "no weapon that fires ammunition is named " + quote_text(subject) + ctx.weapon_hint(subject) +
                    " (the line adds nothing)");
        break;
      case LineFault::kBadListNumber: {
        const AreaTrace* area = ctx.area_of_file(f);
        const bool path = starts_with(ctx.piece_text(f, p), "path");
        const std::size_t count = area ? (path ? area->paths.size() : area->actions.size()) : 0;
        ctx.add(f, p, Check::kBadListNumber,
                std::string("there is no ") + (path ? "path " : "action ") + subject + " (the area has " +
                    std::to_string(count) + (path ? " path" : " action") + (count == 1 ? "" : "s") +
                    "), so the game ignores the line; number " + (path ? "paths" : "actions") +
                    " from 1 in the order of their section");
        break;
      }
      case LineFault::kUnknownListCode:
        ctx.add(f, p, Check::kUnknownListCode,
                "the list code " + quote_text(subject) + " is none of " + listed(kListCodes) +
                    ", so the game ignores the line; write \"cv\" (show condition), \"cd\" "
                    "(use condition), \"dp\" (script when it succeeds) or \"dn\" (script when it fails)");
        break;
      case LineFault::kBadSpot:
        ctx.add(f, p, Check::kBadSpot,
                "the spot number " + quote_text(subject) +
                    " is below 1, so the game ignores the line; spots are numbered from 1");
        break;
      case LineFault::kSpotRowOrder:
        ctx.add(f, p, Check::kSpotRowOrder,
                "this spot row is numbered no higher than the row before it (" + subject +
                    "), and the last row decides how many spots there are, so the rows above it are lost; write the "
                    "rows once each, in the order 1, 2, 3, ...");
        break;
      case LineFault::kUnendedRows:
        ctx.add(f, p, Check::kUnendedRows,
                "the spot rows after \"m2\" run to the end of the file and are never ended, so the area has no spots "
                "at all; end them with a blank line");
        break;
      case LineFault::kRowsEndLine:
        ctx.add(f, p, Check::kEatenLine,
                "this line ends the spot rows and is used up doing so, so it is never read as " +
                    std::string(starts_with(subject, "a") || starts_with(subject, "i") || starts_with(subject, "e")
                                    ? "an "
                                    : "a ") +
                    quote_text(subject) + " line; put a blank line after the last spot row");
        break;
      case LineFault::kKeywordTrap:
        if (file.stem == "item") {
          ctx.add(f, p, Check::kKeywordTrap,
                  "the name line begins with " + quote_text(subject) +
                      ", so it is also read as that keyword line and gives the item its effect; if that is not meant, "
                      "choose a name that begins otherwise");
        } else if (file.stem == "enemy") {
          ctx.add(f, p, Check::kKeywordTrap,
                  "this line begins with " + quote_text(subject) +
                      ", and every line is also read for that keyword, so " +
                      (subject == "grapple" ? std::string("the enemy grapples")
                                            : std::string("the enemy gains an attribute")) +
                      "; if that is not meant, reword the line");
        } else {
          ctx.add(f, p, Check::kKeywordTrap,
                  "this line of the descriptions, paths and actions begins with " + quote_text(subject) +
                      ", so the second pass also reads it as a keyword line; reword it, or if it is meant as a keyword "
                      "line, check the blank lines above it (the keyword lines come after the fourth)");
        }
        break;
      case LineFault::kNearKeyword:
        ctx.add(f, p, Check::kNearKeyword,
                "the line is " + quote_text(subject) +
                    " only but for trailing blanks or a missing line end, and the game compares the whole line, so it "
                    "ignores it; write exactly " +
                    quote_text(subject) + " and end the line");
        break;
      case LineFault::kNotANumber: {
        std::string form;
        if (file.stem == "enemy") {
          for (const EnemyTrace& enemy : ctx.rec.enemies) {
            if (enemy.file != f) continue;
            if (std::find(enemy.attacks.begin(), enemy.attacks.end(), p) != enemy.attacks.end()) {
              form = "; an attack line is its text and three numbers, \"bites you 1 4 60\": is a word missing?";
            } else if (std::find(enemy.loot.begin(), enemy.loot.end(), p) != enemy.loot.end()) {
              form = "; a loot line is a name and three numbers, \"rusty key 1 1 50\": is a word missing?";
            }
          }
        }
        ctx.add(f, p, Check::kNotANumber,
                quote_text(subject) +
                    " stands where the game reads a number, and is no whole number, so the game "
                    "reads it as " +
                    std::to_string(to_int(subject)) + form);
        break;
      }
      case LineFault::kUnknownKeyword: {
        const Words words = split_words(ctx.piece_text(f, p));
        std::string hint;
        if (!words.empty()) {
          NearestName keywords(keywords_of(file.stem));
          hint = did_you_mean(keywords.nearest(words[0]));
        }
        ctx.add(f, p, Check::kUnknownKeyword,
                "the line " + std::string(keyword_part_name(file.stem)) + " begins with no keyword (" +
                    listed(keywords_of(file.stem)) + "), so the game ignores it" + hint +
                    " (begin a line with \"#\" to mark it as a comment)");
        break;
      }
    }
  }
}

}  // namespace vesk::kit
