// Shared pieces of the fuzz targets: a game world held in memory, an output
// that discards everything, and a game run with a directory for its saves.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>

#include "content/world.hpp"
#include "core/game.hpp"

namespace vesk::fuzzing {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

using Files = std::map<std::string, std::string, std::less<>>;

// The world of a game held in memory, loaded as the game loads it: each area
// is worked out when play first needs it.
inline std::shared_ptr<const World> world_of(const Files& files) {
  return std::make_shared<const World>(load_world(
      [&](const std::string& name) -> std::optional<std::string> {
        const auto file = files.find(name);
        if (file == files.end()) return std::nullopt;
        return file->second;
      },
      nullptr, AreaLoading::kOnDemand));
}

// A fresh directory for the saved games of one run, removed with everything
// in it when the run ends.
class SaveDirectory {
 public:
  SaveDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesk-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  SaveDirectory(const SaveDirectory&) = delete;
  SaveDirectory& operator=(const SaveDirectory&) = delete;
  ~SaveDirectory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Plays `world` with `input` until the input ends, with the game's own limits:
// saves and loads go to a real directory of their own, and script loops run
// as long as they would in a game. The world is shared: every game played on
// it starts from the same definitions.
inline void play_in_memory(const std::shared_ptr<const World>& world, std::string_view input, std::uint32_t seed) {
  if (!world->has_areas()) return;
  const SaveDirectory saves;
  if (saves.path().empty()) return;
  std::istringstream in{std::string(input)};
  NullBuffer sink;
  std::ostream out(&sink);
  Game game(world, in, out, seed, saves.path());
  game.run();
}

}  // namespace vesk::fuzzing
