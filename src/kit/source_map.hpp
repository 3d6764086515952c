// The places of content lines as an author reads them: a record's source as
// its content file and physical line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/world.hpp"
#include "kit/game_files.hpp"

namespace vesk::kit {

// Turns the source of a record's line into its content file and physical
// line, from the files the world was loaded from: no file is read for it
// again.
class SourceMap {
 public:
  explicit SourceMap(const GameFiles& files) : files_(files) {}

  // The file's name ("area4.txt"); empty for a record not loaded from a file.
  std::string file_name(const World& world, const SourcePos& where) const;
  // The physical line, from 1; 0 for a record not loaded from a file.
  std::int64_t line(const World& world, const SourcePos& where);
  // "area4.txt:17", or the empty text for a record not loaded from a file.
  std::string place(const World& world, const SourcePos& where);

 private:
  const GameFiles& files_;
  std::map<std::string, std::vector<std::int64_t>> lines_;
};

// The world of a game as the game loads it, from `files`.
World load_world(const GameFiles& files);

}  // namespace vesk::kit
