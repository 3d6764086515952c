// The comforts around a game: the session's words at the prompt, the undo
// history, bookmarks played back from their start, and the offer at the end.
#include "front/session.hpp"

#include <istream>
#include <new>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "base/lines.hpp"
#include "base/words.hpp"
#include "core/dispatch.hpp"
#include "state/game_state.hpp"

namespace vesk::front {

namespace fs = std::filesystem;

std::uint32_t next_seed(std::uint32_t seed) { return seed * 1664525U + 1013904223U; }

namespace {

constexpr std::string_view kFilePrompt = "File name?> ";

// The name a saved game gets from the line typed at the file-name prompt, as
// the game forms it; nothing for a name that the game refuses.
std::optional<std::string> saved_game_file(std::string_view typed) {
  std::string_view name = typed.substr(0, std::min(typed.size(), kLineCapacity));
  if (const std::size_t end = name.find('\n'); end != std::string_view::npos) name = name.substr(0, end);
  if (name.find('/') != std::string_view::npos) return std::nullopt;
  return std::string(name) + ".txt";
}

// Input for a game played back from a timeline: the bytes of each read, with
// the saved game files put back as they were just before it.
class PlaybackInput : public std::streambuf {
 public:
  PlaybackInput(const std::vector<Event>& events, std::size_t& next, fs::path directory)
      : events_(events), next_(next), directory_(std::move(directory)) {}

  // A line typed at the prompt starts afresh.
  void drop_unread() { setg(line_.data(), line_.data(), line_.data()); }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    while (next_ < events_.size() && events_[next_].kind == Event::Kind::kFile) put_back(events_[next_++]);
    if (next_ >= events_.size() || events_[next_].kind != Event::Kind::kRead) return traits_type::eof();
    line_ = events_[next_++].text;
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
  }

 private:
  void put_back(const Event& file) {
    const fs::path path = directory_ / file.text;
    std::error_code error;
    fs::remove(path, error);
    if (file.contents) write_whole_file(path, *file.contents);
  }

  const std::vector<Event>& events_;
  std::size_t& next_;
  fs::path directory_;
  std::string line_;
};

// Output kept in a string.
class StringOutput : public std::streambuf {
 public:
  const std::string& text() const { return text_; }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) text_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    text_.append(data, static_cast<std::size_t>(count));
    return count;
  }

 private:
  std::string text_;
};

// Output that is only digested.
class DigestOutput : public std::streambuf {
 public:
  const Digest& digest() const { return digest_; }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      const char ch = traits_type::to_char_type(c);
      digest_.add(std::string_view(&ch, 1));
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    digest_.add(std::string_view(data, static_cast<std::size_t>(count)));
    return count;
  }

 private:
  Digest digest_;
};

// A fresh directory for a game played back, where its saves land; removed
// with them when it goes.
class Scratch {
 public:
  Scratch() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return;
    std::random_device device;
    for (int attempt = 0; attempt < 20; ++attempt) {
      const fs::path candidate = base / ("vesk-resume-" + std::to_string(device()));
      if (fs::create_directory(candidate, error) && !error) {
        path_ = candidate;
        return;
      }
    }
  }
  ~Scratch() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string in_quotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

constexpr std::string_view kBadName =
    "A bookmark's name is 1 to 64 letters, digits, '-', '_' and '.', not starting with '.'.\n\n";

}  // namespace

Session::Session(std::shared_ptr<const World> world, std::string content, std::istream& in, std::ostream& out,
                 std::uint32_t seed, fs::path directory, Comforts comforts)
    : world_(std::move(world)),
      content_(std::move(content)),
      in_(in),
      out_(out),
      directory_(std::move(directory)),
      comforts_(std::move(comforts)),
      game_output_(*this),
      game_input_(*this),
      game_out_(&game_output_),
      game_in_(&game_input_),
      game_(world_, game_in_, game_out_, seed, directory_),
      timeline_(std::make_shared<Timeline>(Timeline{seed, {}})) {}

void Session::set_observer(Observer* observer) {
  observer_ = observer;
  game_.state().observer = observer;
}

bool Session::closing() const {
  if (ended_ || finishing_) return true;
  return game_.ending() && *game_.ending() != Ending::kGameOver;
}

// ---- The streams between the game, the session and the front end.

Session::GameOutput::int_type Session::GameOutput::overflow(int_type c) {
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    const char ch = traits_type::to_char_type(c);
    session_.game_printed(std::string_view(&ch, 1));
  }
  return traits_type::not_eof(c);
}

