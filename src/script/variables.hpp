// The game variables as scripts name them: how scripts, conditions and texts
// read and write the game state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/index.hpp"
#include "content/script_code.hpp"
#include "state/game_state.hpp"

namespace vesk {

// Writes and reads the integer variable that a name resolved when the script
// was loaded leads to (see `resolve_variable`): a named variable, "a_" plus a
// weapon name (its ammunition), "vv..." (indirect) or "vN". Literals read their
// value and are never written; names of nothing read 0 and are not written;
// random ranges and item variables are no variables and read 0 here (their
// readers draw and look them up).
void set_resolved_variable(GameState& game, const Operand& variable, std::int32_t value);
std::int32_t get_resolved_variable(GameState& game, const Operand& variable);

// Literals and numbered variables already in the table are most of what loops
// read and write, so they take the short way.
inline void set_variable(GameState& game, const Operand& variable, std::int32_t value) {
  std::vector<std::int32_t>& numbered = game.vars.numbered;
  if (variable.kind == Operand::Kind::kNumbered && is_number_in(variable.number, numbered.size())) {
    numbered[static_cast<std::size_t>(variable.number - 1)] = value;
  } else {
    set_resolved_variable(game, variable, value);
  }
}

inline std::int32_t get_variable(GameState& game, const Operand& variable) {
  const std::vector<std::int32_t>& numbered = game.vars.numbered;
  if (variable.kind == Operand::Kind::kLiteral) return variable.number;
  if (variable.kind == Operand::Kind::kNumbered && is_number_in(variable.number, numbered.size())) {
    return numbered[static_cast<std::size_t>(variable.number - 1)];
  }
  return get_resolved_variable(game, variable);
}

}  // namespace vesk
