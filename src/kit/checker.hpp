// The content checker behind `vesk-kit check`: loads a game with the engine's
// own loaders, hears from them of every line they drop, cut or read in a
// surprising way, and checks the loaded world on top.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/records.hpp"
#include "kit/game_files.hpp"

namespace vesk::kit {

// Error: the game ignores what the author wrote. Warning: the game does what
// was written, but that is likely not what was meant. Note: worth a look.
enum class Grade { kError, kWarning, kNote };

std::string_view grade_name(Grade grade);

// Every check, in the order the manual lists them.
enum class Check : std::uint8_t {
  kUnknownItem,
  kUnknownEnemy,
  kUnknownWeapon,
  kNeverObtainable,
  kBadArea,
  kBadSpot,
  kBadListNumber,
  kUnknownListCode,
  kBadMessage,
  kShortLine,
  kNotANumber,
  kKeywordTrap,
  kNearKeyword,
  kUnknownKeyword,
  kNumberingGap,
  kEmptyFile,
  kNotAFile,
  kTooLarge,
  kUnendedRows,
  kEatenLine,
  kSpotRowOrder,
  kBeforeM2,
  kUnreachableSpot,
  kOneWayExit,
  kEnemyNowhere,
  kEnemyRange,
  kTurnCaSubdivided,
  kUnknownCommand,
  kConditionCount,
  kBadCondition,
  kUnknownVariable,
  kUnwrittenVariable,
  kMissingLabel,
  kUnusedLabel,
  kUnreachableArea,
  kDeadEnd,
  kDarkNoLamp,
  kWaterNoAir,
  kNoAttacks,
  kLootInAttacks,
  kReversedBounds,
  kZeroChance,
  kTextCut,
  kLongLine,
  kEmptyDisplayName,
};

struct CheckInfo {
  Check check;
  std::string_view name;  // stable, kebab-case; what --ignore takes
  Grade grade;
  std::string_view summary;  // what it finds, for check --list
};

// The checks in the order of Check, each once.
std::span<const CheckInfo> all_checks();
const CheckInfo& check_info(Check check);
const CheckInfo* find_check(std::string_view name);

struct Finding {
  std::string file;   // the file's name within the game directory
  std::int64_t line;  // the physical line, from 1
  Grade grade;
  std::string check;
  std::string message;
};

// Every finding about the game, sorted by file (numbered files in number
// order) and line.
std::vector<Finding> check_game(const GameFiles& files);

}  // namespace vesk::kit