std::streamsize Session::GameOutput::xsputn(const char* data, std::streamsize count) {
  session_.game_printed(std::string_view(data, static_cast<std::size_t>(count)));
  return count;
}

Session::GameInput::int_type Session::GameInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!session_.fetch_for_game(line_) || line_.empty()) return traits_type::eof();
  setg(line_.data(), line_.data(), line_.data() + line_.size());
  return traits_type::to_int_type(*gptr());
}

void Session::game_printed(std::string_view text) {
  printed_.add(text);
  pending_ += text;
}

void Session::say(std::string_view text) { pending_ += text; }

void Session::flush() {
  if (!pending_.empty()) {
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    if (transcript_) transcript_->write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    const std::size_t end = pending_.rfind('\n');
    last_line_ = end == std::string::npos ? last_line_ + pending_ : pending_.substr(end + 1);
    pending_.clear();
  }
  out_.flush();
  if (transcript_) transcript_->flush();
}

// One line from the front end, with its line end when it has one; what is
// typed goes into the transcript as the screen shows it.
bool Session::fetch_line(std::string& line) {
  flush();
  if (!read_whole_line(in_, line)) return false;
  if (transcript_) {
    *transcript_ << line;
    if (line.back() != '\n') *transcript_ << '\n';
  }
  last_line_.clear();
  return true;
}

// What the game reads. At the session's prompt it is the line typed there; in
// the middle of a step it is a number or a file name, which the timeline keeps
// with the saved game file it names; once the game has ended by death or
// "terminate" the session offers its choices before the game's closing read.
bool Session::fetch_for_game(std::string& line) {
  if (reading_prompt_ || finishing_) return fetch_line(line);
  if (game_.ending()) {
    if (*game_.ending() == Ending::kGameOver) return false;
    return fetch_line(line);
  }
  flush();
  const bool file_prompt = last_line_.ends_with(kFilePrompt);
  if (!fetch_line(line)) return false;
  if (file_prompt) {
    if (const std::optional<std::string> file = saved_game_file(line)) {
      timeline_->events.push_back({Event::Kind::kFile, *file, read_file(directory_ / *file)});
    }
  }
  timeline_->events.push_back({Event::Kind::kRead, line, std::nullopt});
  return true;
}

// A line typed at a prompt of the session's, read as the game reads its own.
bool Session::read_line(std::string& line) {
  if (!game_in_.bad()) game_in_.clear();
  reading_prompt_ = true;
  std::string piece;
  const bool got = read_piece(game_in_, piece);
  reading_prompt_ = false;
  if (const std::size_t end = piece.find('\n'); end != std::string::npos) piece.resize(end);
  line = std::move(piece);
  return got;
}

// ---- The loop.

Ending Session::run() {
  try {
    game_.to_prompt();
    while (!ended_) {
      if (game_.at_prompt()) {
        std::string line;
        if (!read_line(line)) {
          game_.end_input();
          ended_ = Ending::kInputEnded;
          break;
        }
        take_line(line);
      } else if (game_.ending() && *game_.ending() == Ending::kGameOver) {
        offer_after_ending();
      } else {
        ended_ = game_.ending().value_or(Ending::kInputEnded);
      }
    }
  } catch (const std::bad_alloc&) {
    // As the game itself does: content that drives it out of memory ends it
    // as at the end of the input, with what it printed.
    ended_ = Ending::kInputEnded;
  } catch (const std::length_error&) {
    ended_ = Ending::kInputEnded;
  }
  flush();
  if (transcript_) transcript_.reset();
  return *ended_;
}

void Session::take_line(const std::string& line) {
  if (is_session_line(line)) return session_line(line);
  remember(line);
  timeline_->events.push_back({Event::Kind::kEnter, line, std::nullopt});
  game_.enter(line);
  // The game's help, and then the session's, before the prompt.
  if (command_word(line) == "help" && game_.at_prompt() && pending_.ends_with("> ")) {
    pending_.insert(pending_.size() - 2, help_paragraph());
  }
}

// The session's words are those that the game would answer "Entry invalid.".
bool Session::is_session_line(const std::string& line) const {
  if (line == "quit" || !command_word(line).empty()) return false;
  const Words words = split_words(line);
  if (words.empty()) return false;
  const std::string& word = words[0];
  return word == "undo" || word == "restart" || word == "bookmark" || word == "bookmarks" || word == "resume" ||
         word == "transcript";
}

