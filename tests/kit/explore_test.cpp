// vesk-kit explore: the search over copies of a game, on small games with
// planted faults and on the sample game, and the state hash it merges by.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/game.hpp"
#include "kit/explore.hpp"
#include "kit/kit_test_support.hpp"
#include "kit/state_hash.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;
using kit::ExploreFinding;
using kit::ExploreResult;

// The rope opens the gate to the tower, where the game is won; eating the
// rope (its use script takes it) loses the game for good.
const Files kRopeGame = {
    {"item1.txt", "rope\ndef\nd 0 msg You chew the rope to pieces.\nd 0 n rope\n"},
    {"area1.txt", "Hall.\n\nHall.\n\ndown the hall 2 60\n\nnone\n\nitem rope\n"},
    {"area2.txt",
     "Gate.\n\nGate.\n\nback to the hall 1 60\nthrough the gate 3 60\n\nnone\n\n"
     "path 2 cd rope held\npath 2 dn 0 msg The gate needs a rope.\n"},
    {"area3.txt", "Tower.\n\nTower.\n\nnone\n\nnone\n\ns 0 terminate\n"},
};

// A vault behind a path whose condition never holds (nothing writes v1),
// a lever whose use needs v5, which nothing writes either, and a dial that
// opens only at 42, which the explorer must answer at the number prompt.
const Files kFaultGame = {
    {"area1.txt",
     "Hall.\n\nHall.\n\ninto the vault 2 60\nup to the roof 3 60\n\npull the lever\nturn the dial\nsave\n\n"
     "path 1 cd = v1 1\npath 1 dn 0 msg Locked.\n"
     "action 1 cd = v5 1\naction 1 dn 0 msg Stuck.\n"
     "action 2 dp 0 nk v2 Turn the dial to\naction 2 dp 1 = v2 42 s v3 1\n"
     "path 2 cd = v3 1\npath 2 dn 0 msg The hatch is shut.\n"
     "action 3 dp 0 sv\n"},
    {"area2.txt", "Vault.\n\nVault.\n\nback 1 60\n\nnone\n\n"},
    {"area3.txt", "Roof.\n\nRoof.\n\nnone\n\nnone\n\ns 0 terminate\n"},
};

std::vector<ExploreFinding> of_kind(const ExploreResult& result, const std::string& kind) {
  std::vector<ExploreFinding> found;
  for (const ExploreFinding& finding : result.findings) {
    if (finding.kind == kind) found.push_back(finding);
  }
  return found;
}

TEST(Explore, FindsTheDeadEndOfAConsumedItemWithItsShortestWayIn) {
  const GameFiles game(kRopeGame);
  const ExploreResult result = kit::explore(game.path(), {});
  EXPECT_EQ(result.stopped_by, "");
  ASSERT_EQ(result.endings.size(), 1u);
  EXPECT_EQ(result.endings[0].kind, "terminate");
  EXPECT_EQ(result.endings[0].where, "area3.txt:9");
  EXPECT_EQ(result.endings[0].typed, (std::vector<std::string>{"pickup rope", "path 1", "path 2"}));

  const std::vector<ExploreFinding> dead = of_kind(result, "dead-end");
  ASSERT_EQ(dead.size(), 2u);  // eaten in the hall, and at the gate
  EXPECT_EQ(dead[0].text, "after \"use rope\" in area 1 the game cannot be won");
  EXPECT_TRUE(dead[0].fault);
  EXPECT_EQ(dead[0].way_in, (std::vector<std::string>{"pickup rope", "use rope"}));
  EXPECT_EQ(dead[1].text, "after \"use rope\" in area 2 the game cannot be won");
  EXPECT_TRUE(of_kind(result, "never-entered").empty());
}

TEST(Explore, ReportsTheUnreachableAreaAndTheChoicesThatNeedWhatNothingWrites) {
  const GameFiles game(kFaultGame);
  const ExploreResult result = kit::explore(game.path(), {});
  EXPECT_EQ(result.stopped_by, "");
  const std::vector<ExploreFinding> unentered = of_kind(result, "never-entered");
  ASSERT_EQ(unentered.size(), 1u);
  EXPECT_EQ(unentered[0].text, "area2.txt: the area is never entered");
  EXPECT_TRUE(unentered[0].fault);

  const std::vector<ExploreFinding> failing = of_kind(result, "never-succeeded");
  ASSERT_EQ(failing.size(), 2u);
  EXPECT_EQ(failing[0].text,
            "area1.txt:5: path \"into the vault\" is chosen but its conditions never hold; they read v1, which "
            "nothing writes");
  EXPECT_EQ(failing[1].text,
            "area1.txt:8: action \"pull the lever\" is chosen but its conditions never hold; they read v5, which "
            "nothing writes");
  // The dial's number comes from the condition that compares with it.
  ASSERT_EQ(result.endings.size(), 1u);
  EXPECT_EQ(result.endings[0].typed, (std::vector<std::string>{"action 2", "42", "path 2"}));
  // The save went to a scratch copy, not the author's folder.
  EXPECT_FALSE(fs::exists(fs::path(game.path()) / "explore-save.txt"));
}

