// Walkthroughs: the .walk format and the recording session.
#include "kit/walk.hpp"

#include <algorithm>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <type_traits>
#include <utility>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/tools.hpp"
#include "state/game_state.hpp"

namespace vesk::kit {

namespace {

constexpr std::string_view kMagic = "vesk walkthrough";

// The kind of prompt that the output's last line ends with.
std::string prompt_kind(std::string_view last_line) {
  if (last_line.ends_with(" (number)> ")) return "number";
  if (last_line.ends_with("File name?> ")) return "file name";
  return "game";
}

std::string_view last_line_of(std::string_view text) {
  const std::size_t end = text.rfind('\n');
  return end == std::string_view::npos ? text : text.substr(end + 1);
}

// The game's output: kept whole as the transcript and passed on to the screen.
// For a line editor, which shows the prompt itself, the last line is held back
// until the next line is read.
class TranscriptOut : public std::streambuf {
 public:
  TranscriptOut(std::string& transcript, std::ostream* screen, bool hold_prompt)
      : transcript_(transcript), screen_(screen), hold_prompt_(hold_prompt) {}

  // The held back text, now shown by the caller.
  std::string take_held() {
    if (screen_) screen_->flush();
    return std::exchange(held_, {});
  }

  // Shows what is held back and flushes the screen.
  void show_all() {
    if (!screen_) return;
    screen_->write(held_.data(), static_cast<std::streamsize>(held_.size()));
    held_.clear();
    screen_->flush();
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
  }

  std::streamsize xsputn(const char* data, std::streamsize count) override {
    const std::string_view text(data, static_cast<std::size_t>(count));
    transcript_.append(text);
    if (!screen_) return count;
    if (!hold_prompt_) {
      screen_->write(data, count);
      return count;
    }
    held_.append(text);
    if (const std::size_t end = held_.rfind('\n'); end != std::string::npos) {
      screen_->write(held_.data(), static_cast<std::streamsize>(end + 1));
      held_.erase(0, end + 1);
    }
    return count;
  }

  int sync() override {
    if (screen_) screen_->flush();
    return 0;
  }

 private:
  std::string& transcript_;
  std::ostream* screen_;
  bool hold_prompt_;
  std::string held_;
};

// The game's input: each line comes from the source when the game asks for
// more, and is recorded, with where the game stood, and echoed into the
// transcript. A read once the game has ended is its closing read of two
// characters, which is served but not recorded, however the game ended.
class RecordingIn : public std::streambuf {
 public:
  RecordingIn(LineSource& source, TranscriptOut& out, SessionResult& result)
      : source_(source), out_(out), result_(result) {}

