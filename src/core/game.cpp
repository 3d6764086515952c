// The turn loop: the fixed order of steps of every pass, and the prompt.
#include "core/game.hpp"

#include <istream>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "base/arith.hpp"
#include "base/lines.hpp"
#include "base/words.hpp"
#include "combat/enemy_turn.hpp"
#include "core/dispatch.hpp"
#include "core/movement.hpp"
#include "core/view.hpp"
#include "core/water.hpp"
#include "script/expand.hpp"
#include "script/runner.hpp"

namespace vesk {

Game::Game(World world, std::istream& in, std::ostream& out, std::uint32_t seed, std::filesystem::path directory)
    : Game(std::make_shared<const World>(std::move(world)), in, out, seed, std::move(directory)) {}

Game::Game(std::shared_ptr<const World> world, std::istream& in, std::ostream& out, std::uint32_t seed,
           std::filesystem::path directory)
    : state_(std::move(world), in, out, seed, std::move(directory)) {}

Ending Game::run() {
  try {
    std::string line;
    for (to_prompt(); !ending_;) {
      if (state_.read_line(line)) {
        enter(line);
      } else {
        end_input();
      }
    }
  } catch (const std::bad_alloc&) {
    out_of_memory();
  } catch (const std::length_error&) {
    out_of_memory();
  }
  return *ending_;
}

// A game that content or scripts have driven out of memory cannot go on, but
// it must not lose what it printed: it ends as at the end of the input.
void Game::out_of_memory() {
  phase_ = Phase::kEnded;
  ending_ = Ending::kInputEnded;
  state_.out() << std::flush;
}

bool Game::to_prompt() {
  if (phase_ == Phase::kUnstarted) play_passes();
  return phase_ == Phase::kPrompt;
}

void Game::enter(const std::string& line) {
  if (!to_prompt()) return;
  if (state_.observer) state_.observer->on_input(line);
  if (line == "quit") return end_program(Ending::kQuit);
  outcome_ = dispatch(state_, line);
  if (state_.observer) state_.observer->on_outcome(outcome_);
  if (!outcome_.passes_turn()) return show_prompt();
  if (state_.observer) state_.observer->on_step(state_, TurnStep::kEndPass);
  end_pass();
  play_passes();
}

void Game::end_input() {
  if (!to_prompt()) return;
  phase_ = Phase::kEnded;
  ending_ = Ending::kInputEnded;
}

// Passes up to the prompt of the next one that opens it, or to the end.
void Game::play_passes() {
  if (state_.game_over) return end_program(Ending::kGameOver);
  if (state_.observer) state_.observer->on_pass_start(state_);
  run_pass_start();
  if (state_.view_due) {
    if (state_.observer) state_.observer->on_step(state_, TurnStep::kView);
    show_due_view();
    if (state_.game_over) return end_program(Ending::kGameOver);
  }
  if (state_.observer) state_.observer->on_step(state_, TurnStep::kEnemyTurn);
  if (run_enemy_turn(state_)) return end_program(Ending::kGameOver);
  if (state_.observer) state_.observer->on_step(state_, TurnStep::kPrompt);
  outcome_ = Outcome::no_turn();
  pending_shown_ = state_.pending_messages.size();
  phase_ = Phase::kPrompt;
  show_prompt();
}

void Game::show_prompt() { state_.out() << "> " << std::flush; }

// The bookkeeping of a pass before the view.
void Game::run_pass_start() {
  GameState& game = state_;
  Variables& vars = game.vars;
  // A new day.
  if (std::int64_t{vars.clock} - vars.day_start >= 86400) {
    vars.daily_counter = 8;
    vars.day_start = vars.clock - vars.clock % 86400;
  }
  if (game.last_noted_area != vars.area) {
    vars.previous_area = game.last_noted_area;
    game.last_noted_area = vars.area;
  }
  sweep_departed_enemies(game);

  game.has_lamp = game.has_armor = false;
  vars.air_supply = 0;
  for (const InventoryEntry& entry : game.inventory) {
    game.has_lamp = game.has_lamp || entry.kind().is_lamp;
    game.has_armor = game.has_armor || entry.kind().is_armor;
    if (entry.kind().supplies_air) vars.air_supply = 1;
  }
  update_grappled(game);
  game.current_water_level = game.current_area().water_level;

  // Ammunition beyond a weapon's capacity is lowered to it.
  for (std::size_t entry = 0; entry < game.ammo.size(); ++entry) {
    const std::int32_t capacity = game.world().ammo_weapon(entry).ammo_capacity;
    if (game.ammo[entry] > capacity) game.ammo[entry] = capacity;
  }
  refresh_subdivided_area(game);

  game.pending_messages.erase(game.pending_messages.begin(),
                              game.pending_messages.begin() + static_cast<std::ptrdiff_t>(pending_shown_));
  pending_shown_ = 0;
  if (game.observer) game.observer->on_step(game, TurnStep::kTurnScripts);
  run_script(game, game.current_area().turn_scripts);
}

// Air and drowning, lasting damage, the death check and the view.
void Game::show_due_view() {
  Variables& vars = state_.vars;
  refill_air_and_drown(state_);
  if (vars.fading_damage > 0) {
    take_lasting_damage(vars.fading_damage, vars.fading_damage_cause);
    --vars.fading_damage;
  }
  if (vars.steady_damage > 0) take_lasting_damage(vars.steady_damage, vars.steady_damage_cause);
  if (vars.health < 1) {
    add_pending_message(state_, "You were killed.\n");
    state_.game_over = true;
  }
  show_area_view(state_, false);
  state_.view_due = false;
}

void Game::take_lasting_damage(std::int32_t strength, const std::string& cause) {
  const std::int32_t damage = state_.rng.mod(strength) + 1;
  add_pending_message(state_, format_text("You took %d damage from %s.\n", damage, cause.c_str()));
  state_.vars.health = lose_health(state_.vars.health, damage);
}

// Enemies get ready after a turn in place; a move happens now.
void Game::end_pass() {
  if (outcome_.kind() == Outcome::Kind::kTurn) {
    make_enemies_ready(state_);
  } else {
    move_player(state_, outcome_);
  }
}

// The program ends by reading two characters, whatever they are.
void Game::end_program(Ending ending) {
  phase_ = Phase::kEnded;
  ending_ = ending;
  std::istream& in = state_.in();
  state_.out() << std::flush;
  for (int i = 0; i < 2 && read_char(in) != std::char_traits<char>::eof(); ++i) {
  }
}

std::optional<World> start_game(const std::filesystem::path& directory, std::ostream& out) {
  out << "vesk 1.0 alpha\n"
      << "Please wait...\n"
      << std::flush;
  World world = load_world(directory, AreaLoading::kOnDemand);
  if (!world.has_areas()) return std::nullopt;
  out << "\n";
  return world;
}

Ending play(const std::filesystem::path& directory, std::istream& in, std::ostream& out, std::uint32_t seed) {
  std::optional<World> world = start_game(directory, out);
  if (!world) return Ending::kNoGame;
  Game game(std::move(*world), in, out, seed, directory);
  return game.run();
}

}  // namespace vesk
