// The comforts that front ends give around a game: undo, restart, bookmarks,
// transcripts and a second chance at the end, on the game's step interface
// and never changing what the game itself prints or does.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.hpp"
#include "front/bookmark.hpp"
#include "front/shelf.hpp"

namespace vesk::front {

// What a front end gives the session.
struct Comforts {
  // A restart plays this seed again; without it each restart takes a new one.
  std::optional<std::uint32_t> fixed_seed;
  // Where bookmarks are kept; without it there are none.
  Shelf* shelf = nullptr;
  // Opens the file that "transcript FILE" names; nothing, with the reason in
  // the second argument, when it cannot be written.
  std::function<std::unique_ptr<std::ostream>(const std::string&, std::string&)> open_transcript;
  // What "transcript" answers in a front end that keeps transcripts itself.
  std::string transcripts_elsewhere = "This front end keeps no transcripts.";
};

// The seed that a restart plays after a game of `seed` when none was given:
// worked out from it, so that a recorded game that restarts plays again alike.
std::uint32_t next_seed(std::uint32_t seed);

// The steps that "undo" can take back, at the least.
inline constexpr std::size_t kUndoDepth = 200;

// A game played with the comforts. At the "> " prompt a line that no command
// of the game begins with, and that starts with one of the session's words,
// is the session's; every other line is the game's, as are the number and
// file-name prompts. Reads from `in` and shows on `out` as the game would.
class Session {
 public:
  // `content` is the content_digest of the game's files, which bookmarks
  // carry; `directory` is where the game saves.
  Session(std::shared_ptr<const World> world, std::string content, std::istream& in, std::ostream& out,
          std::uint32_t seed, std::filesystem::path directory, Comforts comforts);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Plays until the player quits or the input ends. A game that ends by death
  // or "terminate" is offered undo, restart, resume or quit first; after
  // "quit" it ends as the game does, reading two characters.
  Ending run();

  // The game being played now.
  const Game& game() const { return game_; }
  // True when what is read next is the closing read of two characters.
  bool closing() const;
  void set_observer(Observer* observer);

 private:
  // The game's own streams, through the session.
  class GameOutput : public std::streambuf {
   public:
    explicit GameOutput(Session& session) : session_(session) {}

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;

   private:
    Session& session_;
  };
  class GameInput : public std::streambuf {
   public:
    explicit GameInput(Session& session) : session_(session) {}

   protected:
    int_type underflow() override;

   private:
    Session& session_;
    std::string line_;
  };

  // The game at a "> " prompt, to go back to.
  struct Snapshot {
    Game game;
    std::shared_ptr<Timeline> timeline;
    std::size_t events = 0;
    Digest printed;
    std::string line;  // the line typed there
  };

  void game_printed(std::string_view text);
  bool fetch_for_game(std::string& line);
  bool fetch_line(std::string& line);
  void say(std::string_view text);
  void flush();
  bool read_line(std::string& line);

  void take_line(const std::string& line);
  bool is_session_line(const std::string& line) const;
  void session_line(const std::string& line);
  void remember(const std::string& line);
  void undo();
  void restart();
  void bookmark(const std::string& name);
  void resume(const std::string& name);
  void list_bookmarks();
  void transcript(const std::string& file);
  void show_view();
  void prompt() { say("> "); }
  std::string help_paragraph() const;
  void offer_after_ending();
  std::optional<Game> replay(const Bookmark& bookmark, Digest& printed, std::string& why);

  std::shared_ptr<const World> world_;
  std::string content_;
  std::istream& in_;
  std::ostream& out_;
  std::filesystem::path directory_;
  Comforts comforts_;
  GameOutput game_output_;
  GameInput game_input_;
  std::ostream game_out_;
  std::istream game_in_;
  Game game_;
  std::shared_ptr<Timeline> timeline_;
  Digest printed_;
  std::deque<Snapshot> history_;
  Observer* observer_ = nullptr;
  std::unique_ptr<std::ostream> transcript_;
  std::string pending_;          // shown at the next read or at the end
  std::string last_line_;        // the last line shown so far, without its line end
  bool reading_prompt_ = false;  // the session reads a line at its prompt
  bool finishing_ = false;       // the closing read after the session's "quit"
  std::optional<Ending> ended_;
};

}  // namespace vesk::front
