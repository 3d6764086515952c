// vesk-kit play and replay: recording walkthroughs, replaying them after the
// game changed, rewriting them, and sweeping seeds.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>

#include "core/game.hpp"
#include "kit/kit_test_support.hpp"
#include "kit/walk.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;
using kit::format_walkthrough;
using kit::parse_walkthrough;
using kit::Walkthrough;

// Asks for a number, saves and loads: one prompt of each kind.
const Files kPromptGame = {
    {"area1.txt",
     "The Hall.\nA bare hall with a door.\n\nThe Hall.\n\nthrough the door 2 60\n\n"
     "enter a code\nsave the game\nload the game\n\n"
     "action 1 dp 0 nk v1 Code\naction 2 dp 0 sv\naction 3 dp 0 ld\n"},
    {"area2.txt", "The Yard.\nA small yard.\n\nThe Yard.\n\nback inside 1 60\n\nnone\n\n"},
};
const std::string kPromptInput = "action 1\n42\naction 2\nmysave\npath 1\npath 1\naction 3\nmysave\nlook\nquit\n";

// Three actions, each with its own message.
Files talking_game(const std::string& second_message) {
  return {{"area1.txt",
           "The Hall.\nA bare hall.\n\nThe Hall.\n\nnone\n\nknock\nshout\nsing\n\n"
           "action 1 dp 0 msg Nobody answers the knock.\n"
           "action 2 dp 0 msg " +
               second_message +
               "\n"
               "action 3 dp 0 msg The song echoes.\n"}};
}

Walkthrough read_walk(const std::string& file) {
  std::string error;
  const std::optional<Walkthrough> walk = parse_walkthrough(vesk::read_file(file).value_or(""), error);
  EXPECT_TRUE(walk) << error;
  return walk.value_or(Walkthrough{});
}

TEST(Walkthrough, FormatsAndParsesBack) {
  const Walkthrough walk{4000000000u, 1700000000, "quit", {"path 1", "", "  two  spaces\r"}, "> path 1\n> \n", ""};
  const std::string text = format_walkthrough(walk);
  EXPECT_EQ(text,
            "vesk walkthrough\nseed 4000000000\nclock 1700000000\nending quit\n"
            "typed path 1\ntyped \ntyped   two  spaces\r\n\n> path 1\n> \n");
  std::string error;
  const std::optional<Walkthrough> back = parse_walkthrough(text, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->seed, walk.seed);
  EXPECT_EQ(back->clock, walk.clock);
  EXPECT_EQ(back->ending, walk.ending);
  EXPECT_EQ(back->typed, walk.typed);
  EXPECT_EQ(back->transcript, walk.transcript);
  EXPECT_EQ(back->typed_file_line(2), 7u);
}

TEST(Walkthrough, RejectsBrokenHeadersWithTheLine) {
  std::string error;
  EXPECT_FALSE(parse_walkthrough("vesk 1.0 alpha\n", error));
  EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
  EXPECT_FALSE(parse_walkthrough("vesk walkthrough\nseed 4294967296\n", error));
  EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  EXPECT_FALSE(parse_walkthrough("vesk walkthrough\nseed 1\nclock 2\nending quit\ntyped a\nlook\n\n", error));
  EXPECT_EQ(error.rfind("line 6:", 0), 0u) << error;
  EXPECT_FALSE(parse_walkthrough("vesk walkthrough\nseed 1\nclock 2\nending quit\ntyped a\n", error));
  // The comforts line comes first after the ending, with one of its two words.
  EXPECT_FALSE(parse_walkthrough("vesk walkthrough\nseed 1\nclock 2\nending quit\ncomforts on\n\n", error));
  EXPECT_EQ(error.rfind("line 5:", 0), 0u) << error;
  EXPECT_FALSE(
      parse_walkthrough("vesk walkthrough\nseed 1\nclock 2\nending quit\ntyped a\ncomforts new-seed\n\n", error));
  EXPECT_EQ(error.rfind("line 6:", 0), 0u) << error;
  const auto kept = parse_walkthrough("vesk walkthrough\nseed 1\nclock 2\nending quit\ncomforts new-seed\n\n", error);
  ASSERT_TRUE(kept) << error;
  EXPECT_EQ(kept->comforts, "new-seed");
  EXPECT_EQ(format_walkthrough(*kept), "vesk walkthrough\nseed 1\nclock 2\nending quit\ncomforts new-seed\n\n");
}

