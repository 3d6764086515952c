// Conditions: weekday and hour windows, items held, comparisons of variables.
#include "script/condition.hpp"

#include "base/index.hpp"
#include "base/words.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// "vi1" to "vi3": the item variables of the current item.
std::int32_t item_variable(GameState& game, std::int32_t number) {
  const ItemVariables* variables = game.current_item_variables();
  if (!variables || !is_number_in(number, variables->size())) return 0;
  return (*variables)[static_cast<std::size_t>(number - 1)];
}

// An item variable, or else a variable or a literal.
inline std::int32_t read_operand(GameState& game, const Operand& operand) {
  if (operand.kind == Operand::Kind::kItemVariable) [[unlikely]] {
    return item_variable(game, operand.number);
  }
  return get_variable(game, operand);
}

}  // namespace

bool evaluate_condition(GameState& game, const ScriptTest& test) {
  switch (test.kind) {
    case ScriptTest::Kind::kFalse:
      return false;
    case ScriptTest::Kind::kWeekday:
      return test.low <= game.listing.weekday && game.listing.weekday <= test.high;
    case ScriptTest::Kind::kHour:
      return test.low <= game.listing.hour && game.listing.hour < test.high;
    case ScriptTest::Kind::kHeld:
      return game.inventory.holds(test.item);
    default:
      break;
  }
  // Both operands are read, in order, whatever the operator.
  const std::int32_t a = read_operand(game, test.left);
  const std::int32_t b = read_operand(game, test.right);
  switch (test.kind) {
    case ScriptTest::Kind::kEqual:
      return a == b;
    case ScriptTest::Kind::kGreater:
      return a > b;
    case ScriptTest::Kind::kLess:
      return a < b;
    default:
      return false;
  }
}

bool all_conditions_hold(GameState& game, const Conditions& conditions) {
  for (const Condition& condition : conditions) {
    const bool holds = evaluate_condition(game, condition.test);
    if (game.observer) [[unlikely]] {
      notify_condition(game, condition.source, 0, condition.test, split_words(condition.text), holds);
    }
    if (!holds) return false;
  }
  return true;
}

// Reading a condition's operands changes nothing, so reading them again after
// the test gives what the test read.
void notify_condition(GameState& game, const SourcePos& where, std::size_t index, const ScriptTest& test,
                      const Words& words, bool holds) {
  ConditionValues read;
  switch (test.kind) {
    case ScriptTest::Kind::kWeekday:
      read.count = 1;
      read.values[0] = game.listing.weekday;
      break;
    case ScriptTest::Kind::kHour:
      read.count = 1;
      read.values[0] = game.listing.hour;
      break;
    case ScriptTest::Kind::kEqual:
    case ScriptTest::Kind::kGreater:
    case ScriptTest::Kind::kLess:
    case ScriptTest::Kind::kNoOperator:
      read.count = 2;
      read.values = {read_operand(game, test.left), read_operand(game, test.right)};
      break;
    case ScriptTest::Kind::kFalse:
    case ScriptTest::Kind::kHeld:
      break;
  }
  game.observer->on_condition(where, index, words, read, holds);
}

}  // namespace vesk
