// Fuzzes every file reader on arbitrary bytes: the item, enemy and area loaders
// and the saved-game reader.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>

#include "fuzz_support.hpp"
#include "script/saved_game.hpp"

namespace {

const std::shared_ptr<const vesk::World>& catalogues() {
  static const std::shared_ptr<const vesk::World> world = vesk::fuzzing::world_of({
      {"item1.txt", "bow\nweapon 1 6 70\n"},
      {"item2.txt", "rusty key\nd 1 = v1 0 msg click\n"},
      {"enemy1.txt", "rat 2\n5\n\nbites 1 3 50\n\nm 1 5 50\n\n"},
      {"area1.txt", "Hall.\n\nHall.\n\ndoor 2 60\n\nnone\n\n"},
      {"area2.txt", "Maze.\n\nMaze.\n\nnone\n\nnone\n\nm2\n1 2 0 0 -1\n2 0 0 1 0\n\n"},
  });
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vesk::Lines lines = vesk::split_lines(text);
  vesk::parse_item(lines);
  vesk::parse_enemy(lines);
  const vesk::Area area = vesk::parse_area(lines, *catalogues());
  // A spot count may be anything up to the 32-bit maximum: the spots looked at
  // are the first few and those around the last, each with the directions
  // around the four there are.
  const auto look_around = [&](std::int64_t from, std::int64_t to) {
    for (std::int64_t spot = std::max<std::int64_t>(from, INT32_MIN); spot <= std::min<std::int64_t>(to, INT32_MAX);
         ++spot) {
      for (std::int32_t direction = -1; direction <= 4; ++direction) {
        area.exit_of(static_cast<std::int32_t>(spot), direction);
      }
    }
  };
  look_around(-1, std::min<std::int64_t>(area.spot_count, 64) + 1);
  look_around(std::int64_t{area.spot_count} - 1, std::int64_t{area.spot_count} + 1);

  std::istringstream in;
  vesk::fuzzing::NullBuffer sink;
  std::ostream out(&sink);
  vesk::GameState game(catalogues(), in, out, 1, "/nonexistent/vesk-fuzz");
  vesk::restore_game(game, lines);
  vesk::saved_game_text(game);
  return 0;
}