TEST(Play, RecordsEveryPromptAndReplays) {
  GameFiles game(kPromptGame);
  GameFiles elsewhere(kPromptGame);
  const std::string walk_file = game.file("run.walk");
  const KitRun played =
      run_kit({"play", game.path(), "--plain", "--seed", "7", "--clock", "99", "--record", walk_file}, kPromptInput);
  ASSERT_EQ(played.status, 0) << played.err;

  // The screen shows what vesk shows: no echo of the typed lines.
  std::istringstream in(kPromptInput);
  std::ostringstream vesk_out;
  EXPECT_EQ(play(elsewhere.path(), in, vesk_out, 7), Ending::kQuit);
  EXPECT_EQ(played.out, vesk_out.str());

  const Walkthrough walk = read_walk(walk_file);
  EXPECT_EQ(walk.seed, 7u);
  EXPECT_EQ(walk.clock, 99);
  EXPECT_EQ(walk.ending, "quit");
  EXPECT_EQ(walk.typed, (std::vector<std::string>{"action 1", "42", "action 2", "mysave", "path 1", "path 1",
                                                  "action 3", "mysave", "look", "quit"}));
  EXPECT_NE(walk.transcript.find("\n> action 1\nCode (number)> 42\n"), std::string::npos) << walk.transcript;
  EXPECT_NE(walk.transcript.find("\n> action 2\nFile name?> mysave\n"), std::string::npos);
  EXPECT_NE(walk.transcript.find("\n> action 3\nFile name?> mysave\n"), std::string::npos);
  EXPECT_TRUE(walk.transcript.ends_with("> quit\n"));
  // Taking the typed lines out of the transcript leaves the output.
  std::string output = walk.transcript;
  std::size_t from = 0;
  for (const std::string& typed : walk.typed) {
    const std::size_t at = output.find("> " + typed + "\n", from);
    ASSERT_NE(at, std::string::npos) << typed;
    output.erase(at + 2, typed.size() + 1);
    from = at + 2;
  }
  EXPECT_EQ(output, vesk_out.str());

  // The play saved in the game; the replay saves in a copy of the game, so
  // the same save succeeds again and nothing new lands in the game.
  ASSERT_TRUE(fs::exists(game.file("mysave.txt")));
  fs::remove(game.file("mysave.txt"));
  const KitRun replayed = run_kit({"replay", game.path(), walk_file});
  EXPECT_EQ(replayed.status, 0) << replayed.out << replayed.err;
  EXPECT_EQ(replayed.out, walk_file + ": ok (10 typed lines, quit)\n");
  EXPECT_FALSE(fs::exists(game.file("mysave.txt")));
}

TEST(Play, RecordsPipedInputThatEndsWithoutQuitting) {
  GameFiles game(kPromptGame);
  const std::string walk_file = game.file("short.walk");
  const KitRun played =
      run_kit({"play", game.path(), "--plain", "--clock", "12345", "--record", walk_file}, "look\nhelp");
  ASSERT_EQ(played.status, 0) << played.err;
  const Walkthrough walk = read_walk(walk_file);
  EXPECT_EQ(walk.seed, 12345u) << "the clock gives the seed";
  EXPECT_EQ(walk.ending, "input-ended");
  EXPECT_EQ(walk.typed, (std::vector<std::string>{"look", "help"}));
  EXPECT_TRUE(
      walk.transcript.ends_with("> help\naction\nammo\ndrop\nfight\ninv\nlook\npath\npickup\nquit\nselect\nuse\n> "))
      << walk.transcript;
  EXPECT_EQ(run_kit({"replay", game.path(), walk_file}).status, 0);
}

