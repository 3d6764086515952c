// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "state/game_state.hpp"

namespace vesk {

bool guard_holds(GameState& game, const ScriptLine& line) {
  for (const ScriptTest& condition : line.conditions) {
    if (!evaluate_condition(game, condition)) return false;
  }
  return true;
}

void run_script(GameState& game, const Script& script) {
  // Nothing that a command does changes the script lists of a game.
  const std::size_t count = script.size();
  long jumps = 0;
  std::size_t i = 0;
  while (i < count) {
    const ScriptLine& line = script[i++];
    if (line.kind == ScriptLine::Kind::kCommand) {
      if (guard_holds(game, line)) execute_command(game, line.command);
    } else if (line.kind == ScriptLine::Kind::kRepeat) {
      // A repeat goes back to the line after its label, found when the
      // script was loaded. Without one the line does nothing, though its
      // conditions are still tested (and may grow the variable tables).
      if (!guard_holds(game, line) || line.label_line == ScriptLine::kNoLabel) continue;
      if (++jumps > game.jump_limit) return;
      i = line.label_line + 1;
    }
  }
}

}  // namespace vesk
