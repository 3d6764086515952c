// The content checker: what the loaders report, turned into findings, and the
// checks over the loaded world that no single line shows.
#include "kit/checker.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/diagnostics.hpp"
#include "content/keywords.hpp"
#include "content/world.hpp"
#include "kit/check_context.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

std::string_view grade_name(Grade grade) {
  switch (grade) {
    case Grade::kError:
      return "error";
    case Grade::kWarning:
      return "warning";
    case Grade::kNote:
      return "note";
  }
  return "note";
}

namespace {

constexpr std::array<CheckInfo, 43> kChecks = {{
    {Check::kUnknownItem, "unknown-item", Grade::kError, "a name that matches no item"},
    {Check::kUnknownEnemy, "unknown-enemy", Grade::kError, "a name that matches no enemy"},
    {Check::kUnknownWeapon, "unknown-weapon", Grade::kError, "a name that matches no weapon that fires ammunition"},
    {Check::kNeverObtainable, "never-obtainable", Grade::kWarning,
     "a held test for an item that no area, script or loot gives"},
    {Check::kBadArea, "bad-area", Grade::kError, "an area number beyond the game's areas"},
    {Check::kBadSpot, "bad-spot", Grade::kError, "a spot number beyond the area's spots"},
    {Check::kBadListNumber, "bad-list-number", Grade::kError, "a list line for a path or action that does not exist"},
    {Check::kUnknownListCode, "unknown-list-code", Grade::kError, "a list line whose code is none of cv, cd, dp, dn"},
    {Check::kBadMessage, "bad-message", Grade::kError, "a message file or line that does not exist"},
    {Check::kShortLine, "short-line", Grade::kError, "a line too short for its form"},
    {Check::kNotANumber, "not-a-number", Grade::kWarning, "a word where a number is read that is no whole number"},
    {Check::kKeywordTrap, "keyword-trap", Grade::kWarning, "a line that is also read as a keyword line"},
    {Check::kNearKeyword, "near-keyword", Grade::kError, "a keyword line but for trailing blanks or its line end"},
    {Check::kUnknownKeyword, "unknown-keyword", Grade::kError,
     "a line of the keyword part that begins with no keyword"},
    {Check::kNumberingGap, "numbering-gap", Grade::kError, "a content file after a gap in the numbering, never read"},
    {Check::kEmptyFile, "empty-file", Grade::kWarning, "an empty content file"},
    {Check::kNotAFile, "not-a-file", Grade::kError, "a content file name that is no regular file"},
    {Check::kUnendedRows, "unended-rows", Grade::kError, "spot rows that run to the end of the file"},
    {Check::kEatenLine, "eaten-line", Grade::kError, "a keyword line used up to end the spot rows"},
    {Check::kSpotRowOrder, "spot-row-order", Grade::kError, "spot rows out of order or with gaps"},
    {Check::kBeforeM2, "before-m2", Grade::kError, "an item, enemy or ammo line above the \"m2\" line"},
    {Check::kUnreachableSpot, "unreachable-spot", Grade::kWarning, "spots that no exit reaches"},
    {Check::kOneWayExit, "one-way-exit", Grade::kNote, "an exit whose spot has no exit back"},
    {Check::kEnemyNowhere, "enemy-nowhere", Grade::kError, "an enemy range that holds no spot"},
    {Check::kEnemyRange, "enemy-range", Grade::kWarning, "an enemy range that reaches beyond the spots"},
    {Check::kTurnCaSubdivided, "turn-ca-subdivided", Grade::kWarning,
     "a turn script that moves the player to a subdivided area"},
    {Check::kUnknownCommand, "unknown-command", Grade::kError, "a script command word that is no command"},
    {Check::kConditionCount, "condition-count", Grade::kError, "a condition count that does not fit the line"},
    {Check::kBadCondition, "bad-condition", Grade::kError, "a condition that is always false by its form"},
    {Check::kUnknownVariable, "unknown-variable", Grade::kError, "a name that is no variable"},
    {Check::kUnwrittenVariable, "unwritten-variable", Grade::kWarning, "a variable that is read and never written"},
    {Check::kMissingLabel, "missing-label", Grade::kError, "a repeat line with no label above it"},
    {Check::kUnusedLabel, "unused-label", Grade::kNote, "a label that no repeat line jumps to"},
    {Check::kUnreachableArea, "unreachable-area", Grade::kWarning, "an area that no path or script leads to"},
    {Check::kDeadEnd, "dead-end", Grade::kWarning, "an area that the player cannot leave"},
    {Check::kDarkNoLamp, "dark-no-lamp", Grade::kWarning, "a dark area in a game without a lamp"},
    {Check::kWaterNoAir, "water-no-air", Grade::kNote, "a water area in a game without air"},
    {Check::kNoAttacks, "no-attacks", Grade::kWarning, "an enemy without attacks"},
    {Check::kLootInAttacks, "loot-in-attacks", Grade::kError, "loot lines read as attacks, for want of a blank line"},
    {Check::kReversedBounds, "reversed-bounds", Grade::kWarning, "a range whose lower bound is above its upper"},
    {Check::kZeroChance, "zero-chance", Grade::kWarning, "a chance of 0 percent or below"},
    {Check::kTextCut, "text-cut", Grade::kWarning, "a line or text longer than the game keeps"},
    {Check::kEmptyDisplayName, "empty-display-name", Grade::kWarning, "an enemy whose shown name is empty"},
}};

constexpr bool in_enum_order() {
  for (std::size_t k = 0; k < kChecks.size(); ++k) {
    if (static_cast<std::size_t>(kChecks[k].check) != k) return false;
  }
  return true;
}
static_assert(in_enum_order(), "kChecks holds each check at the place of its Check value");

}  // namespace