  void watch(const Game& game) { game_ = &game; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    std::string& transcript = result_.transcript;
    const bool closing = game_ && game_->ending().has_value();
    const std::string prompt = closing ? std::string() : std::string(last_line_of(transcript));
    std::string shown_prompt;
    if (source_.shows_prompt()) {
      shown_prompt = out_.take_held();
    } else {
      out_.show_all();
    }
    if (!source_.next_line(line_, shown_prompt)) {
      // The source showed nothing, so the prompt goes to the screen here.
      out_.show_all();
      return traits_type::eof();
    }
    if (!closing) {
      std::string typed = line_;
      if (!typed.empty() && typed.back() == '\n') typed.pop_back();
      result_.typed_offset.push_back(transcript.size());
      const GameState* state = game_ ? &game_->state() : nullptr;
      result_.places.push_back({state ? state->vars.area : 0, state ? state->vars.spot : 0, prompt_kind(prompt)});
      transcript += typed;
      transcript += '\n';
      result_.typed.push_back(std::move(typed));
    }
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  LineSource& source_;
  TranscriptOut& out_;
  SessionResult& result_;
  const Game* game_ = nullptr;
  std::string line_;
};

std::vector<std::string_view> split_at_line_ends(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size() - 1;
    lines.push_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

const char* ending_name(Ending ending) {
  switch (ending) {
    case Ending::kQuit:
      return "quit";
    case Ending::kInputEnded:
      return "input-ended";
    case Ending::kGameOver:
      return "game-over";
    case Ending::kNoGame:
      break;
  }
  return "no-game";
}

std::string format_walkthrough(const Walkthrough& walk) {
  std::string text;
  text += kMagic;
  text += "\nseed " + std::to_string(walk.seed) + "\nclock " + std::to_string(walk.clock) + "\nending " + walk.ending +
          "\n";
  for (const std::string& line : walk.typed) text += "typed " + line + "\n";
  text += "\n";
  text += walk.transcript;
  return text;
}

namespace {}  // namespace

std::optional<Walkthrough> parse_walkthrough(std::string_view text, std::string& error) {
  Walkthrough walk;
  std::size_t pos = 0;
  std::size_t line_number = 0;
  std::string_view line;
  auto take_line = [&]() {
    ++line_number;
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    pos = std::min(end + 1, text.size());
    return true;
  };
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(line_number) + ": " + why;
    return std::nullopt;
  };
  if (!take_line() || line != kMagic) return fail("not a walkthrough: the first line must be \"vesk walkthrough\"");
  if (!take_line() || !line.starts_with("seed ") || !whole_number(line.substr(5), walk.seed)) {
    return fail("expected \"seed N\" with N from 0 to 4294967295");
  }
  if (!take_line() || !line.starts_with("clock ") || !whole_number(line.substr(6), walk.clock)) {
    return fail("expected \"clock T\" with T a whole number of seconds");
  }
  if (!take_line() || !line.starts_with("ending ")) return fail("expected \"ending quit|input-ended|game-over\"");
  walk.ending = line.substr(7);
  for (;;) {
    if (!take_line()) return fail("expected a typed line or the empty line that ends the header");
    if (line.empty()) break;
    if (!line.starts_with("typed ") && line != "typed") return fail("expected a typed line: \"typed TEXT\"");
    walk.typed.emplace_back(line.substr(std::min<std::size_t>(6, line.size())));
  }
  walk.transcript = std::string(text.substr(pos));
  return walk;
}

bool StreamLines::next_line(std::string& line, const std::string& /*prompt*/) {
  line.clear();
  std::streambuf* buffer = in_.rdbuf();
  if (!buffer) return false;
  for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

bool ListedLines::next_line(std::string& line, const std::string& /*prompt*/) {
  if (next_ >= lines_.size()) return false;
  line = lines_[next_++] + "\n";
  return true;
}

SessionResult run_session(const std::filesystem::path& directory, std::uint32_t seed, LineSource& source,
                          std::ostream* screen, Observer* observer) {
  SessionResult result;
  TranscriptOut output(result.transcript, screen, source.shows_prompt());
  RecordingIn input(source, output, result);
  std::ostream out(&output);
  std::istream in(&input);
  std::optional<World> world = start_game(directory, out);
  if (world) {
    Game game(std::move(*world), in, out, seed, directory);
    input.watch(game);
    game.state().observer = observer;
    result.ending = game.run();
  }
  out.flush();
  output.show_all();
  return result;
}

std::string transcript_diff(std::string_view expected, std::string_view actual, std::size_t first_line,
                            std::string_view expected_name, std::string_view actual_name) {
  const std::vector<std::string_view> a = split_at_line_ends(expected);
  const std::vector<std::string_view> b = split_at_line_ends(actual);
  std::size_t first = 0;
  while (first < a.size() && first < b.size() && a[first] == b[first]) ++first;
  if (first == a.size() && first == b.size()) return {};
  // An edit script over a window after the first difference.
  constexpr std::size_t kWindow = 60, kContext = 3;
  const std::size_t n = std::min(a.size() - first, kWindow), m = std::min(b.size() - first, kWindow);
  std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i][j] =
          a[first + i] == b[first + j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  struct Step {
    char mark;
    std::string_view text;
  };
  std::vector<Step> steps;
  for (std::size_t k = first >= kContext ? first - kContext : 0; k < first; ++k) steps.push_back({' ', a[k]});
  std::size_t i = 0, j = 0, equal_run = 0;
  while ((i < n || j < m) && equal_run < 2 * kContext) {
    if (i < n && j < m && a[first + i] == b[first + j]) {
      steps.push_back({' ', a[first + i]});
      ++i, ++j, ++equal_run;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      steps.push_back({'-', a[first + i++]});
      equal_run = 0;
    } else {
      steps.push_back({'+', b[first + j++]});
      equal_run = 0;
    }
  }
  while (equal_run > kContext) steps.pop_back(), --equal_run;
  std::size_t old_count = 0, new_count = 0;
  for (const Step& step : steps) {
    old_count += step.mark != '+';
    new_count += step.mark != '-';
  }
  const std::size_t start = first_line + (first >= kContext ? first - kContext : 0);
  std::ostringstream diff;
  diff << "--- " << expected_name << "\n+++ " << actual_name << "\n@@ -" << start << "," << old_count << " +" << start
       << "," << new_count << " @@\n";
  for (const Step& step : steps) {
    diff << step.mark << step.text;
    if (!step.text.ends_with('\n')) diff << "\n\\ No newline at end of file\n";
  }
  return diff.str();
}

}  // namespace vesk::kit
