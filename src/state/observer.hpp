// The observer: hooks through which a tool hears what a game does, step by
// step, as it plays. The game itself never installs one; each hook costs a
// test of a null pointer then. Every method does nothing unless overridden.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "content/records.hpp"
#include "state/area_state.hpp"
#include "state/outcome.hpp"

namespace vesk {

struct GameState;

// The steps of a pass of the turn loop, in their order.
enum class TurnStep {
  kTurnScripts,  // the current area's turn scripts run (after the pass's bookkeeping)
  kView,         // the area view is due and is shown
  kEnemyTurn,    // enemies arrive and attack
  kPrompt,       // the prompt reads commands until one passes a turn
  kEndPass,      // enemies get ready, or the chosen move happens
};

// What a condition read: for a comparison ("= X Y", "+ X Y", "- X Y") its two
// operands, for a weekday or hour window ("tcw", "tch") the weekday or hour
// the view noted; nothing for "NAME held" and for a condition of no known form.
struct ConditionValues {
  int count = 0;
  std::array<std::int32_t, 2> values{};
};

// What the script runner did with a line it came to.
enum class LineRun {
  kInert,        // a label, or a line of no valid form: nothing to run
  kGuardFailed,  // a condition did not hold (the condition events said which)
  kRuns,         // its conditions held and its command runs now
  kJumps,        // a repeat whose conditions held goes back to its label
  kNoLabel,      // a repeat whose conditions held, with no label above it
  kJumpLimit,    // a repeat that would pass the jump limit: the script ends
};

enum class ChoiceKind { kPath, kAction };

// How the current area changed.
enum class AreaChange {
  kPath,    // a path was taken
  kStep,    // a step left a subdivided area
  kScript,  // a script wrote "ca"
};

class Observer {
 public:
  virtual ~Observer() = default;

  // The turn loop: a new pass begins; a step of the pass begins.
  virtual void on_pass_start(const GameState& /*game*/) {}
  virtual void on_step(const GameState& /*game*/, TurnStep /*step*/) {}

  // A condition was tested. `where` is the line it stands on; `index` is its
  // number among the conditions of a script line (from 1), or 0 for a
  // condition line of its own ("cv", "cd", "pcd").
  virtual void on_condition(const SourcePos& /*where*/, std::size_t /*index*/, const Words& /*words*/,
                            const ConditionValues& /*values*/, bool /*holds*/) {}
  // The runner came to a script line; for kRuns, before its command runs.
  virtual void on_script_line(const ScriptLine& /*line*/, LineRun /*run*/) {}

  // A line typed at the game's prompt, before it is carried out; what it did
  // with the turn once carried out ("quit" and the end of input have none).
  virtual void on_input(std::string_view /*line*/) {}
  virtual void on_outcome(const Outcome& /*outcome*/) {}
  // The answer was "Entry invalid.".
  virtual void on_invalid_entry() {}

  // A path or action was chosen; `allowed` tells whether its use conditions
  // held (its success scripts run) or not (its failure scripts run).
  virtual void on_choice(const Choice& /*choice*/, ChoiceKind /*kind*/, bool /*allowed*/) {}
  virtual void on_area_change(std::int32_t /*from*/, std::int32_t /*to*/, AreaChange /*how*/) {}
  virtual void on_pickup(const ItemInstance& /*item*/) {}

  // Combat: an enemy appears; an enemy attacks (damage 0 on a miss); the
  // player attacks an enemy; an enemy is defeated.
  virtual void on_arrival(const LiveEnemy& /*enemy*/) {}
  virtual void on_attack(const LiveEnemy& /*enemy*/, const Attack& /*attack*/, bool /*hit*/, std::int32_t /*damage*/) {}
  virtual void on_fight(const LiveEnemy& /*target*/) {}
  virtual void on_defeat(const LiveEnemy& /*enemy*/) {}
};

}  // namespace vesk
