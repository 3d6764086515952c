// Fuzzes a whole game session: a fixed small game that uses every feature,
// played with arbitrary player input.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz_support.hpp"

namespace {

const vesk::fuzzing::Files kGame = {
    {"msg1.txt", "A note: +v1 steps.\n\nThe last line.\n"},
    {"item1.txt", "lantern\nlamp\n"},
    {"item2.txt", "bow\nweapon 2 6 70\na_5\nattr holy\n"},
    {"item3.txt", "knife\nweapon 1 4 80\nmelee\nboth\n"},
    {"item4.txt", "mail\narmor\n"},
    {"item5.txt", "bottle\nair\nd 0 msg You drink.\nd 1 = v2 0 s v2 1\nd 0 n bottle\n"},
    {"item6.txt", "coin\n"},
    {"enemy1.txt", "rat 1\n6\n\nbites 1 3 60\nclaws at you 2 2 40\n\nm 1 4 50\ncoin 1 3 60\nammo bow 1 3 50\n\n"},
    {"enemy2.txt", "eel\n9\n\ngrapples you 1 2 70\n\nnone\n\ngrapple\nattr holy 2.5\n"},
    {"enemy3.txt", "warden\n20\n\nstrikes 2 5 50\n\nknife 1 1 100\n\n"},
    {"area1.txt",
     "A hall with +v1 echoes.\n\nThe hall.\n\nnorth door 2 60\nhatch 3 30\n\nsearch\nread the note\nsave\nload\n\n"
     "item coin\nitem coin\nitem lantern\nammo bow 3\nenemy rat 1 30\n"
     "s 0 a v1 1\ns 1 = v1 3 : The wind howls.\n"
     "path 2 cv = v3 1\npath 2 cd lantern held\npath 2 dn 0 msg Too dark.\n"
     "action 1 dp 0 _ bow\naction 1 dp 0 . bow 4\naction 1 dp 0 s v3 1\naction 1 dn 0 msg no\n"
     "action 2 dp 0 msf 1 v1\naction 2 dp 0 nk v4 How many?\n"
     "action 3 dp 0 sv\naction 4 dp 0 ld\n"
     "pcd - v9 1\ndrop 1 = vi1 0 msg Dropped here.\n"},
    {"area2.txt",
     "A dark maze.\n\nThe maze.\n\nnone\n\npray\n\ndark\nm2\n1 2 0 0 -1\n2 3 1 0 0\n3 0 0 2 -3\n\n"
     "item knife 2\nammo bow 2 3\nenemy eel 2 4 1 40\n"
     "action 1 dp 0 ; warden\naction 1 dp 0 d1t a curse\naction 1 dp 0 s dt1 3\n"
     "s 0 repetition top\ns 1 - v5 3 a v5 1\ns 1 - v5 3 repeat top\n"},
    {"area3.txt",
     "Under water.\n\nThe deep.\n\nup 1 100\n\nswim up\n\nwtr\nitem bottle\nitem mail\n"
     "action 1 dp 0 swim\naction 1 dp 0 s air 5\naction 1 dp 0 terminate\n"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::shared_ptr<const vesk::World> world = vesk::fuzzing::world_of(kGame);
  vesk::fuzzing::play_in_memory(world, {reinterpret_cast<const char*>(data), size}, 7);
  return 0;
}
