// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include <span>
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
// first false one. `conditions` is the line's own list, or the same tests
// already read from it.
template <typename Tests>
bool guard_holds(GameState& game, Observer* observer, const ScriptLine& line, const Tests& conditions) {
  std::size_t k = 0;
  for (const ScriptTest& condition : conditions) {
    const bool holds = evaluate_condition(game, condition);
    if (observer) [[unlikely]] {
      tell_condition(game, line, condition, k, holds);
    }
    if (!holds) return false;
    ++k;
  }
  return true;
}

// A line that follows the latest jump, kept as read: the line and its
// conditions, at [first, last) of the runner's kept tests.
struct KeptLine {
  Script::const_iterator line;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

}  // namespace

void run_script(GameState& game, const Script& script) {
  // Nothing that a command does changes the script lists of a game, nor the
  // observer, which a tool installs before play.
  Observer* const observer = game.observer;
  long jumps = 0;
  // A loop may run its body a million times, and reading a line's code costs
  // more than most commands: the lines that follow the latest jump are kept as
  // read, conditions and all, up to kBodyLines of them, and the next jump into
  // them walks the copies. `kept` is the copy being run, or null while `at`
  // reads the script.
  constexpr std::size_t kBodyLines = 1024;
  std::vector<KeptLine> body;
  std::vector<ScriptTest> tests;  // the conditions of the kept lines
  std::uint32_t body_first = 0;   // the number of the line body[0] holds
  bool keeping = false;           // whether the lines that `at` reads are kept
  Script::const_iterator at = script.begin();
  const KeptLine* kept = nullptr;
  const auto keep = [&] {
    if (!keeping || at == script.end() || body.size() >= kBodyLines) {
      keeping = false;
      return;
    }
    KeptLine copy{at, static_cast<std::uint32_t>(tests.size()), 0};
    for (const ScriptTest& test : at->conditions) tests.push_back(test);
    copy.last = static_cast<std::uint32_t>(tests.size());
    body.push_back(copy);
  };
  // Tests the line's conditions, from the kept copies when it is one.
  const auto guard = [&](const ScriptLine& line) {
    if (kept == nullptr) return guard_holds(game, observer, line, line.conditions);
    return guard_holds(game, observer, line, std::span(tests).subspan(kept->first, kept->last - kept->first));
  };
  while (kept != nullptr || at != script.end()) {
    const ScriptLine& line = kept != nullptr ? *kept->line : *at;
    if (!can_run(line)) {
      tell(observer, line, LineRun::kInert);
    } else if (!guard(line)) {
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
        kept = &body[target - body_first];
        keeping = false;
      } else {
        if (kept != nullptr) at = kept->line;
        at.jump_to_label();
        kept = nullptr;
        body.clear();
        tests.clear();
        body_first = target;
        keeping = true;
        keep();
      }
      continue;
    }
    if (kept != nullptr) {
      const std::uint32_t next = kept->line.index() + 1;
      if (next - body_first < body.size()) {
        kept = &body[next - body_first];
        continue;
      }
      at = kept->line;
      kept = nullptr;
    }
    ++at;
    keep();
  }
}

}  // namespace vesk