TEST(Explore, CommandLineWritesWalksThatReplayAndExitsByTheFaults) {
  const GameFiles game(kRopeGame);
  const kit::TemporaryDirectory walks;
  const KitRun run = run_kit({"explore", game.path(), "--walks", walks.path().string()});
  EXPECT_EQ(run.status, kit::kExitFindings) << run.err;
  EXPECT_NE(run.out.find("Dead ends:\n  after \"use rope\" in area 1 the game cannot be won\n"
                         "    the shortest way in: pickup rope, use rope\n"),
            std::string::npos)
      << run.out;
  const std::string walk = (walks.path() / "seed0-terminate-1.walk").string();
  const KitRun replay = run_kit({"replay", game.path(), walk});
  EXPECT_EQ(replay.status, kit::kExitClean) << replay.out << replay.err;

  // Over seeds, a finding that every seed makes says so.
  const KitRun json = run_kit({"explore", game.path(), "--seeds", "3..4", "--json"});
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["runs"].size(), 2u);
  EXPECT_EQ(report["findings"][0]["kind"], "dead-end");
  EXPECT_EQ(report["findings"][0]["seeds"], nlohmann::json::array({3, 4}));

  const GameFiles clean(Files{{"area1.txt", "Hall.\n\nHall.\n\nnone\n\nend it\n\naction 1 dp 0 terminate\n"}});
  EXPECT_EQ(run_kit({"explore", clean.path()}).status, kit::kExitClean);
  EXPECT_EQ(run_kit({"explore", clean.path(), "--depth", "0"}).status, kit::kExitUsage);
  EXPECT_EQ(run_kit({"explore", clean.path(), "--seed", "1", "--seeds", "1..2"}).status, kit::kExitUsage);
}

