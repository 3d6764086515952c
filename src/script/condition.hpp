// Conditions: the tests that guard script lines, paths, actions and area items.
#pragma once

#include <string_view>

#include "content/records.hpp"

namespace vesk {

class Game;

bool evaluate_condition(Game& game, std::string_view condition);

// True when every condition holds, testing them in order up to the first false one.
bool all_conditions_hold(Game& game, const Lines& conditions);

}  // namespace vesk