std::span<const CheckInfo> all_checks() { return kChecks; }

const CheckInfo& check_info(Check check) { return kChecks[static_cast<std::size_t>(check)]; }

const CheckInfo* find_check(std::string_view name) {
  for (const CheckInfo& check : kChecks) {
    if (check.name == name) return &check;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Game files.

const std::optional<std::string>& GameFiles::content(const std::string& name) const {
  auto found = read_.find(name);
  if (found == read_.end()) found = read_.emplace(name, read(name)).first;
  return found->second;
}

std::vector<std::string> DirectoryFiles::names() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory_, error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::optional<std::string> DirectoryFiles::read(const std::string& name) const { return read_file(directory_ / name); }

std::vector<std::string> MemoryFiles::names() const {
  std::vector<std::string> names;
  for (const auto& [name, content] : files_) names.push_back(name);
  return names;
}

std::optional<std::string> MemoryFiles::read(const std::string& name) const {
  auto it = files_.find(name);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

// ---------------------------------------------------------------------------
// The recorder: what the loaders say, file by file.

NumberedName parse_numbered_name(std::string_view name) {
  for (std::string_view stem : {"msg", "item", "enemy", "area"}) {
    if (!starts_with(name, stem) || name.size() <= stem.size() + 4) continue;
    const std::string_view digits = name.substr(stem.size(), name.size() - stem.size() - 4);
    if (name.substr(name.size() - 4) != ".txt" || digits.front() == '0') continue;
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    return NumberedName{std::string(stem), static_cast<std::int32_t>(to_int(digits))};
  }
  return NumberedName{};
}

void Recorder::begin_file(std::string_view file_name, const Lines& lines) {
  FileInfo info;
  info.name = std::string(file_name);
  const NumberedName numbered = parse_numbered_name(file_name);
  info.stem = numbered.stem;
  info.number = numbered.number;
  info.pieces = lines.size();
  info.lines = lines;
  // A piece that fills the reader's buffer without a line end, with more
  // pieces after it, is the start or middle of a longer line.
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const std::string_view piece = lines[k];
    if (piece.size() == kLineCapacity && piece.back() != '\n') info.long_pieces.push_back(k);
  }
  files.push_back(std::move(info));
  current_file_ = files.size() - 1;
  const std::string& stem = files.back().stem;
  if (stem == "item") {
    items.push_back(ItemTrace{current_file_, {}, {}});
  } else if (stem == "enemy") {
    enemies.push_back(EnemyTrace{current_file_, {}, {}});
  } else if (stem == "area") {
    areas.emplace_back();
    areas.back().file = current_file_;
  } else if (stem == "msg") {
    messages.push_back(current_file_);
  }
}

void Recorder::fault(std::size_t piece, LineFault fault, std::string_view subject) {
  faults.push_back(RawFault{current_file_, piece, fault, std::string(subject)});
}

void Recorder::kept(std::size_t piece, LineUse use, std::int32_t entry) {
  const std::string& stem = files[current_file_].stem;
  if (stem == "item") {
    ItemTrace& item = items.back();
    if (use == LineUse::kWeapon) item.weapon = piece;
    if (use == LineUse::kUseScript) item.use_scripts.push_back(piece);
    return;
  }
  if (stem == "enemy") {
    EnemyTrace& enemy = enemies.back();
    if (use == LineUse::kAttack) enemy.attacks.push_back(piece);
    if (use == LineUse::kLoot) enemy.loot.push_back(piece);
    return;
  }
  if (stem != "area") return;
  AreaTrace& area = areas.back();
  auto list_line = [&](std::vector<ListPieces>& entries, int list) {
    if (entry < 1) return;
    if (entries.size() < static_cast<std::size_t>(entry)) entries.resize(static_cast<std::size_t>(entry));
    entries[static_cast<std::size_t>(entry - 1)][static_cast<std::size_t>(list)].push_back(piece);
  };
  switch (use) {
    case LineUse::kPath:
      area.paths.push_back(piece);
      break;
    case LineUse::kAction:
      area.actions.push_back(piece);
      break;
    case LineUse::kPathShow:
    case LineUse::kPathUse:
    case LineUse::kPathSuccess:
    case LineUse::kPathFailure:
      list_line(area.path_lists, static_cast<int>(use) - static_cast<int>(LineUse::kPathShow));
      break;
    case LineUse::kActionShow:
    case LineUse::kActionUse:
    case LineUse::kActionSuccess:
    case LineUse::kActionFailure:
      list_line(area.action_lists, static_cast<int>(use) - static_cast<int>(LineUse::kActionShow));
      break;
    case LineUse::kItemCondition:
      area.item_conditions.push_back(piece);
      break;
    case LineUse::kDropScript:
      area.drop_scripts.push_back(piece);
      break;
    case LineUse::kTurnScript:
      area.turn_scripts.push_back(piece);
      break;
    case LineUse::kAreaItem:
      area.items.push_back(piece);
      break;
    case LineUse::kAmmoPile:
      area.ammo.push_back(piece);
      break;
    case LineUse::kEnemyKind:
      area.enemies.push_back(piece);
      break;
    case LineUse::kSpotRow:
      area.rows.emplace_back(entry, piece);
      break;
    case LineUse::kSubdivided:
      if (!area.m2) area.m2 = piece;
      break;
    case LineUse::kDark:
      area.dark = piece;
      break;
    case LineUse::kWater:
      area.water = piece;
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// Reporting.

std::string did_you_mean(const std::string& suggestion) {
  return suggestion.empty() ? std::string() : "; did you mean " + quote_text(suggestion) + "?";
}

void Context::add(std::size_t file, std::size_t piece, Check check, std::string message) {
  pending.push_back(PendingFinding{file, piece, check, std::move(message)});
}

Context::Context(const World& w, Recorder& r) : world(w), rec(r), area_facts(w.area_count()) {
  for (const Item& item : world.items) item_names.add(item.name);
  for (const Enemy& enemy : world.enemies) enemy_names.add(enemy.name);
  for (std::size_t entry = 0; entry < world.ammo.size(); ++entry) weapon_names.add(world.ammo_weapon_name(entry));
  for (std::size_t a = 0; a < rec.areas.size(); ++a) area_by_file.emplace(rec.areas[a].file, a);
}

void Context::add_for_name(const std::string& name, Check check, std::string message) {
  FileInfo info;
  info.name = name;
  const NumberedName numbered = parse_numbered_name(name);
  info.stem = numbered.stem;
  info.number = numbered.number;
  rec.files.push_back(std::move(info));
  add(rec.files.size() - 1, 0, check, std::move(message));
}

std::string Context::piece_text(std::size_t file, std::size_t piece) const {
  const Lines& lines = rec.files[file].lines;
  return piece < lines.size() ? lines[piece] : std::string();
}

const AreaTrace* Context::area_of_file(std::size_t file) const {
  auto it = area_by_file.find(file);
  return it == area_by_file.end() ? nullptr : &rec.areas[it->second];
}

std::string Context::item_hint(const std::string& name) { return did_you_mean(item_names.nearest(name)); }
std::string Context::enemy_hint(const std::string& name) { return did_you_mean(enemy_names.nearest(name)); }
std::string Context::weapon_hint(const std::string& name) {
  std::string hint = did_you_mean(weapon_names.nearest(name));
  if (hint.empty() && world.find_item(name)) {
    return "; the item " + quote_text(name) +
           R"( is no weapon that fires ammunition (a "weapon" line without "melee"))";
  }
  return hint;
}

// ---------------------------------------------------------------------------
// Faults that the loaders reported.

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

// ---------------------------------------------------------------------------
// File checks.

void check_files(Context& ctx, const GameFiles& files) {
  std::map<std::string, std::int32_t> loaded;
  for (const FileInfo& file : ctx.rec.files) {
    if (!file.stem.empty()) loaded[file.stem] = std::max(loaded[file.stem], file.number);
    const auto f = static_cast<std::size_t>(&file - ctx.rec.files.data());
    if (file.pieces == 0) {
      ctx.add(f, 0, Check::kEmptyFile,
              "the file is empty" +
                  std::string(file.stem == "area" ? ", so the area has no description, no paths and no actions"
                                                  : ", so it adds an empty record") +
                  "; fill it in or remove it and renumber the files after it");
    }
    for (std::size_t piece : file.long_pieces) {
      if (piece > 0 &&
          std::find(file.long_pieces.begin(), file.long_pieces.end(), piece - 1) != file.long_pieces.end()) {
        continue;
      }
      ctx.add(f, piece, Check::kTextCut,
              "the line is longer than 254 characters, and the game reads it in pieces of 254, each piece as a line "
              "of its own" +
                  std::string(file.stem == "msg" ? " (later messages move up in the numbering)" : "") +
                  "; break it into shorter lines");
    }
  }
  // The first unread file of each kind after a gap.
  std::map<std::string, std::pair<std::int32_t, std::string>> unread;
  for (const std::string& name : files.names()) {
    const NumberedName numbered = parse_numbered_name(name);
    if (numbered.stem.empty()) continue;
    if (numbered.number == loaded[numbered.stem] + 1 && !files.content(name)) {
      ctx.add_for_name(name, Check::kNotAFile,
                       "the game reads regular files only, and this is none (or cannot be read), so it counts as "
                       "missing and no " +
                           numbered.stem + " file from here on is read; make it a plain file");
      continue;
    }
    if (numbered.number <= loaded[numbered.stem] + 1) continue;
    auto [it, fresh] = unread.emplace(numbered.stem, std::make_pair(numbered.number, name));
    if (!fresh && numbered.number < it->second.first) it->second = {numbered.number, name};
  }
  for (const auto& [stem, first] : unread) {
    const std::string missing = stem + std::to_string(loaded[stem] + 1) + ".txt";
    std::string message = format_text(
        "the game reads %s files from %s1.txt up to the first missing number, and %s is missing, so this file and "
        "every later %s file are never read; renumber the files without a gap",
        stem.c_str(), stem.c_str(), missing.c_str(), stem.c_str());
    ctx.add_for_name(first.second, Check::kNumberingGap, std::move(message));
  }
}

// ---------------------------------------------------------------------------
// Assembly: locations to physical lines, suppression, sorting.

namespace {

bool file_order(const FileInfo& a, const FileInfo& b) {
  return std::tie(a.stem, a.number, a.name) < std::tie(b.stem, b.number, b.name);
}

}  // namespace

std::vector<Finding> check_game(const GameFiles& files) {
  Recorder rec;
  const World world = load_world([&](const std::string& name) { return files.content(name); }, &rec);
  Context ctx(world, rec);
  report_loader_faults(ctx);
  check_files(ctx, files);
  check_scripts(ctx);
  check_records(ctx);
  check_world(ctx);

  // Pieces whose line is explained by a finding of its own: a line of the
  // first part read as a keyword line, and the later pieces of a long line.
  std::set<std::pair<std::size_t, std::size_t>> explained;
  for (const RawFault& fault : rec.faults) {
    if (fault.fault == LineFault::kKeywordTrap && rec.files[fault.file].stem == "area") {
      explained.emplace(fault.file, fault.piece);
    }
  }
  for (std::size_t f = 0; f < rec.files.size(); ++f) {
    for (std::size_t piece : rec.files[f].long_pieces) explained.emplace(f, piece + 1);
  }

  std::map<std::size_t, std::vector<std::int64_t>> line_maps;
  std::vector<std::pair<const FileInfo*, Finding>> located;
  std::set<std::tuple<std::size_t, std::size_t, Check, std::string>> seen;
  for (PendingFinding& found : ctx.pending) {
    const bool own = found.check == Check::kKeywordTrap || found.check == Check::kTextCut;
    if (!own && explained.count({found.file, found.piece})) continue;
    if (!seen.emplace(found.file, found.piece, found.check, found.message).second) continue;
    const FileInfo& file = rec.files[found.file];
    auto map = line_maps.find(found.file);
    if (map == line_maps.end()) {
      map = line_maps.emplace(found.file, physical_lines(files.content(file.name).value_or(std::string()))).first;
    }
    const std::vector<std::int64_t>& lines = map->second;
    const std::int64_t line =
        found.piece < lines.size() ? lines[found.piece] : static_cast<std::int64_t>(found.piece) + 1;
    const CheckInfo& check = check_info(found.check);
    located.emplace_back(&file,
                         Finding{file.name, line, check.grade, std::string(check.name), std::move(found.message)});
  }
  std::stable_sort(located.begin(), located.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return file_order(*a.first, *b.first);
    return a.second.line < b.second.line;
  });
  std::vector<Finding> findings;
  findings.reserve(located.size());
  for (auto& entry : located) findings.push_back(std::move(entry.second));
  return findings;
}

}  // namespace vesk::kit
