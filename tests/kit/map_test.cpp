// vesk-kit map: the graph of a small game, byte for byte, and DOT quoting.
#include <gtest/gtest.h>

#include "kit/kit_test_support.hpp"
#include "kit/map_dot.hpp"

namespace vesk::testing {
namespace {

// Three areas: an ordinary one with a guarded path, a path to a missing area
// and an action that moves the player by script; a dark one under water; and
// a subdivided one of four spots with an item, ammunition and an enemy kind.
const Files kSmallGame = {
    {"item1.txt", "crossbow\nweapon 5 10 50\n"},
    {"item2.txt", "old \"lucky\" coin\n"},
    {"enemy1.txt", "cave bat\n10\nflits about\nbites you 1 2 50\n\n"},
    {"area1.txt",
     "The Square \\ Market.\nStalls everywhere.\n\nThe Square.\n\n"
     "down the well 2 30\ninto the caves 3 120\nthrough the gate 7 10\n\n"
     "jump in the fountain\n\n"
     "path 1 cd crossbow held\n"
     "action 1 dp 0 s ca 3\naction 1 dp 0 s ca v2\n"},
    {"area2.txt", "The Well.\nWet and black.\n\nThe Well.\n\nback up 1 30\n\nnone\n\ndark\nwtr\n"},
    {"area3.txt",
     "The Caves.\nA maze.\n\nThe Caves.\n\nnone\n\nnone\n\n"
     "m2\n1 2 3 -1 0\n2 0 0 1 0\n3 0 0 4 1\n4 3 0 0 0\n\n"
     "item old \"lucky\" coin 2\nammo crossbow 6 4\nenemy cave bat 1 5 2 15\n"},
};

const char* const kSmallGameMap = R"dot(digraph vesk {
  graph [compound=true, fontname="Helvetica", fontsize=12];
  node [shape=box, style=rounded, fontname="Helvetica", fontsize=11];
  edge [fontname="Helvetica", fontsize=9];
  a1 [label="1: The Square \\ Market."];
  a2 [label="2: The Well.", style="rounded,filled", fillcolor="gray30", fontcolor="white", color="blue", penwidth=3];
  subgraph "cluster_a3" {
    label="3: The Caves.";
    a3s1 [label="spot 1\ncave bat (15%)", group="a3x0"];
    a3s2 [label="spot 2\nold \"lucky\" coin", group="a3x0"];
    a3s3 [label="spot 3\ncave bat (15%)", group="a3x1"];
    a3s4 [label="spot 4\n6 ammo for crossbow", group="a3x1"];
    { rank=same; a3s1; a3s3; }
    a3s1 -> a3s3 [dir=both];
    a3s2 -> a3s1 [dir=both];
    a3s3 -> a3s4 [dir=both];
  }
  a1 -> a2 [label="down the well\n30 s", style=dashed];
  a1 -> a3s1 [label="into the caves\n120 s"];
  a1 -> missing7 [label="through the gate\n10 s"];
  a2 -> a1 [label="back up\n30 s"];
  a3s1 -> a1 [label="south"];
  a1 -> a3s1 [label="action 1", style=dotted];
  missing7 [label="no area 7", shape=plaintext, fontcolor="red"];
}
)dot";

TEST(Map, DrawsASmallGameByteForByte) {
  GameFiles game(kSmallGame);
  const KitRun run = run_kit({"map", game.path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kSmallGameMap) << run.out;
  EXPECT_EQ(run_kit({"map", game.path()}).out, run.out) << "same game, same bytes";
}

TEST(Map, QuotesDotStrings) {
  EXPECT_EQ(kit::dot_string("plain"), "\"plain\"");
  EXPECT_EQ(kit::dot_string("say \"hi\"\\now"), "\"say \\\"hi\\\"\\\\now\"");
  EXPECT_EQ(kit::dot_string("two\nlines\r\tend"), "\"two\\nlines  end\"");
  EXPECT_EQ(kit::dot_string("caf\xc3\xa9 \xe2\x86\x92"), "\"caf\xc3\xa9 \xe2\x86\x92\"");
  EXPECT_EQ(kit::dot_string("bad \xc3 \xff end\xe2\x86"), "\"bad ? ? end??\"");
}

TEST(Map, WritesToAFileAndRefusesAMissingGame) {
  GameFiles game(kSmallGame);
  const std::string file = game.file("map.dot");
  EXPECT_EQ(run_kit({"map", game.path(), "-o", file}).status, 0);
  EXPECT_EQ(vesk::read_file(file).value_or(""), run_kit({"map", game.path()}).out);
  GameFiles empty(Files{});
  const KitRun missing = run_kit({"map", empty.path()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("area1.txt is missing"), std::string::npos);
  EXPECT_EQ(run_kit({"map", "a", "b"}).status, 2);
}

// The spots with rows, and one note for each run of spots without: an area of
// two billion spots draws as small as its file, and at once.
TEST(Map, DrawsAnAreaOfTwoBillionSpotsByItsRows) {
  GameFiles game(
      Files{{"area1.txt", "Caves.\n\nCaves.\n\nnone\n\nnone\n\nm2\n1 2 0 0 0\n2 1 0 0 0\n2147483647 0 0 0 0\n\n"}});
  const KitRun run = run_kit({"map", game.path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("    a1s2 [label=\"spot 2\", group=\"a1x0\"];\n"
                         "    a1s3n [label=\"spots 3 to 2147483646: no exits\", shape=plaintext];\n"
                         "    a1s2147483647 [label=\"spot 2147483647\", group=\"a1x2\"];\n"),
            std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace vesk::testing