// After "terminate" the game waits for two characters; what the player types
// then is no move of the walkthrough, also when the ending printed a message.
TEST(Play, LeavesTheLineAfterTheEndingOutOfTheRecording) {
  GameFiles game(talking_game("The roof falls in."));
  game.write("area1.txt", talking_game("The roof falls in.")["area1.txt"] + "action 2 dp 0 terminate\n");
  const std::string walk_file = game.file("end.walk");
  const KitRun played =
      run_kit({"play", game.path(), "--plain", "--seed", "1", "--record", walk_file}, "action 2\nbye\n");
  ASSERT_EQ(played.status, 0) << played.err;
  Walkthrough walk = read_walk(walk_file);
  EXPECT_EQ(walk.ending, "game-over");
  EXPECT_EQ(walk.typed, (std::vector<std::string>{"action 2"}));
  EXPECT_TRUE(walk.transcript.ends_with("> action 2\nThe roof falls in.\n")) << walk.transcript;
  EXPECT_EQ(run_kit({"replay", game.path(), walk_file}).status, 0);

  // A walkthrough recorded with that line once keeps it no longer when updated.
  walk.typed.emplace_back("bye");
  walk.transcript += "bye\n";
  ASSERT_TRUE(kit::write_file(walk_file, format_walkthrough(walk)));
  EXPECT_EQ(run_kit({"replay", game.path(), "--update", walk_file}).status, 0);
  EXPECT_EQ(read_walk(walk_file).typed, (std::vector<std::string>{"action 2"}));
}

TEST(Replay, NamesTheTypedLineBeforeTheFirstDifferenceAndUpdates) {
  GameFiles game(talking_game("Your shout comes back to you."));
  const std::string walk_file = game.file("talk.walk");
  ASSERT_EQ(run_kit({"play", game.path(), "--plain", "--seed", "1", "--record", walk_file},
                    "action 1\naction 2\naction 3\nquit\n")
                .status,
            0);
  const std::string recorded = vesk::read_file(walk_file).value();

  game.write("area1.txt", talking_game("The hall swallows your shout.")["area1.txt"]);
  const KitRun failed = run_kit({"replay", game.path(), walk_file});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.out.find(walk_file + ": the transcript differs after line 6 of the walkthrough, \"action 2\"\n"),
            std::string::npos)
      << failed.out;
  EXPECT_NE(failed.out.find("\n-Your shout comes back to you.\n+The hall swallows your shout.\n"), std::string::npos)
      << failed.out;
  EXPECT_NE(failed.out.find("\n > action 2\n"), std::string::npos) << "context before the change\n" << failed.out;
  EXPECT_EQ(vesk::read_file(walk_file).value(), recorded) << "a failed replay leaves the file alone";

  const KitRun updated = run_kit({"replay", game.path(), "--update", walk_file});
  EXPECT_EQ(updated.status, 0) << updated.out << updated.err;
  EXPECT_EQ(updated.out, walk_file + ": updated\n");
  const Walkthrough walk = read_walk(walk_file);
  EXPECT_EQ(walk.seed, 1u);
  EXPECT_NE(walk.transcript.find("> action 2\nThe hall swallows your shout.\n"), std::string::npos);
  EXPECT_EQ(run_kit({"replay", game.path(), walk_file}).status, 0);
}

TEST(Replay, ReportsAGameThatEndsEarlierAndBadFiles) {
  GameFiles game(talking_game("Your shout comes back to you."));
  const std::string walk_file = game.file("talk.walk");
  ASSERT_EQ(
      run_kit({"play", game.path(), "--plain", "--seed", "1", "--record", walk_file}, "action 1\naction 2\nquit\n")
          .status,
      0);
  game.write("area1.txt", talking_game("Your shout brings the roof down.\naction 2 dp 0 terminate")["area1.txt"]);
  const KitRun failed = run_kit({"replay", game.path(), walk_file});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.out.find("after line 6 of the walkthrough, \"action 2\""), std::string::npos) << failed.out;

  game.write("bad.walk", "not a walkthrough\n");
  const KitRun bad = run_kit({"replay", game.path(), game.file("bad.walk")});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("line 1:"), std::string::npos) << bad.err;
  EXPECT_EQ(run_kit({"replay", game.path()}).status, 2) << "no walkthrough named";
}

