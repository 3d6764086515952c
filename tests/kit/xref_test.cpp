// vesk-kit xref: where each name is written and read, from the compiled
// scripts, as text and as JSON, for the whole game and for one name.
#include <gtest/gtest.h>

#include <filesystem>

#include "kit/kit_test_support.hpp"
#include "kit/xref.hpp"

namespace vesk::testing {
namespace {

// A hall whose action counts in v1 through a loop, shows it, gives a key that
// the path tests for, and moves the player; a yard that places a rat.
const Files kXrefGame = {
    {"msg1.txt", "One.\nTwo.\n"},
    {"item1.txt", "rusty key\n"},
    {"enemy1.txt", "rat\n5\n-\nbites you 1 4 60\n\n\n"},
    {"area1.txt",
     "Hall.\n\nHall.\n\ndoor 2 30\n\ncount\n\n"
     "action 1 dp 0 s v1 0\n"
     "action 1 dp 0 repetition top\n"
     "action 1 dp 0 a v1 1\n"
     "action 1 dp 1 - v1 3 repeat top\n"
     "action 1 dp 0 msg Counted +v1 and +s2.\n"
     "action 1 dp 0 _ rusty key\n"
     "action 1 dp 0 msf 1 v1\n"
     "path 1 cd rusty key held\n"
     "action 1 dp 0 s ca 2\n"},
    {"area2.txt", "Yard.\n\nYard.\n\nback 1 30\n\nnone\n\ns 0 , rat\ns 0 s s2 seen\n"},
};

TEST(Xref, ListsEveryNameWithWhereItIsWrittenAndRead) {
  GameFiles game(kXrefGame);
  const KitRun run = run_kit({"xref", game.path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "variable ca\n  written: area1.txt:17\n  read: nowhere\n"
            "variable v1\n  written: area1.txt:9, area1.txt:11\n"
            "  read: area1.txt:11, area1.txt:12, area1.txt:13, area1.txt:15\n"
            "string s2\n  written: area2.txt:10\n  read: area1.txt:13\n"
            "item rusty key\n  written: area1.txt:14\n  read: area1.txt:16\n"
            "enemy rat\n  written: area2.txt:9\n  read: nowhere\n"
            "label top (area1.txt)\n  written: area1.txt:10\n  read: area1.txt:12\n"
            "area 1\n  written: nowhere\n  read: area2.txt:5\n"
            "area 2\n  written: area1.txt:17\n  read: area1.txt:5\n"
            "message msg1.txt\n  written: nowhere\n  read: area1.txt:15\n");
}

TEST(Xref, OneNameAsJsonOrSaysThatNothingUsesIt) {
  GameFiles game(kXrefGame);
  const KitRun one = run_kit({"xref", "--json", game.path(), "rusty key"});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out,
            "{\n  \"names\": [\n    {\n      \"kind\": \"item\",\n      \"name\": \"rusty key\",\n"
            "      \"read\": [\n        {\n          \"file\": \"area1.txt\",\n          \"line\": 16\n        }\n"
            "      ],\n      \"written\": [\n        {\n          \"file\": \"area1.txt\",\n"
            "          \"line\": 14\n        }\n      ]\n    }\n  ]\n}\n");
  const KitRun none = run_kit({"xref", game.path(), "v9"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("no script writes or reads \"v9\""), std::string::npos);
  GameFiles empty(Files{});
  EXPECT_EQ(run_kit({"xref", empty.path()}).status, 2);
  EXPECT_EQ(run_kit({"xref", "--frobnicate"}).status, 2);
}

// The values a number prompt is answered with: what makes each comparison
// with a literal hold, the literal on either side; none through an indirect
// variable, whose end is known only in play.
TEST(Xref, HoldingValuesMakeEachComparisonHold) {
  const GameFiles game(
      Files{{"area1.txt",
             "Hall.\n\nHall.\n\nnone\n\nnone\n\n"
             "s 1 = v1 7 msg a\ns 1 + v1 9 msg b\ns 1 - 5 v1 msg c\ns 1 + 3 v2 msg d\ns 1 = vv1 4 msg e\n"}});
  for (const kit::XrefEntry& entry : kit::cross_reference(load_world(std::filesystem::path(game.path())))) {
    if (entry.name == "v1") {
      EXPECT_EQ(entry.holding_values, (std::vector<std::int32_t>{6, 7, 10}));
    } else if (entry.name == "v2") {
      EXPECT_EQ(entry.holding_values, (std::vector<std::int32_t>{2}));
    }
  }
}

}  // namespace
}  // namespace vesk::testing
