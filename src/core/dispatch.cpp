// Command dispatch, and the help, look and action commands.
#include "core/dispatch.hpp"

#include <array>
#include <ostream>

#include "base/index.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "combat/fight.hpp"
#include "core/movement.hpp"
#include "core/view.hpp"
#include "inventory/commands.hpp"
#include "script/condition.hpp"
#include "script/runner.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

Outcome help_command(GameState& game, const Words& /*words*/) {
  game.out() << "action\nammo\ndrop\nfight\ninv\nlook\npath\npickup\nquit\nselect\nuse\n";
  return Outcome::no_turn();
}

Outcome look_command(GameState& game, const Words& /*words*/) {
  show_area_view(game, true);
  return Outcome::no_turn();
}

// "action N": takes the action listed as N by the last view. Its use
// conditions decide between its success scripts (a turn passes and the view
// follows) and its failure scripts (no turn).
Outcome action_command(GameState& game, const Words& words) {
  if (words.size() < 2) return game.invalid_entry();
  const std::vector<Action>& actions = game.current_area().actions;
  const std::size_t* listed = nth(game.listing.actions, to_int(words[1]));
  const Action* action = listed ? nth(actions, static_cast<std::int64_t>(*listed)) : nullptr;
  if (!action) return game.invalid_entry();
  const bool allowed = all_conditions_hold(game, action->use_conditions);
  if (game.observer) game.observer->on_choice(*action, ChoiceKind::kAction, allowed);
  if (allowed) {
    run_script(game, action->success_scripts);
    game.view_due = true;
    return Outcome::turn();
  }
  run_script(game, action->failure_scripts);
  game.out() << "\n";
  return Outcome::no_turn();
}

struct Command {
  std::string_view word;  // matched against the beginning of the line
  Outcome (*handle)(GameState&, const Words&);
};

// The command words in the order they are tested; the first whose word begins
// the line decides.
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

namespace {

// The first command whose word begins the line; nullptr when none does.
const Command* command_of(std::string_view line) {
  for (const Command& command : kCommands) {
    if (starts_with(line, command.word)) return &command;
  }
  return nullptr;
}

}  // namespace

Outcome dispatch(GameState& game, std::string_view line) {
  if (const Command* command = command_of(line)) return command->handle(game, split_words(line));
  return game.invalid_entry();
}

std::string_view command_word(std::string_view line) {
  const Command* command = command_of(line);
  return command ? command->word : std::string_view();
}

}  // namespace vesk
