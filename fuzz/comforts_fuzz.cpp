// Fuzzes the comforts around a game: arbitrary typing at a small game played
// with undo, restart and bookmarks, and arbitrary text read as a bookmark.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "front/session.hpp"
#include "fuzz_support.hpp"

namespace {

// Saves, loads, a number prompt, a chance enemy, a string variable and a way
// to die: everything a bookmark must bring back.
const vesk::fuzzing::Files kGame = {
    {"msg1.txt", "A note: +v1 steps.\n"},
    {"item1.txt", "knife\nweapon 1 4 80\nmelee\n"},
    {"enemy1.txt", "rat\n6\n\nbites 1 30 60\n\nm 1 4 50\n\n"},
    {"area1.txt",
     "A hall with +v1 echoes.\n\nThe hall.\n\ndoor 2 60\n\ncount\nsave\nload\nfall\n\n"
     "item knife\nenemy rat 30\ns 0 a v1 1\n"
     "action 1 dp 0 nk v4 How many?\naction 1 dp 0 s s1 +v4 counted\naction 1 dp 0 msg +s1\n"
     "action 2 dp 0 sv\naction 3 dp 0 ld\naction 4 dp 0 s h 0\n"},
    {"area2.txt", "A yard.\n\nThe yard.\n\nback 1 60\n\nend it\n\naction 1 dp 0 msf 1 1\naction 1 dp 0 terminate\n"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::shared_ptr<const vesk::World> world = vesk::fuzzing::world_of(kGame);
  const std::string input(reinterpret_cast<const char*>(data), size);
  const vesk::fuzzing::SaveDirectory saves;
  if (saves.path().empty()) return 0;
  vesk::front::MemoryShelf shelf;
  std::string error;
  // "resume x" reads the input itself as a bookmark.
  shelf.put("x", input, error);
  vesk::front::Comforts comforts;
  comforts.shelf = &shelf;
  std::istringstream in(input);
  vesk::fuzzing::NullBuffer sink;
  std::ostream out(&sink);
  vesk::front::Session session(world, "0123456789abcdef", in, out, 7, saves.path(), comforts);
  session.run();
  return 0;
}