TEST(Explore, SaysWhichFindingsHoldForEverySeedAndWhichForSome) {
  // The dice, read once at the first turn, decide whether the cellar opens;
  // the attic never does.
  const GameFiles game(Files{
      {"area1.txt",
       "Hall.\n\nHall.\n\ndown to the cellar 2 60\nup to the attic 3 60\n\nnone\n\n"
       "s 1 = v2 0 s v1 x2\ns 0 s v2 1\n"
       "path 1 cd = v1 1\npath 1 dn 0 msg Locked.\npath 2 cd = v9 1\npath 2 dn 0 msg Shut.\n"},
      {"area2.txt", "Cellar.\n\nCellar.\n\nnone\n\nnone\n\ns 0 terminate\n"},
      {"area3.txt", "Attic.\n\nAttic.\n\nnone\n\nnone\n\n"},
  });
  const KitRun run = run_kit({"explore", game.path(), "--seeds", "0..7", "--json"});
  EXPECT_EQ(run.status, kit::kExitFindings) << run.err;
  const nlohmann::json report = nlohmann::json::parse(run.out);
  ASSERT_EQ(report["runs"].size(), 8u);
  std::vector<int> winning;
  for (const nlohmann::json& each : report["runs"]) {
    if (!each["endings"].empty()) winning.push_back(each["seed"].get<int>());
  }
  ASSERT_FALSE(winning.empty()) << run.out;
  ASSERT_LT(winning.size(), 8u) << run.out;
  bool cellar = false;
  bool attic = false;
  for (const nlohmann::json& finding : report["findings"]) {
    if (finding["kind"] != "never-entered") continue;
    const std::string text = finding["text"].get<std::string>();
    const std::vector<int> seeds = finding["seeds"].get<std::vector<int>>();
    if (text.rfind("area2.txt", 0) == 0) {
      cellar = true;
      EXPECT_EQ(seeds.size() + winning.size(), 8u) << text;  // every seed that did not win
      for (const int seed : winning) EXPECT_EQ(std::count(seeds.begin(), seeds.end(), seed), 0) << seed;
    } else if (text.rfind("area3.txt", 0) == 0) {
      attic = true;
      EXPECT_EQ(seeds, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    }
  }
  EXPECT_TRUE(cellar) << run.out;
  EXPECT_TRUE(attic) << run.out;
}

TEST(Explore, EndsInDeathWhereThePlayerFellAndListsWhatNoPlayReaches) {
  // The troll kills the player on sight in its lair; the crypt, with the
  // lamp, the ghost and its script, stays sealed.
  const GameFiles game(Files{
      {"item1.txt", "lamp\n"},
      {"enemy1.txt", "troll\n1000\nhuge\ncrushes you 500 500 100\n\n"},
      {"enemy2.txt", "ghost\n5\npale\nchills you 1 1 10\n\n"},
      {"area1.txt",
       "Hall.\n\nHall.\n\ninto the lair 2 60\ninto the crypt 3 60\n\nnone\n\n"
       "path 2 cd = v1 1\npath 2 dn 0 msg Sealed.\n"},
      {"area2.txt", "Lair.\n\nLair.\n\nback 1 60\n\nnone\n\nenemy troll 100\n"},
      {"area3.txt", "Crypt.\n\nCrypt.\n\nnone\n\nnone\n\ns 0 msg Dusty.\n\nitem lamp\nenemy ghost 100\n"},
  });
  const ExploreResult result = kit::explore(game.path(), {});
  ASSERT_EQ(result.endings.size(), 1u);
  EXPECT_EQ(result.endings[0].kind, "death");
  EXPECT_EQ(result.endings[0].area, 2);  // where the player fell, not where the way there was typed
  EXPECT_EQ(result.endings[0].where, "");
  EXPECT_EQ(result.endings[0].typed, (std::vector<std::string>{"path 1"}));
  // With no "terminate" anywhere, any ending counts as the game's end: dying is no dead end.
  EXPECT_TRUE(of_kind(result, "dead-end").empty());

  const auto texts = [&](const std::string& kind) {
    std::vector<std::string> found;
    for (const ExploreFinding& finding : of_kind(result, kind)) found.push_back(finding.text);
    return found;
  };
  EXPECT_EQ(texts("never-entered"), (std::vector<std::string>{"area3.txt: the area is never entered"}));
  EXPECT_EQ(texts("never-chosen"), (std::vector<std::string>{"area2.txt:5: path \"back\" is never chosen"}));
  EXPECT_EQ(texts("never-fought"), (std::vector<std::string>{"enemy1.txt: \"troll\" is never fought",
                                                             "enemy2.txt: \"ghost\" is never fought"}));
  EXPECT_EQ(texts("never-picked-up"), (std::vector<std::string>{"item1.txt: \"lamp\" is never picked up"}));
  EXPECT_EQ(texts("never-run"), (std::vector<std::string>{"area3.txt:9: script line \"msg Dusty.\" never runs"}));

  const KitRun run = run_kit({"explore", game.path()});
  EXPECT_NE(run.out.find("Endings:\n  death in area 2 after 1 typed line\n"), std::string::npos) << run.out;
}

TEST(Explore, WalksRoundARingOfAreasCostNothing) {
  // Each area leads to the other two and nothing reads the clock, so coming
  // back to an area later is a state met before: the search ends, having
  // met only the few states told apart by the areas seen so far and the one
  // just left, however long the ways round.
  const GameFiles game(Files{
      {"area1.txt", "One.\n\nOne.\n\nto two 2 60\nto three 3 60\n\nnone\n\n"},
      {"area2.txt", "Two.\n\nTwo.\n\nto one 1 60\nto three 3 60\n\nnone\n\n"},
      {"area3.txt", "Three.\n\nThree.\n\nto one 1 60\nto two 2 60\n\nleave\n\naction 1 dp 0 terminate\n"},
  });
  const ExploreResult result = kit::explore(game.path(), {});
  EXPECT_EQ(result.stopped_by, "");
  EXPECT_LE(result.states, 30u);
  EXPECT_LE(result.depth, 5u);
  ASSERT_EQ(result.endings.size(), 1u);
  EXPECT_EQ(result.endings[0].typed, (std::vector<std::string>{"path 2", "action 1"}));
  EXPECT_TRUE(result.findings.empty()) << result.findings[0].text;
}

TEST(Explore, ReportsAScriptThatHitsTheJumpLimit) {
  const GameFiles game(Files{{"area1.txt",
                              "Hall.\n\nHall.\n\nnone\n\nwait forever\nleave\n\n"
                              "action 1 dp 0 repetition top\naction 1 dp 0 repeat top\n"
                              "action 2 dp 0 terminate\n"}});
  const ExploreResult result = kit::explore(game.path(), {});
  const std::vector<ExploreFinding> loops = of_kind(result, "jump-limit");
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_NE(loops[0].text.find("area1.txt:"), std::string::npos) << loops[0].text;
  ASSERT_EQ(result.endings.size(), 1u);
  EXPECT_EQ(result.endings[0].typed, (std::vector<std::string>{"action 2"}));
}

TEST(Explore, ReportsWherePendingMessagesReachTheirBound) {
  // Each shout queues 10,001 echoes, one more than the pending list holds.
  const GameFiles game(Files{{"area1.txt",
                              "Hall.\n\nHall.\n\nnone\n\nshout\nleave\n\n"
                              "action 1 dp 0 repetition top\naction 1 dp 0 : An echo.\naction 1 dp 0 a v1 1\n"
                              "action 1 dp 1 - v1 10001 repeat top\naction 2 dp 0 terminate\n"}});
  const ExploreResult result = kit::explore(game.path(), {0, 2, 1000});
  const std::vector<ExploreFinding> bound = of_kind(result, "pending-bound");
  ASSERT_EQ(bound.size(), 1u);
  EXPECT_EQ(bound[0].text, "area1.txt: the pending messages reach their bound of 10000 and later ones are dropped");
  EXPECT_FALSE(bound[0].fault);
}

TEST(Explore, BudgetAndDepthLeaveTheUnexploredAlive) {
  // Cut short, the search cannot tell a dead end: what it did not try may win.
  const GameFiles game(kRopeGame);
  const ExploreResult shallow = kit::explore(game.path(), {0, 2, 1000});
  EXPECT_EQ(shallow.stopped_by, "depth");
  const ExploreResult small = kit::explore(game.path(), {0, 1000, 3});
  EXPECT_EQ(small.stopped_by, "states");
  EXPECT_LE(small.states, 3u);
  for (const ExploreResult* result : {&shallow, &small}) {
    for (const ExploreFinding& finding : of_kind(*result, "dead-end")) ADD_FAILURE() << finding.text;
  }
}

// The win lies some forty typed lines deep, past six rounds with the captain,
// where only the search by progress reaches.
TEST(Explore, WinsTheSampleGameAndReachesEveryAreaAndSpotWithWalksThatReplay) {
  const std::string demo = (fs::path(VESK_TESTS_DIR) / ".." / "games" / "demo").string();
  const kit::TemporaryDirectory walks;
  const KitRun run = run_kit({"explore", demo, "--seed", "0", "--json", "--walks", walks.path().string()});
  const nlohmann::json report = nlohmann::json::parse(run.out);
  for (const nlohmann::json& finding : report["findings"]) {
    EXPECT_NE(finding["kind"], "never-entered") << finding["text"];
    EXPECT_NE(finding["kind"], "spots") << finding["text"];
  }
  std::size_t replayed = 0;
  bool won = false;
  for (const nlohmann::json& ending : report["runs"][0]["endings"]) {
    const KitRun replay = run_kit({"replay", demo, ending["walk"].get<std::string>()});
    EXPECT_EQ(replay.status, kit::kExitClean) << replay.out;
    won = won || ending["kind"] == "terminate";
    ++replayed;
  }
  EXPECT_TRUE(won) << run.out;
  EXPECT_GT(replayed, 1u) << run.out;
}

TEST(StateHash, CopiesAgreeAndTheClockCountsOnlyWhereItIsRead) {
  const GameFiles game(Files{{"area1.txt", "Hall.\n\nHall.\n\nout 2 60\n\nnone\n\n"},
                             {"area2.txt", "Yard.\n\nYard.\n\nin 1 60\n\nnone\n\n"}});
  std::istringstream in;
  std::ostringstream out;
  Game start(load_world(fs::path(game.path())), in, out, 7, game.path());
  start.to_prompt();
  const World& world = start.state().world();
  const kit::StateHash exact(world, {});
  const kit::StateHash timeless(world, {false, false});
  Game copy = start;
  EXPECT_EQ(exact(copy), exact(start));
  copy.enter("path 1");
  EXPECT_NE(exact(copy), exact(start));
  copy.enter("path 1");
  const Game back = copy;
  copy.enter("path 1");
  copy.enter("path 1");
  // Back in the hall from the yard once more, two minutes later: only the clock tells.
  EXPECT_NE(exact(copy), exact(back));
  EXPECT_EQ(timeless(copy), timeless(back));
  EXPECT_NE(timeless(copy), timeless(start));  // the first time, no area came before
}

}  // namespace
}  // namespace vesk::testing
