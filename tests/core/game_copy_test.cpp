// A game at its prompt is a value: a copy plays on exactly as the original
// would have, byte for byte, whether the original is gone or plays on too.
// Every transcript case and the sample game's walkthrough are played so.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/game.hpp"
#include "kit/walk.hpp"
#include "support/transcript.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = VESK_TESTS_DIR;

struct Case {
  fs::path game;
  std::string input;
  std::uint32_t seed = 0;
};

Case transcript_case(const fs::path& dir) {
  const std::string seed = read_file(dir / "seed");
  return {dir / "game", read_file(dir / "input"), static_cast<std::uint32_t>(seed.empty() ? 0 : std::stoul(seed))};
}

// The sample game played by its walkthrough's typed lines.
Case demo_walkthrough() {
  std::string error;
  const std::optional<kit::Walkthrough> walk =
      kit::parse_walkthrough(read_file(fs::path(VESK_TESTS_DIR) / ".." / "games" / "demo" / "walkthrough.walk"), error);
  Case demo{fs::path(VESK_TESTS_DIR) / ".." / "games" / "demo", {}, walk ? walk->seed : 0};
  if (walk) {
    for (const std::string& line : walk->typed) demo.input += line + "\n";
  }
  return demo;
}

// Replacing the game by a copy of itself at every prompt changes nothing: not
// the output, not the ending, not the files that its saves leave.
void expect_copies_play_alike(const Case& c) {
  const TranscriptResult plain = play_transcript(c.game, c.input, c.seed);
  const TranscriptResult copied = play_transcript(c.game, c.input, c.seed, Copying::kAtEveryPrompt);
  EXPECT_TRUE(copied.output == plain.output) << describe_difference(plain.output, copied.output);
  EXPECT_EQ(copied.ending, plain.ending);
  EXPECT_EQ(files_in(copied.work_directory), files_in(plain.work_directory));
  fs::remove_all(plain.work_directory);
  fs::remove_all(copied.work_directory);
}

// A copy taken at each prompt and resumed after the original has played to
// its end, with the rest of the input, prints what the original printed from
// there. Only for games that write no file, since the copies share the
// original's directory and would find its saves there.
void expect_forks_play_alike(const Case& c) {
  const fs::path work = fresh_copy_of(c.game);
  const auto files_before = files_in(work);
  std::istringstream in(c.input);
  std::ostringstream out;
  std::optional<World> world = start_game(work, out);
  if (!world) {
    fs::remove_all(work);
    return;
  }
  struct Fork {
    std::unique_ptr<Game> game;
    std::size_t input_at;
    std::string output_before;
  };
  std::vector<Fork> forks;
  Game game(std::move(*world), in, out, c.seed, work);
  std::string line;
  for (game.to_prompt(); !game.ending();) {
    const auto at = in.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
    forks.push_back({std::make_unique<Game>(game), static_cast<std::size_t>(at), out.str()});
    if (game.state().read_line(line)) {
      game.enter(line);
    } else {
      game.end_input();
    }
  }
  const std::string output = out.str();
  if (files_in(work) == files_before) {
    for (std::size_t k = 0; k < forks.size(); ++k) {
      Fork& fork = forks[k];
      std::istringstream rest(c.input.substr(std::min(fork.input_at, c.input.size())));
      std::ostringstream tail;
      fork.game->attach(rest, tail);
      EXPECT_EQ(fork.game->run(), *game.ending()) << "prompt " << k;
      const std::string resumed = fork.output_before + tail.str();
      ASSERT_TRUE(resumed == output) << "resumed at prompt " << k << "\n" << describe_difference(output, resumed);
    }
  }
  fs::remove_all(work);
}

class CopiedTranscript : public ::testing::TestWithParam<fs::path> {};

TEST_P(CopiedTranscript, PlaysOnAsTheOriginal) { expect_copies_play_alike(transcript_case(GetParam())); }

TEST_P(CopiedTranscript, ForkedAtEveryPromptPlaysOnAsTheOriginal) {
  expect_forks_play_alike(transcript_case(GetParam()));
}

std::string name_of(const ::testing::TestParamInfo<fs::path>& info) { return case_name(info.param, kRoot); }

INSTANTIATE_TEST_SUITE_P(All, CopiedTranscript, ::testing::ValuesIn(find_transcripts(kRoot)), name_of);

TEST(CopiedGame, TheSampleWalkthroughPlaysOnAsTheOriginal) {
  const Case demo = demo_walkthrough();
  ASSERT_FALSE(demo.input.empty());
  expect_copies_play_alike(demo);
  expect_forks_play_alike(demo);
}

// A copy shares the world and nothing else: what one copy's play changes in
// an area, the other does not see.
TEST(CopiedGame, CopiesShareTheWorldAndNothingElse) {
  const Case demo = demo_walkthrough();
  const fs::path work = fresh_copy_of(demo.game);
  std::istringstream in;
  std::ostringstream out;
  std::optional<World> world = start_game(work, out);
  ASSERT_TRUE(world);
  Game original(std::move(*world), in, out, 1, work);
  ASSERT_TRUE(original.to_prompt());
  Game copy = original;
  EXPECT_EQ(&copy.state().world(), &original.state().world());
  ASSERT_FALSE(copy.state().current_area_state().items.empty());
  copy.enter("pickup boat hook");
  EXPECT_TRUE(copy.state().current_area_state().items.empty());
  EXPECT_FALSE(original.state().current_area_state().items.empty());
  EXPECT_TRUE(copy.state().inventory.holds("boat hook"));
  EXPECT_FALSE(original.state().inventory.holds("boat hook"));
  EXPECT_TRUE(copy.at_prompt() && original.at_prompt());
  fs::remove_all(work);
}

}  // namespace
}  // namespace vesk::testing
