// The game: the one object that owns the state of a game being played, and the
// turn loop that runs it pass by pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

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

class Game {
 public:
  // `directory` is where saved games are written and read.
  Game(World world, std::istream& in, std::ostream& out, std::uint32_t seed, std::filesystem::path directory = ".");

  // Runs the turn loop until the game ends. A game that ends by quitting,
  // death or "terminate" reads two characters of input before returning.
  Ending run();

  GameState& state() { return state_; }

 private:
  void run_pass_start();
  void show_due_view();
  void run_prompt_loop();
  void end_pass();
  void take_lasting_damage(std::int32_t strength, const std::string& cause);
  void end_program();

  GameState state_;
  // What the command that ended the prompt did with the turn.
  Outcome outcome_ = Outcome::no_turn();
  // Messages queued before the prompt of the previous pass opened; the next
  // pass drops exactly these, so messages queued by commands survive into
  // the view that follows them.
  std::size_t pending_shown_ = 0;
  bool input_ended_ = false;
  bool quit_ = false;
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
