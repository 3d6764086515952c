// The recording session: a game played with what it prints and what is typed
// kept for a walkthrough.
#include "kit/walk.hpp"

#include <algorithm>
#include <istream>
#include <limits>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <type_traits>
#include <utility>

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/tools.hpp"
#include "state/game_state.hpp"

namespace vesk::kit {

namespace {

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
class TranscriptOut : public UnbufferedOut {
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
  void watch(const front::Session& session) { session_ = &session; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    std::string& transcript = result_.transcript;
    const bool closing = session_ ? session_->closing() : game_ && game_->ending().has_value();
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
      const Game* game = session_ ? &session_->game() : game_;
      const GameState* state = game ? &game->state() : nullptr;
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
  const front::Session* session_ = nullptr;
  std::string line_;
};

}  // namespace

bool StreamLines::next_line(std::string& line, const std::string& /*prompt*/) { return read_whole_line(in_, line); }

bool ListedLines::next_line(std::string& line, const std::string& /*prompt*/) {
  if (next_ >= lines_.size()) return false;
  line = lines_[next_++] + "\n";
  return true;
}

namespace {

// Output that goes nowhere.
class Nowhere : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char* /*data*/, std::streamsize count) override { return count; }
};

// Holds the buffer, so that it is made before the stream that writes to it.
struct NowhereHolder {
  Nowhere nowhere;
};

// A transcript that a replay keeps nowhere.
class UnwrittenTranscript : private NowhereHolder, public std::ostream {
 public:
  UnwrittenTranscript() : std::ostream(&nowhere) {}
};

}  // namespace

bool walkthrough_comforts(const Walkthrough& walk, std::uint32_t seed, front::MemoryShelf& shelf,
                          front::Comforts& comforts) {
  if (walk.comforts.empty()) return false;
  comforts = {};
  if (walk.comforts == "same-seed") comforts.fixed_seed = seed;
  comforts.shelf = &shelf;
  comforts.open_transcript = [](const std::string&, std::string&) -> std::unique_ptr<std::ostream> {
    return std::make_unique<UnwrittenTranscript>();
  };
  return true;
}

SessionResult run_session(const std::filesystem::path& directory, std::uint32_t seed, LineSource& source,
                          std::ostream* screen, Observer* observer, const front::Comforts* comforts) {
  SessionResult result;
  TranscriptOut output(result.transcript, screen, source.shows_prompt());
  RecordingIn input(source, output, result);
  std::ostream out(&output);
  std::istream in(&input);
  std::optional<World> world = start_game(directory, out);
  if (world && comforts) {
    front::Session session(std::make_shared<const World>(std::move(*world)), front::content_digest(directory), in, out,
                           seed, directory, *comforts);
    input.watch(session);
    session.set_observer(observer);
    result.ending = session.run();
  } else if (world) {
    Game game(std::move(*world), in, out, seed, directory);
    input.watch(game);
    game.state().observer = observer;
    result.ending = game.run();
  }
  out.flush();
  output.show_all();
  return result;
}

}  // namespace vesk::kit