// The engine's dice, as the authors' guide describes them.
std::int32_t first_draw(std::uint32_t seed) {
  return static_cast<std::int32_t>(((seed * 214013u + 2531011u) >> 16) & 0x7fffu);
}

TEST(Sweep, CountsTheSeedsThatEndAsRecorded) {
  // One roll in four ends the game at once. The recording ends there, so
  // "quit" is never read, and the other runs run out of typed lines.
  GameFiles game(Files{{"area1.txt",
                        "The Den.\nA gambling den.\n\nThe Den.\n\nnone\n\nroll the die\n\n"
                        "action 1 dp 0 s v1 x4\naction 1 dp 1 = v1 0 terminate\n"}});
  std::uint32_t lucky = 0;
  while (first_draw(lucky) % 4 != 0) ++lucky;
  const std::string walk_file = game.file("roll.walk");
  ASSERT_EQ(run_kit({"play", game.path(), "--plain", "--seed", std::to_string(lucky), "--record", walk_file},
                    "action 1\nquit\n")
                .status,
            0);
  ASSERT_EQ(read_walk(walk_file).ending, "game-over");

  int expected = 0;
  std::string unlucky_seeds;
  for (std::uint32_t seed = 100; seed <= 139; ++seed) {
    if (first_draw(seed) % 4 == 0) {
      ++expected;
    } else if (unlucky_seeds.size() < 10 * 4) {
      unlucky_seeds += " " + std::to_string(seed);
    }
  }
  const KitRun sweep = run_kit({"replay", game.path(), "--seeds", "100..139", walk_file});
  EXPECT_EQ(sweep.status, 0) << sweep.err;
  const std::string head =
      walk_file + ": " + std::to_string(expected) + " of 40 runs (seeds 100..139) end as recorded (game-over)\n";
  EXPECT_EQ(sweep.out.substr(0, head.size()), head) << sweep.out;
  EXPECT_NE(sweep.out.find("  " + std::to_string(40 - expected) +
                           " runs left the recording after line 5 of the walkthrough, \"action 1\" (" +
                           std::to_string(40 - expected) + " input-ended); seeds"),
            std::string::npos)
      << sweep.out;
}

TEST(Replay, RefusesBadCommandLines) {
  EXPECT_EQ(run_kit({"replay", "--seeds", "9..3", "x.walk"}).status, 2);
  // A refusal says why, and then shows the usage.
  for (const kit::Arguments& args : std::vector<kit::Arguments>{
           {"replay", "--seeds", "1..2", "--update", "x.walk"},
           {"replay", "--seeds", "1..5", "--coverage", "x.walk"},
           {"replay", "--seeds", "1..5", "--trace", "t", "x.walk"},
           {"replay", "--update"},
       }) {
    const KitRun refused = run_kit(args);
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.starts_with("vesk-kit: ")) << refused.err;
    EXPECT_NE(refused.err.find("\nusage: vesk-kit replay"), std::string::npos) << refused.err;
  }
  EXPECT_NE(run_kit({"replay", "--seeds", "1..5", "--coverage", "x.walk"}).err.find("replay without --seeds for"),
            std::string::npos);
  EXPECT_EQ(run_kit({"play", "--seed", "-1"}).status, 2);
  GameFiles empty(Files{});
  const KitRun no_game = run_kit({"play", empty.path()}, "");
  EXPECT_EQ(no_game.status, 1);
  EXPECT_EQ(no_game.out, "vesk 1.0 alpha\nPlease wait...\n");
  EXPECT_EQ(no_game.err, "No game found: area1.txt is missing.\n");
}

}  // namespace
}  // namespace vesk::testing
