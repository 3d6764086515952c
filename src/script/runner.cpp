// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "state/game_state.hpp"
#include "state/observer.hpp"

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
  const ScriptWords words = script_words(line);
  for (std::size_t k = 0; k < line.conditions.size(); ++k) {
    const bool holds = evaluate_condition(game, line.conditions[k]);
    static const Words kNoWords;
    const Words& written = k < words.conditions.size() ? words.conditions[k] : kNoWords;
    notify_condition(game, line.source, k + 1, line.conditions[k], written, holds);
    if (!holds) return false;
  }
  return true;
}

// run_script with every line told to the observer: the same steps as the
// loop below, which stays as tight as it was.
[[gnu::cold, gnu::noinline]] void run_script_observed(GameState& game, const Script& script) {
  Observer& observer = *game.observer;
  const std::size_t count = script.size();
  long jumps = 0;
  std::size_t i = 0;
  while (i < count) {
    const ScriptLine& line = script[i++];
    if (!can_run(line)) {
      observer.on_script_line(line, LineRun::kInert);
    } else if (!guard_holds(game, line)) {
      observer.on_script_line(line, LineRun::kGuardFailed);
    } else if (line.kind == ScriptLine::Kind::kCommand) {
      observer.on_script_line(line, LineRun::kRuns);
      execute_command(game, line.command);
    } else if (line.label_line == ScriptLine::kNoLabel) {
      observer.on_script_line(line, LineRun::kNoLabel);
    } else if (++jumps > game.jump_limit) {
      observer.on_script_line(line, LineRun::kJumpLimit);
      return;
    } else {
      observer.on_script_line(line, LineRun::kJumps);
      i = line.label_line + 1;
    }
  }
}

}  // namespace

bool guard_holds(GameState& game, const ScriptLine& line) {
  if (game.observer) return guard_holds_observed(game, line);
  for (const ScriptTest& condition : line.conditions) {
    if (!evaluate_condition(game, condition)) return false;
  }
  return true;
}

void run_script(GameState& game, const Script& script) {
  // Nothing that a command does changes the script lists of a game.
  const std::size_t count = script.size();
  if (game.observer) return run_script_observed(game, script);
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
