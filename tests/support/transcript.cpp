// Transcript cases: plays a game directory in process and compares the output.
#include "support/transcript.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "core/game.hpp"
#include "kit/walk_file.hpp"

namespace vesk::testing {

namespace fs = std::filesystem;

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path fresh_copy_of(const fs::path& game_directory) {
  static int counter = 0;
  fs::path work =
      fs::temp_directory_path() / ("vesk-transcript-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(work);
  fs::create_directories(work);
  if (fs::is_directory(game_directory)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(game_directory)) {
      fs::copy(entry.path(), work / entry.path().filename(), fs::copy_options::recursive);
    }
  }
  return work;
}

std::vector<std::pair<std::string, std::string>> files_in(const fs::path& directory) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
    files.emplace_back(entry.path().filename().string(), entry.is_regular_file() ? read_file(entry.path()) : "");
  }
  std::sort(files.begin(), files.end());
  return files;
}

namespace {

// The game a line at a time; at every prompt the game is copied and the
// original destroyed, so that the copy must hold everything it plays on with.
Ending play_copying(const fs::path& directory, std::istream& in, std::ostream& out, std::uint32_t seed) {
  std::optional<World> world = start_game(directory, out);
  if (!world) return Ending::kNoGame;
  auto game = std::make_unique<Game>(std::move(*world), in, out, seed, directory);
  std::string line;
  for (game->to_prompt(); !game->ending();) {
    game = std::make_unique<Game>(*game);
    if (game->state().read_line(line)) {
      game->enter(line);
    } else {
      game->end_input();
    }
  }
  return *game->ending();
}

}  // namespace

TranscriptResult play_transcript(const fs::path& game_directory, const std::string& input, std::uint32_t seed,
                                 Copying copying) {
  TranscriptResult result;
  result.work_directory = fresh_copy_of(game_directory);
  std::istringstream in(input);
  std::ostringstream out;
  const Ending ending = copying == Copying::kNever ? play(result.work_directory, in, out, seed)
                                                   : play_copying(result.work_directory, in, out, seed);
  result.ending = kit::ending_name(ending);
  result.output = out.str();
  return result;
}

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line + "$");
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::string describe_difference(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> a = lines_of(expected);
  const std::vector<std::string> b = lines_of(actual);
  // Longest common subsequence, then the edit script around it.
  const std::size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::vector<std::string> script;
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && a[i] == b[j]) {
      script.push_back("  " + a[i++]);
      ++j;
    } else if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
      script.push_back("+ " + b[j++]);
    } else {
      script.push_back("- " + a[i++]);
    }
  }
  // Show the changed lines with three lines of context around them.
  std::ostringstream diff;
  diff << "--- expected\n+++ actual\n";
  std::size_t last_shown = 0;
  bool any_shown = false;
  for (std::size_t k = 0; k < script.size(); ++k) {
    bool near_change = false;
    for (std::size_t d = (k >= 3 ? k - 3 : 0); d <= std::min(k + 3, script.size() - 1); ++d) {
      near_change = near_change || script[d][0] != ' ';
    }
    if (!near_change) continue;
    if (any_shown && k > last_shown + 1) diff << "@@\n";
    diff << script[k] << "\n";
    last_shown = k;
    any_shown = true;
  }
  return diff.str();
}

std::string case_name(const fs::path& directory, const fs::path& root) {
  std::string name = fs::relative(directory, root).string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

std::vector<fs::path> find_transcripts(const fs::path& root) {
  std::vector<fs::path> cases;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_directory() && fs::exists(entry.path() / "input") && fs::exists(entry.path() / "expected")) {
      cases.push_back(entry.path());
    }
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

}  // namespace vesk::testing
