// The catalogue of checks: each one's name, grade and what it finds.
#include "kit/checker.hpp"

#include <array>

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

constexpr std::array<CheckInfo, 45> kChecks = {{
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
    {Check::kTooLarge, "too-large", Grade::kError, "a content file over 256 MiB, which the game counts as missing"},
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
    {Check::kLongLine, "long-line", Grade::kNote, "a shown line wider than an 80-column console"},
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

}  // namespace vesk::kit
