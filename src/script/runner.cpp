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

// Tells the observer, if there is one, what the runner did with the line. A
// game has none, so each line costs it one test of a null pointer.
inline void tell(Observer* observer, const ScriptLine& line, LineRun run) {
  if (observer) [[unlikely]] {
    observer->on_script_line(line, run);
  }
}

// Tells the observer how the line's condition `k` (from 0) came out, with the
// words it was written as. Kept out of line: tools alone take this path.
[[gnu::cold, gnu::noinline]] void tell_condition(GameState& game, const ScriptLine& line, std::size_t k, bool holds) {
  const ScriptWords words = script_words(line);
  static const Words kNoWords;
  const Words& written = k < words.conditions.size() ? words.conditions[k] : kNoWords;
  notify_condition(game, line.source, k + 1, line.conditions[k], written, holds);
}

// True when every condition of the line holds, testing them in order up to the
// first false one.
bool guard_holds(GameState& game, Observer* observer, const ScriptLine& line) {
  for (const ScriptTest& condition : line.conditions) {
    const bool holds = evaluate_condition(game, condition);
    if (observer) [[unlikely]] {
      tell_condition(game, line, static_cast<std::size_t>(&condition - line.conditions.data()), holds);
    }
    if (!holds) return false;
  }
  return true;
}

}  // namespace

void run_script(GameState& game, const Script& script) {
  // Nothing that a command does changes the script lists of a game, nor the
  // observer, which a tool installs before play.
  const std::size_t count = script.size();
  Observer* const observer = game.observer;
  long jumps = 0;
  std::size_t i = 0;
  while (i < count) {
    const ScriptLine& line = script[i++];
    if (!can_run(line)) {
      tell(observer, line, LineRun::kInert);
    } else if (!guard_holds(game, observer, line)) {
      tell(observer, line, LineRun::kGuardFailed);
    } else if (line.kind == ScriptLine::Kind::kCommand) {
      tell(observer, line, LineRun::kRuns);
      execute_command(game, line.command);
    } else if (line.label_line == ScriptLine::kNoLabel) {
      // A repeat goes back to the line after its label, found when the script
      // was loaded. Without one the line does nothing, though its conditions
      // were still tested (and may have grown the variable tables).
      tell(observer, line, LineRun::kNoLabel);
    } else if (++jumps > game.jump_limit) {
      tell(observer, line, LineRun::kJumpLimit);
      return;
    } else {
      tell(observer, line, LineRun::kJumps);
      i = line.label_line + 1;
    }
  }
}

}  // namespace vesk