void Session::session_line(const std::string& line) {
  const Words words = split_words(line);
  const std::string& word = words[0];
  const std::string argument = words.size() == 2 ? words[1] : std::string();
  const bool alone = words.size() == 1;
  if (word == "undo" && alone) return undo();
  if (word == "restart" && alone) return restart();
  if (word == "bookmarks" && alone) return list_bookmarks();
  if (word == "bookmark" && !argument.empty()) return bookmark(argument);
  if (word == "resume" && !argument.empty()) return resume(argument);
  if (word == "transcript" && !argument.empty()) return transcript(argument);
  if (word == "bookmark" || word == "resume") {
    say("Type " + word + " and a name: " + word + " NAME.\n\n");
  } else if (word == "transcript") {
    say("Type transcript FILE, or transcript off.\n\n");
  } else {
    say("Type " + word + " alone.\n\n");
  }
  if (game_.at_prompt()) prompt();
}

// Keeps the game as it stands at this prompt, before `line` changes it.
void Session::remember(const std::string& line) {
  if (!game_.at_prompt()) return;
  history_.push_back({game_, timeline_, timeline_->events.size(), printed_, line});
  if (history_.size() > kUndoDepth) history_.pop_front();
}

void Session::undo() {
  if (history_.empty()) {
    say("There is nothing to undo.\n\n");
    if (game_.at_prompt()) prompt();
    return;
  }
  Snapshot back = std::move(history_.back());
  history_.pop_back();
  game_ = std::move(back.game);
  timeline_ = std::move(back.timeline);
  timeline_->events.resize(back.events);
  printed_ = back.printed;
  say("Undone: " + in_quotes(back.line) + ".\n");
  show_view();
}

// The view of the game as it stands, shown by a throw-away copy's "look", so
// that the game itself is left exactly as it was.
void Session::show_view() {
  Game copy = game_;
  std::istream nothing(nullptr);
  StringOutput view_buffer;
  std::ostream view(&view_buffer);
  copy.attach(nothing, view);
  copy.state().observer = nullptr;
  copy.enter("look");
  say(view_buffer.text());
}

void Session::restart() {
  remember("restart");
  const std::uint32_t seed = comforts_.fixed_seed.value_or(next_seed(timeline_->seed));
  timeline_ = std::make_shared<Timeline>(Timeline{seed, {}});
  printed_ = Digest();
  game_ = Game(world_, game_in_, game_out_, seed, directory_);
  game_.state().observer = observer_;
  say("The game starts again.\n");
  game_.to_prompt();
}

void Session::bookmark(const std::string& name) {
  if (!comforts_.shelf) {
    say("This front end keeps no bookmarks.\n\n");
  } else if (!is_bookmark_name(name)) {
    say(kBadName);
  } else {
    std::string error;
    const Bookmark kept{content_, printed_.text(), *timeline_};
    if (comforts_.shelf->put(name, format_bookmark(kept), error)) {
      say("Bookmarked as " + in_quotes(name) + ".\n\n");
    } else {
      say("The bookmark " + in_quotes(name) + " could not be kept: " + error + "\n\n");
    }
  }
  prompt();
}

void Session::list_bookmarks() {
  const std::vector<std::string> names = comforts_.shelf ? comforts_.shelf->names() : std::vector<std::string>();
  if (names.empty()) {
    say("There are no bookmarks yet.\n\n");
  } else {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    say("Bookmarks: " + list + ".\n\n");
  }
  if (game_.at_prompt()) prompt();
}

void Session::resume(const std::string& name) {
  std::string why;
  std::optional<Bookmark> kept;
  std::optional<Game> resumed;
  Digest printed;
  if (!comforts_.shelf) {
    why = "This front end keeps no bookmarks.";
  } else if (!is_bookmark_name(name)) {
    why = std::string(kBadName.substr(0, kBadName.size() - 2));
  } else if (const std::optional<std::string> text = comforts_.shelf->get(name); !text) {
    why = "There is no bookmark named " + in_quotes(name) + ".";
  } else if (kept = parse_bookmark(*text); !kept) {
    why = "The bookmark " + in_quotes(name) + " is damaged and cannot be resumed.";
  } else if (kept->content != content_) {
    why = "The bookmark " + in_quotes(name) +
          " was made with other content files than this game's, which have changed since; it cannot be resumed.";
  } else {
    resumed = replay(*kept, printed, why);
    if (!resumed) why = "The bookmark " + in_quotes(name) + " " + why;
  }
  if (!resumed) {
    say(why + "\n\n");
    if (game_.at_prompt()) prompt();
    return;
  }
  remember("resume " + name);
  game_ = std::move(*resumed);
  timeline_ = std::make_shared<Timeline>(kept->timeline);
  printed_ = printed;
  say("Resumed " + in_quotes(name) + ".\n");
  show_view();
}

