// The turn loop: the fixed order of steps of every pass, the prompt, command
// dispatch, and the help, quit and action commands.
#include "core/game.hpp"

#include <array>
#include <istream>
#include <ostream>
#include <utility>

#include "combat/enemy_turn.hpp"
#include "combat/fight.hpp"
#include "content/text.hpp"
#include "core/arith.hpp"
#include "core/movement.hpp"
#include "core/view.hpp"
#include "core/water.hpp"
#include "inventory/commands.hpp"
#include "script/condition.hpp"
#include "script/expand.hpp"
#include "script/runner.hpp"

namespace vesk {

namespace {

std::int32_t help_command(Game& game) {
  game.out << "action\nammo\ndrop\nfight\ninv\nlook\npath\npickup\nquit\nselect\nuse\n";
  return kNoTurn;
}

std::int32_t look_command(Game& game) {
  show_area_view(game, true);
  return kNoTurn;
}

// "action N": takes the action listed as N by the last view. Its use
// conditions decide between its success scripts (a turn passes and the view
// follows) and its failure scripts (no turn).
std::int32_t action_command(Game& game) {
  const Words words = split_words(game.input_line);
  if (words.size() < 2) return game.invalid_entry();
  const std::int32_t n = to_int(words[1]);
  const std::vector<Action>& actions = game.current_area().actions;
  if (n < 1 || static_cast<std::size_t>(n) > game.action_numbering.size() ||
      game.action_numbering[static_cast<std::size_t>(n - 1)] > actions.size()) {
    return game.invalid_entry();
  }
  const Action& action = actions[game.action_numbering[static_cast<std::size_t>(n - 1)] - 1];
  if (all_conditions_hold(game, action.use_conditions)) {
    run_script(game, action.success_scripts);
    game.view_due = true;
    return kTurn;
  }
  run_script(game, action.failure_scripts);
  game.out << "\n";
  return kNoTurn;
}

struct Command {
  std::string_view word;  // matched against the beginning of the line
  std::int32_t (*handle)(Game&);
};

// The command words in the order they are tested; the first whose word begins
// the line decides, so "looking" is look and "inventory" is inv.
constexpr std::array<Command, 11> kCommands = {{
    {"help", help_command},
    {"look", look_command},
    {"action", action_command},
    {"path", path_command},
    {"fight", fight_command},
    {"use", use_command},
    {"pickup", pickup_command},
    {"drop", drop_command},
    {"select", select_command},
    {"ammo", ammo_command},
    {"inv", inv_command},
}};

}  // namespace

Game::Game(World world_in, std::istream& input, std::ostream& output, std::uint32_t seed,
           std::filesystem::path directory_in)
    : world(std::move(world_in)), rng(seed), in(input), out(output), directory(std::move(directory_in)) {}

std::int32_t Game::invalid_entry() {
  out << "Entry invalid.\n\n";
  return kNoTurn;
}

void Game::add_pending_message(std::string_view text) {
  pending_messages.push_back(cut(expand_text(*this, text), kPendingMessageCapacity));
}

const Item* Game::current_item_record() {
  const std::size_t i = current_item.index;
  switch (current_item.place) {
    case ItemRef::Place::kInventory:
      return i < inventory.size() ? &inventory[i].item : nullptr;
    case ItemRef::Place::kArea:
      return i < current_area().items.size() ? &current_area().items[i] : nullptr;
    case ItemRef::Place::kNone:
      break;
  }
  return nullptr;
}

bool Game::read_line(std::string& line) {
  if (!read_piece(in, line)) {
    line.clear();
    return false;
  }
  if (const std::size_t end = line.find('\n'); end != std::string::npos) line.resize(end);
  return true;
}

Ending Game::run() {
  for (;;) {
    if (game_over) {
      end_program();
      return Ending::kGameOver;
    }
    run_pass_start();
    if (view_due) {
      show_due_view();
      if (game_over) {
        end_program();
        return Ending::kGameOver;
      }
    }
    if (run_enemy_turn(*this)) {
      end_program();
      return Ending::kGameOver;
    }
    run_prompt_loop();
    if (quit_) {
      end_program();
      return Ending::kQuit;
    }
    if (input_ended_) return Ending::kInputEnded;
    end_pass();
  }
}

// Steps 2 to 11 of a pass: the bookkeeping before the view.
void Game::run_pass_start() {
  // Day roll-over.
  if (std::int64_t{vars.game} - vars.steps >= 86400) {
    vars.htcw = 8;
    vars.steps = vars.game - vars.game % 86400;
  }
  if (last_noted_area != vars.ca) {
    vars.prev = last_noted_area;
    last_noted_area = vars.ca;
  }
  sweep_departed_enemies(*this);

  has_lamp = has_armor = false;
  vars.air2 = 0;
  for (const InventoryEntry& entry : inventory) {
    has_lamp = has_lamp || entry.item.is_lamp;
    has_armor = has_armor || entry.item.is_armor;
    if (entry.item.supplies_air) vars.air2 = 1;
  }
  update_grappled(*this);
  current_water_level = current_area().water_level;

  // Ammunition beyond a weapon's capacity is lowered to it.
  for (AmmoEntry& entry : world.ammo) {
    const std::int32_t capacity = world.items[entry.item].ammo_capacity;
    if (entry.count > capacity) entry.count = capacity;
  }
  refresh_subdivided_area(*this);

  pending_messages.erase(pending_messages.begin(),
                         pending_messages.begin() + static_cast<std::ptrdiff_t>(pending_shown_));
  pending_shown_ = 0;
  run_script(*this, current_area().turn_scripts);
}

// Step 12: air and drowning, lasting damage, the death check and the view.
void Game::show_due_view() {
  refill_air_and_drown(*this);
  if (vars.dt1 > 0) {
    take_lasting_damage(vars.dt1, vars.damage_cause1);
    --vars.dt1;
  }
  if (vars.dt2 > 0) take_lasting_damage(vars.dt2, vars.damage_cause2);
  if (vars.h < 1) {
    add_pending_message("You were killed.\n");
    game_over = true;
  }
  show_area_view(*this, false);
  view_due = false;
}

void Game::take_lasting_damage(std::int32_t strength, const std::string& cause) {
  const std::int32_t damage = rng.mod(strength) + 1;
  add_pending_message(format_text("You took %d damage from %s.\n", damage, cause.c_str()));
  vars.h = lose_health(vars.h, damage);
}

void Game::run_prompt_loop() {
  turn_result = kNoTurn;
  pending_shown_ = pending_messages.size();
  while (turn_result < 0) {
    out << "> " << std::flush;
    if (!read_line(input_line)) {
      input_ended_ = true;
      return;
    }
    if (input_line == "quit") {
      quit_ = true;
      return;
    }
    dispatch();
  }
}

void Game::dispatch() {
  for (const Command& command : kCommands) {
    if (starts_with(input_line, command.word)) {
      turn_result = command.handle(*this);
      return;
    }
  }
  invalid_entry();
}

// Step 15: enemies get ready after a turn without a move; a move happens now.
void Game::end_pass() {
  if (turn_result == kTurn) {
    make_enemies_ready(*this);
  } else {
    move_player(*this);
  }
}

// The program ends by reading two characters, whatever they are.
void Game::end_program() {
  out << std::flush;
  for (int i = 0; i < 2 && in.rdbuf() && in.rdbuf()->sbumpc() != std::char_traits<char>::eof(); ++i) {
  }
}

Ending play(const std::filesystem::path& directory, std::istream& in, std::ostream& out, std::uint32_t seed) {
  out << "vesk 1.0 alpha\n"
      << "Please wait...\n"
      << std::flush;
  World world = load_world(directory);
  if (world.areas.empty()) return Ending::kNoGame;
  out << "\n";
  Game game(std::move(world), in, out, seed, directory);
  return game.run();
}

}  // namespace vesk
