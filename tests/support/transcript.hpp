// Transcript cases: a game directory, the player's input, a seed and the exact
// output expected from playing it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vesk::testing {

struct TranscriptResult {
  std::string output;
  std::string ending;                    // "quit", "input-ended", "game-over" or "no-game"
  std::filesystem::path work_directory;  // where the game ran (saved games land here)
};

// Plays the game in `game_directory` in process, in a fresh copy of the
// directory, with `input` and `seed`.
TranscriptResult play_transcript(const std::filesystem::path& game_directory, const std::string& input,
                                 std::uint32_t seed);

// A readable line diff of two outputs, with line ends shown as "$".
std::string describe_difference(const std::string& expected, const std::string& actual);

// Every transcript case directory (one holding an "input" file) below `root`, sorted.
std::vector<std::filesystem::path> find_transcripts(const std::filesystem::path& root);

std::string read_file(const std::filesystem::path& file);

}  // namespace vesk::testing
