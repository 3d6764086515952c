// Transcript cases: a game directory, the player's input, a seed and the exact
// output expected from playing it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vesk::testing {

struct TranscriptResult {
  std::string output;
  std::string ending;                    // "quit", "input-ended", "game-over" or "no-game"
  std::filesystem::path work_directory;  // where the game ran (saved games land here)
};

// How a transcript is played: by the game's own loop, or a line at a time with
// the game replaced by a copy of itself at every prompt, the original gone.
enum class Copying { kNever, kAtEveryPrompt };

// Plays the game in `game_directory` in process, in a fresh copy of the
// directory, with `input` and `seed`.
TranscriptResult play_transcript(const std::filesystem::path& game_directory, const std::string& input,
                                 std::uint32_t seed, Copying copying = Copying::kNever);

// A fresh directory holding a copy of the files of `game_directory`.
std::filesystem::path fresh_copy_of(const std::filesystem::path& game_directory);

// The names and contents of the files in `directory`, sorted by name.
std::vector<std::pair<std::string, std::string>> files_in(const std::filesystem::path& directory);

// A readable line diff of two outputs, with line ends shown as "$".
std::string describe_difference(const std::string& expected, const std::string& actual);

// A test name for the case in `directory` below `root`: its relative path
// with every character but letters and digits made "_".
std::string case_name(const std::filesystem::path& directory, const std::filesystem::path& root);

// Every transcript case directory (one holding an "input" file) below `root`, sorted.
std::vector<std::filesystem::path> find_transcripts(const std::filesystem::path& root);

std::string read_file(const std::filesystem::path& file);

}  // namespace vesk::testing
