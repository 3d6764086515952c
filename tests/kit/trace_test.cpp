// vesk-kit play and replay --trace, and replay --coverage: what a run shows of
// the turn loop and the content lines, and what it reached.
#include <gtest/gtest.h>

#include <iterator>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "kit/coverage.hpp"
#include "kit/game_files.hpp"
#include "kit/kit_test_support.hpp"
#include "kit/source_map.hpp"
#include "kit/trace.hpp"
#include "kit/walk.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

// The hall's first line is longer than the reader's 254 characters, so it is
// read in two pieces and piece numbers run one ahead of physical lines after
// it. A turn script sends the player into the yard, which is subdivided, in
// the middle of a pass: the view that follows shows no spot and no paths.
const Files kStrayGame = {
    {"area1.txt", std::string(300, 'x') + "\n\nThe Hall.\n\nout to the yard 2 10\n\nwait\nlisten\n\n"
                                          "s 2 = v3 2 = v1 0 msg Never shown.\n"
                                          "s 1 = v1 1 s ca 2\n"
                                          "action 1 dp 0 s v1 1\n"
                                          "action 2 cd = v3 1\n"
                                          "action 2 dn 0 msg Silence.\n"},
    {"area2.txt", "The Yard.\n\nThe Yard.\n\nnone\n\nnone\n\nm2\n1 0 0 -1 0\n2 0 0 1 0\nend\n"},
};

std::string trace_of(const GameFiles& game, const std::string& input) {
  const std::string trace_file = game.file("run.trace");
  const KitRun run = run_kit({"play", game.path(), "--seed", "7", "--clock", "0", "--trace", trace_file}, input);
  EXPECT_EQ(run.status, 0) << run.err;
  return vesk::read_file(trace_file).value_or("");
}

// Game files that count how often each is read.
class CountedFiles : public kit::MemoryFiles {
 public:
  using kit::MemoryFiles::MemoryFiles;
  mutable std::map<std::string, int> reads;

 protected:
  std::optional<std::string> read(const std::string& name) const override {
    ++reads[name];
    return kit::MemoryFiles::read(name);
  }
};

// The places of lines come from the content the world was loaded from: a
// long line and CR LF line ends count as the author counts, and no file is
// read a second time for them.
TEST(SourceMap, PlacesLinesFromTheFilesTheWorldCameFrom) {
  Files files = kStrayGame;
  files["item1.txt"] = "horn\r\nd 0 msg Toot.\r\n";
  const CountedFiles counted(files);
  const World world = kit::load_world(counted);
  kit::SourceMap sources(counted);
  const Area& hall = world.area(0);
  EXPECT_EQ(sources.place(world, std::next(hall.turn_scripts.begin())->source), "area1.txt:11");
  EXPECT_EQ(sources.place(world, hall.actions[1].failure_scripts.begin()->source), "area1.txt:14");
  EXPECT_EQ(sources.place(world, world.items[0].use_scripts.begin()->source), "item1.txt:2");
  EXPECT_EQ(sources.place(world, SourcePos{}), "");
  for (const auto& [name, count] : counted.reads) EXPECT_EQ(count, 1) << name;
  EXPECT_EQ(counted.reads.count("area1.txt"), 1U);
}

