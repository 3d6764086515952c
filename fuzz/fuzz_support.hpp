// Shared pieces of the fuzz targets: a game world held in memory, an output
// that discards everything, and a game run that cannot hang.
#pragma once

#include <map>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "base/text.hpp"
#include "content/world.hpp"
#include "core/game.hpp"

namespace vesk::fuzzing {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

using Files = std::map<std::string, std::string, std::less<>>;

inline World world_of(const Files& files) {
  return load_world([&](const std::string& name) -> std::optional<Lines> {
    const auto file = files.find(name);
    if (file == files.end()) return std::nullopt;
    return split_lines(file->second);
  });
}

// Plays `world` with `input` until the input ends. Saves go to a directory
// that does not exist, so they fail without touching the disk, and script
// loops are cut short so that every input runs quickly.
inline void play_in_memory(World world, std::string_view input, std::uint32_t seed) {
  if (world.areas.empty()) return;
  std::istringstream in{std::string(input)};
  NullBuffer sink;
  std::ostream out(&sink);
  Game game(std::move(world), in, out, seed, "/nonexistent/vesk-fuzz");
  game.state().jump_limit = 1000;
  game.run();
}

}  // namespace vesk::fuzzing
