// Runs every transcript case below tests/: each directory with a game/, an
// input, an expected output and optionally a seed and the expected ending.
#include <gtest/gtest.h>

#include "support/transcript.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = VESK_TESTS_DIR;

class Transcript : public ::testing::TestWithParam<fs::path> {};

TEST_P(Transcript, PlaysAsWritten) {
  const fs::path& dir = GetParam();
  const std::string seed_text = read_file(dir / "seed");
  const auto seed = static_cast<std::uint32_t>(seed_text.empty() ? 0 : std::stoul(seed_text));
  const TranscriptResult result = play_transcript(dir / "game", read_file(dir / "input"), seed);
  const std::string expected = read_file(dir / "expected");
  EXPECT_TRUE(result.output == expected) << describe_difference(expected, result.output);
  if (fs::exists(dir / "ending")) {
    std::string ending = read_file(dir / "ending");
    while (!ending.empty() && (ending.back() == '\n' || ending.back() == '\r')) ending.pop_back();
    EXPECT_EQ(result.ending, ending);
  }
  fs::remove_all(result.work_directory);
}

std::string name_of(const ::testing::TestParamInfo<fs::path>& info) { return case_name(info.param, kRoot); }

INSTANTIATE_TEST_SUITE_P(All, Transcript, ::testing::ValuesIn(find_transcripts(kRoot)), name_of);

}  // namespace
}  // namespace vesk::testing