TEST(Trace, ShowsTheTurnLoopConditionsAndLinesByPhysicalLine) {
  const GameFiles game(kStrayGame);
  EXPECT_EQ(trace_of(game, "action 2\naction 1\npath 1\nquit\n"),
            "# vesk-kit play, seed 7\n"
            "[1] pass 1: area 1\n"
            "[1] turn scripts: area 1\n"
            "[1] area1.txt:10: condition 1 \"= v3 2\": v3 is 0 -> false\n"
            "[1] area1.txt:10: does nothing, condition 1 is false: \"msg Never shown.\"\n"
            "[1] area1.txt:11: condition 1 \"= v1 1\": v1 is 0 -> false\n"
            "[1] area1.txt:11: does nothing, condition 1 is false: \"s ca 2\"\n"
            "[1] view: area 1\n"
            "[1] enemy turn: area 1\n"
            "[1] prompt: area 1\n"
            "[1] typed \"action 2\"\n"
            "[1] area1.txt:13: condition \"= v3 1\": v3 is 0 -> false\n"
            "[1] area1.txt:8: action \"listen\" chosen, a condition is false\n"
            "[1] area1.txt:14: runs \"msg Silence.\"\n"
            "[1] outcome: no turn\n"
            "[1] typed \"action 1\"\n"
            "[1] area1.txt:7: action \"wait\" chosen, its conditions hold\n"
            "[1] area1.txt:12: runs \"s v1 1\"\n"
            "[1] outcome: a turn passes\n"
            "[1] end of pass: area 1\n"
            "[2] pass 2: area 1\n"
            "[2] turn scripts: area 1\n"
            "[2] area1.txt:10: condition 1 \"= v3 2\": v3 is 0 -> false\n"
            "[2] area1.txt:10: does nothing, condition 1 is false: \"msg Never shown.\"\n"
            "[2] area1.txt:11: condition 1 \"= v1 1\": v1 is 1 -> true\n"
            "[2] area1.txt:11: runs \"s ca 2\"\n"
            "[2] area 1 -> 2 (script)\n"
            "[2] view: area 2\n"
            "[2] enemy turn: area 2\n"
            "[2] prompt: area 2\n"
            "[2] typed \"path 1\"\n"
            "[2] entry invalid\n"
            "[2] outcome: no turn\n"
            "[2] typed \"quit\"\n"
            "[2] end: quit\n");
}

