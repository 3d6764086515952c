// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "state/game_state.hpp"

namespace vesk {

bool guard_holds(GameState& game, const ScriptLine& line) {
  for (const Words& condition : line.conditions) {
    if (!evaluate_condition(game, condition)) return false;
  }
  return true;
}

void run_script(GameState& game, const Script& script) {
  long jumps = 0;
  std::size_t i = 0;
  while (i < script.size()) {
    const ScriptLine& line = script[i];
    if (line.kind == ScriptLine::Kind::kSkip || line.kind == ScriptLine::Kind::kLabel || !guard_holds(game, line)) {
      ++i;
      continue;
    }
    if (line.kind == ScriptLine::Kind::kCommand) {
      execute_command(game, line.command);
      ++i;
      continue;
    }
    // A repeat: search upwards for its label. Without one the line does nothing.
    std::size_t label = i;
    for (std::size_t j = i; j-- > 0;) {
      if (script[j].kind == ScriptLine::Kind::kLabel && script[j].label == line.label) {
        label = j;
        break;
      }
    }
    if (label == i) {
      ++i;
      continue;
    }
    if (++jumps > game.jump_limit) return;
    i = label + 1;
  }
}

}  // namespace vesk
