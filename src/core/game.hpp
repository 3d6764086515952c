// The game: the one object that owns the state of a game being played, and the
// turn loop that runs it pass by pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "content/world.hpp"
#include "state/game_state.hpp"
#include "state/outcome.hpp"

namespace vesk {

// How a game ended; the program maps it to an exit status.
enum class Ending {
  kQuit,        // the player typed "quit"
  kInputEnded,  // standard input ended at the prompt
  kGameOver,    // death or the "terminate" script command
  kNoGame,      // the directory holds no area1.txt
};

// A game being played. Between lines typed at its "> " prompt a game is a
// value: a copy shares the world, which never changes, and copies everything
// else (the play state, the dice, the bookkeeping of the pass), so that it
// plays on exactly as the original would have.
class Game {
 public:
  // `directory` is where saved games are written and read.
  Game(World world, std::istream& in, std::ostream& out, std::uint32_t seed, std::filesystem::path directory = ".");
  Game(std::shared_ptr<const World> world, std::istream& in, std::ostream& out, std::uint32_t seed,
       std::filesystem::path directory = ".");

  // Runs the turn loop until the game ends, reading each line at the prompt
  // from the input. A game that ends by quitting, death or "terminate" reads
  // two characters of input before returning. A game that runs out of
  // memory ends as at the end of the input, with its output flushed.
  Ending run();

  // The same loop a step at a time. `to_prompt` plays until the game waits at
  // its "> " prompt, which it has printed then, or has ended; true at the
  // prompt. `enter` carries out one line typed there (cut at its line end,
  // as `GameState::read_line` reads it) and plays on to the next prompt or
  // the end; `end_input` tells the game that no line will come. The number
  // prompt and the file-name prompt of scripts, and the two characters read
  // at the end, still come from the game's input stream.
  bool to_prompt();
  void enter(const std::string& line);
  void end_input();
  bool at_prompt() const { return phase_ == Phase::kPrompt; }
  // How the game ended, once it has.
  std::optional<Ending> ending() const { return ending_; }

  // Plays on with other streams, as a copy that is resumed elsewhere does.
  void attach(std::istream& in, std::ostream& out) { state_.attach(in, out); }

  GameState& state() { return state_; }
  const GameState& state() const { return state_; }
  // How many of the pending messages the next pass drops, for tools that
  // tell two games apart: the rest of what decides the next pass is the state.
  std::size_t messages_shown() const { return pending_shown_; }

 private:
  enum class Phase { kUnstarted, kPrompt, kEnded };

  void play_passes();
  void run_pass_start();
  void show_due_view();
  void end_pass();
  void take_lasting_damage(std::int32_t strength, const std::string& cause);
  void show_prompt();
  void end_program(Ending ending);
  void out_of_memory();

  GameState state_;
  // What the command that ended the prompt did with the turn.
  Outcome outcome_ = Outcome::no_turn();
  // Messages queued before the prompt of the previous pass opened; the next
  // pass drops exactly these, so messages queued by commands survive into
  // the view that follows them.
  std::size_t pending_shown_ = 0;
  Phase phase_ = Phase::kUnstarted;
  std::optional<Ending> ending_;
};

// The start of every game: prints the banner, loads the world from `directory`
// and prints the line that ends loading. Nothing when it holds no area1.txt
// (then only the banner has been printed).
std::optional<World> start_game(const std::filesystem::path& directory, std::ostream& out);

// Starts a game from the content files in `directory`: prints the banner,
// loads the world and plays it with input `in`, output `out` and the random
// generator seeded with `seed`.
Ending play(const std::filesystem::path& directory, std::istream& in, std::ostream& out, std::uint32_t seed);

}  // namespace vesk
