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

// The files of a game directory. Each is read once, when first asked for,
// and kept: the loaders, the line numbers of findings and the quotes of lines
// all work on that one reading.
class GameFiles {
 public:
  virtual ~GameFiles() = default;
  // Every entry of the directory, regular files or not.
  virtual std::vector<std::string> names() const = 0;
  // The file's content as the game reads it, or nothing where the game finds
  // no file (none there, or no regular file).
  const std::optional<std::string>& content(const std::string& name) const;

 protected:
  virtual std::optional<std::string> read(const std::string& name) const = 0;

 private:
  mutable std::map<std::string, std::optional<std::string>, std::less<>> read_;
};

// A game directory on disk, read through the game's own reader.
class DirectoryFiles : public GameFiles {
 public:
  explicit DirectoryFiles(std::filesystem::path directory) : directory_(std::move(directory)) {}
  std::vector<std::string> names() const override;

 protected:
  std::optional<std::string> read(const std::string& name) const override;

 private:
  std::filesystem::path directory_;
};

// A game held in memory, file name to content; for tests and benchmarks.
class MemoryFiles : public GameFiles {
 public:
  explicit MemoryFiles(std::map<std::string, std::string> files) : files_(std::move(files)) {}
  std::vector<std::string> names() const override;

 protected:
  std::optional<std::string> read(const std::string& name) const override;

 private:
  std::map<std::string, std::string> files_;
};

// Every finding about the game, sorted by file (numbered files in number
// order) and line.
std::vector<Finding> check_game(const GameFiles& files);

}  // namespace vesk::kit