// Plays the bookmark's timeline from the start in a scratch directory; the
// game at its last prompt, or nothing, with why, when it does not play back
// to a prompt printing exactly what it printed before.
std::optional<Game> Session::replay(const Bookmark& bookmark, Digest& printed, std::string& why) {
  const Scratch scratch;
  if (scratch.path().empty()) {
    why = "cannot be resumed: there is no temporary directory to play it back in.";
    return std::nullopt;
  }
  const std::vector<Event>& events = bookmark.timeline.events;
  std::size_t next = 0;
  PlaybackInput input_buffer(events, next, scratch.path());
  DigestOutput output_buffer;
  std::istream in(&input_buffer);
  std::ostream out(&output_buffer);
  Game game(world_, in, out, bookmark.timeline.seed, scratch.path());
  game.to_prompt();
  bool played = true;
  while (played && next < events.size()) {
    const Event& event = events[next++];
    played = event.kind == Event::Kind::kEnter && game.at_prompt();
    if (!played) break;
    input_buffer.drop_unread();
    game.enter(event.text);
  }
  if (!played || !game.at_prompt() || output_buffer.digest().text() != bookmark.output) {
    why = "does not play back in this game as it was made, and cannot be resumed.";
    return std::nullopt;
  }
  printed = output_buffer.digest();
  game.attach(game_in_, game_out_);
  game.state().directory = directory_;
  game.state().observer = observer_;
  return game;
}

void Session::transcript(const std::string& file) {
  if (file == "off") {
    if (transcript_) {
      say("The transcript ends here.\n\n");
      flush();
      const bool written = transcript_->good();
      transcript_.reset();
      if (!written) say("The transcript could not be written whole.\n\n");
    } else {
      say("No transcript is being kept.\n\n");
    }
  } else if (!comforts_.open_transcript) {
    say(comforts_.transcripts_elsewhere + "\n\n");
  } else {
    std::string error;
    std::unique_ptr<std::ostream> opened = comforts_.open_transcript(file, error);
    if (!opened) {
      say("The transcript " + in_quotes(file) + " cannot be written: " + error + "\n\n");
    } else {
      flush();
      transcript_ = std::move(opened);
      say("The transcript goes to " + in_quotes(file) + " from here.\n\n");
    }
  }
  if (game_.at_prompt()) prompt();
}

std::string Session::help_paragraph() const {
  std::string text =
      "\nAround the game:\n"
      "undo: take back the last step\n"
      "restart: play again from the start\n"
      "bookmark NAME, resume NAME, bookmarks: keep the game here, come back to it, list them\n";
  if (comforts_.open_transcript) text += "transcript FILE, transcript off: keep what is shown and typed in FILE\n";
  return text;
}

// The game has ended by death or "terminate": the player may take the last
// step back, start again or resume a bookmark before it ends for good.
void Session::offer_after_ending() {
  // After a blank line, as the game leaves its last view.
  say(pending_.ends_with("\n\n") ? "" : "\n");
  say("The game is over. Type undo, restart, resume NAME or quit.\n> ");
  for (;;) {
    std::string line;
    if (!read_line(line)) {
      ended_ = Ending::kGameOver;
      return;
    }
    if (line == "quit") {
      finishing_ = true;
      if (!game_in_.bad()) game_in_.clear();
      for (int i = 0; i < 2 && read_char(game_in_) != std::char_traits<char>::eof(); ++i) {
      }
      ended_ = Ending::kGameOver;
      return;
    }
    const Words words = split_words(line);
    const std::string word = words.empty() ? std::string() : words[0];
    if (line == "undo" || line == "restart" || (word == "resume" && words.size() == 2) || line == "bookmarks") {
      session_line(line);
      if (game_.at_prompt()) return;
      say("> ");
    } else {
      say("Type undo, restart, resume NAME or quit.\n> ");
    }
  }
}

}  // namespace vesk::front
