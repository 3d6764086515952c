// Fuzzes every file reader on arbitrary bytes: the item, enemy and area loaders
// and the saved-game reader.
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
  for (std::int32_t spot = -1; spot <= area.spot_count + 1; ++spot) {
    for (std::int32_t direction = -1; direction <= 4; ++direction) area.exit_of(spot, direction);
  }

  std::istringstream in;
  vesk::fuzzing::NullBuffer sink;
  std::ostream out(&sink);
  vesk::GameState game(catalogues(), in, out, 1, "/nonexistent/vesk-fuzz");
  vesk::restore_game(game, lines);
  vesk::saved_game_text(game);
  return 0;
}