TEST(Trace, ShowsMovesRepeatsAndTheSubdividedSpot) {
  GameFiles game(kStrayGame);
  game.write("area1.txt",
             "The Hall.\n\nThe Hall.\n\nout to the yard 2 10\n\nnone\n\n"
             "s 0 repetition top\ns 0 a v2 1\ns 1 - v2 2 repeat top\ns 0 repeat nowhere\n");
  const std::string trace = trace_of(game, "path 1\nlook\n");
  EXPECT_NE(trace.find("[1] area1.txt:9: label top\n"
                       "[1] area1.txt:10: runs \"a v2 1\"\n"
                       "[1] area1.txt:11: condition 1 \"- v2 2\": v2 is 1 -> true\n"
                       "[1] area1.txt:11: repeat: back to label top\n"
                       "[1] area1.txt:10: runs \"a v2 1\"\n"
                       "[1] area1.txt:11: condition 1 \"- v2 2\": v2 is 2 -> false\n"
                       "[1] area1.txt:11: does nothing, condition 1 is false: \"repeat top\"\n"
                       "[1] area1.txt:12: repeat: no label nowhere above, does nothing\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("[1] area1.txt:5: path \"out to the yard\" chosen, its conditions hold\n"
                       "[1] outcome: move by path 1 of area 1\n"
                       "[1] end of pass: area 1\n"
                       "[1] area 1 -> 2 (path)\n"
                       "[2] pass 2: area 2\n"
                       "[2] turn scripts: area 2, spot 1\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("[2] end: input-ended\n"), std::string::npos) << trace;
}

TEST(Trace, PlacesItemUseScriptsInTheirItemFile) {
  GameFiles game(kStrayGame);
  game.write("item1.txt", "stone\nd 1 = v1 0 msg Cold.\nd 5 x\n");
  game.write("area1.txt", "The Hall.\n\nThe Hall.\n\nnone\n\nnone\n\nitem stone\n");
  const std::string trace = trace_of(game, "pickup stone\nuse stone\n");
  EXPECT_NE(trace.find("[1] typed \"pickup stone\"\n[1] picked up \"stone\"\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("[2] typed \"use stone\"\n"
                       "[2] item1.txt:2: condition 1 \"= v1 0\": v1 is 0 -> true\n"
                       "[2] item1.txt:2: runs \"msg Cold.\"\n"
                       "[2] item1.txt:3: not a script line, skipped: \"5 x\"\n"
                       "[2] outcome: a turn passes\n"),
            std::string::npos)
      << trace;
}

TEST(Trace, ReplayTracesEveryWalkthroughAndRefusesWithSeeds) {
  const GameFiles game(kStrayGame);
  const std::string walk = game.file("a.walk");
  ASSERT_EQ(run_kit({"play", game.path(), "--seed", "3", "--clock", "0", "--record", walk}, "action 1\nquit\n").status,
            0);
  const std::string trace_file = game.file("replay.trace");
  const KitRun run = run_kit({"replay", game.path(), "--trace", trace_file, walk, walk});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  const std::string trace = vesk::read_file(trace_file).value_or("");
  const std::string header = "# " + walk + ", seed 3\n[1] pass 1: area 1\n";
  ASSERT_NE(trace.find(header), std::string::npos) << trace;
  EXPECT_NE(trace.find(header, trace.find(header) + 1), std::string::npos) << "the pass count starts again\n" << trace;
  EXPECT_EQ(run_kit({"replay", game.path(), "--seeds", "1..2", "--coverage", walk}).status, kit::kExitUsage);
}

// The stray game played by a walkthrough: the hall's actions, then the yard.
TEST(Coverage, CountsLinesRunAndWhatTheRunsReached) {
  const GameFiles game(kStrayGame);
  const std::string walk = game.file("a.walk");
  ASSERT_EQ(
      run_kit({"play", game.path(), "--seed", "3", "--clock", "0", "--record", walk}, "action 2\naction 1\nquit\n")
          .status,
      0);
  const KitRun run = run_kit({"replay", game.path(), "--coverage-details", walk});
  EXPECT_EQ(run.status, 0) << run.err;
  // Lines that can run: the path (5), two actions (7, 8), the turn scripts
  // (10, 11), the success and failure scripts (12, 14) and the condition (13).
  EXPECT_EQ(run.out,
            walk +
                ": ok (3 typed lines, quit)\n"
                "\n"
                "Lines run by file:\n"
                "  area1.txt: 75.00% of 8\n"
                "Lines run: 75.00% of 8\n"
                "Areas entered: 2 of 2\n"
                "Spots stood on: 0 of 2\n"
                "Enemies fought: 0 of 0 (0 defeated)\n"
                "Items picked up: 0 of 0 lying in areas\n"
                "\n"
                "Never run:\n"
                "  area1.txt:5: path \"out to the yard\", never chosen\n"
                "  area1.txt:10: script line \"msg Never shown.\", reached 2 times, stopped by condition 1 (2)\n"
                "  area2.txt: spots never stood on: 1 2\n");

  // Counted over two runs, by line.
  kit::Coverage coverage(game.path());
  std::string error;
  const auto parsed = kit::parse_walkthrough(vesk::read_file(walk).value_or(""), error);
  ASSERT_TRUE(parsed) << error;
  for (int k = 0; k < 2; ++k) {
    coverage.begin_run();
    kit::ListedLines lines(parsed->typed);
    const kit::TemporaryDirectory copy;
    kit::copy_game(game.path(), copy.path());
    kit::run_session(copy.path(), parsed->seed, lines, nullptr, &coverage);
  }
  const auto& area = coverage.lines_of("area1.txt");
  ASSERT_EQ(area.size(), 8u);
  EXPECT_EQ(area.at(7).runs, 2u);      // "wait", chosen once a run
  EXPECT_EQ(area.at(11).reached, 4u);  // two passes a run
  EXPECT_EQ(area.at(11).runs, 2u);
  EXPECT_EQ(area.at(13).runs, 2u);  // tested when "listen" was chosen
  EXPECT_EQ(area.at(14).runs, 2u);
  EXPECT_EQ(area.at(10).stopped_by.at(1), 4u);
}

// The LCOV file names the content files by their paths, and genhtml renders it.
TEST(Coverage, WritesAnLcovFileThatGenhtmlAccepts) {
  const GameFiles game(kStrayGame);
  const std::string walk = game.file("a.walk");
  ASSERT_EQ(run_kit({"play", game.path(), "--seed", "3", "--clock", "0", "--record", walk}, "action 1\nquit\n").status,
            0);
  const std::string info = game.file("run.info");
  ASSERT_EQ(run_kit({"replay", game.path(), "--lcov", info, walk}).status, 0);
  const std::string area = game.file("area1.txt");
  EXPECT_EQ(vesk::read_file(info).value_or(""), "TN:\nSF:" + area +
                                                    "\nDA:5,0\nDA:7,1\nDA:8,0\nDA:10,0\nDA:11,1\nDA:12,1\nDA:13,0\n"
                                                    "DA:14,0\nLF:8\nLH:3\nend_of_record\n");
  if (std::system("genhtml --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "genhtml is not installed";
  const std::string report = game.file("report");
  const std::string command = "genhtml --quiet -o '" + report + "' '" + info + "' > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_TRUE(fs::exists(fs::path(report) / "index.html"));
}

}  // namespace
}  // namespace vesk::testing
