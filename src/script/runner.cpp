// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// Commands and repeats; labels and lines of no valid form never run.
bool can_run(const ScriptLine& line) {
  return line.kind == ScriptLine::Kind::kCommand || line.kind == ScriptLine::Kind::kRepeat;
}

// guard_holds with every test told to the observer; apart, so that the
// unobserved loop stays as tight as it was. Kept out of line: tools alone
// take this path.
[[gnu::cold, gnu::noinline]] bool guard_holds_observed(GameState& game, const ScriptLine& line) {
  for (std::size_t k = 0; k < line.conditions.size(); ++k) {
    const bool holds = evaluate_condition(game, line.conditions[k]);
    notify_condition(game, line.source, k + 1, line.conditions[k], holds);
    if (!holds) return false;
  }
  return true;
}

}  // namespace

bool guard_holds(GameState& game, const ScriptLine& line) {
  if (game.observer) return guard_holds_observed(game, line);
  for (const Words& condition : line.conditions) {
    if (!evaluate_condition(game, condition)) return false;
  }
  return true;
}

void run_script(GameState& game, const Script& script) {
  Observer* const observer = game.observer;
  long jumps = 0;
  std::size_t i = 0;
  while (i < script.size()) {
    const ScriptLine& line = script[i];
    if (line.kind == ScriptLine::Kind::kSkip || line.kind == ScriptLine::Kind::kLabel || !guard_holds(game, line)) {
      if (observer) observer->on_script_line(line, can_run(line) ? LineRun::kGuardFailed : LineRun::kInert);
      ++i;
      continue;
    }
    if (line.kind == ScriptLine::Kind::kCommand) {
      if (observer) observer->on_script_line(line, LineRun::kRuns);
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
      if (observer) observer->on_script_line(line, LineRun::kNoLabel);
      ++i;
      continue;
    }
    if (++jumps > game.jump_limit) {
      if (observer) observer->on_script_line(line, LineRun::kJumpLimit);
      return;
    }
    if (observer) observer->on_script_line(line, LineRun::kJumps);
    i = label + 1;
  }
}

}  // namespace vesk
