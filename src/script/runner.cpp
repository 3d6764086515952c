// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include <vector>

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
[[gnu::cold, gnu::noinline]] void tell_condition(GameState& game, const ScriptLine& line, const ScriptTest& test,
                                                 std::size_t k, bool holds) {
  const ScriptWords words = script_words(line);
  static const Words kNoWords;
  const Words& written = k < words.conditions.size() ? words.conditions[k] : kNoWords;
  notify_condition(game, line.source, k + 1, test, written, holds);
}

// True when every condition of the line holds, testing them in order up to the
// first false one.
bool guard_holds(GameState& game, Observer* observer, const ScriptLine& line) {
  std::size_t k = 0;
  for (const ScriptTest& condition : line.conditions) {
    const bool holds = evaluate_condition(game, condition);
    if (observer) [[unlikely]] {
      tell_condition(game, line, condition, k, holds);
    }
    if (!holds) return false;
    ++k;
  }
  return true;
}

}  // namespace

void run_script(GameState& game, const Script& script) {
  // Nothing that a command does changes the script lists of a game, nor the
  // observer, which a tool installs before play.
  Observer* const observer = game.observer;
  long jumps = 0;
  // A loop may run its body a million times, and reading a line's code costs
  // more than most commands: the lines that follow the latest jump are kept as
  // read, up to kBodyLines of them, and the next jump into them walks the
  // copies. `here` is the line being run, in `at` or in `body`.
  constexpr std::size_t kBodyLines = 1024;
  std::vector<Script::const_iterator> body;
  std::uint32_t body_first = 0;  // the number of the line body[0] holds
  bool keeping = false;          // whether the lines that `at` reads go to `body`
  Script::const_iterator at = script.begin();
  const Script::const_iterator* here = &at;
  while (*here != script.end()) {
    const ScriptLine& line = **here;
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
      const std::uint32_t target = line.label_line + 1;
      if (target >= body_first && target - body_first < body.size()) {
        here = &body[target - body_first];
        keeping = false;
      } else {
        if (here != &at) at = *here;
        at.jump_to_label();
        here = &at;
        body.clear();
        body_first = target;
        keeping = true;
        if (at != script.end()) body.push_back(at);
      }
      continue;
    }
    const std::uint32_t next = here->index() + 1;
    if (here != &at && next - body_first < body.size()) {
      here = &body[next - body_first];
      continue;
    }
    if (here != &at) at = *here;
    ++at;
    here = &at;
    if (keeping && at != script.end() && body.size() < kBodyLines) {
      body.push_back(at);
    } else {
      keeping = false;
    }
  }
}

}  // namespace vesk
