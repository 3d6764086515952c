// The game variables by name: how scripts, conditions and texts read and write
// the game state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/index.hpp"
#include "content/script_code.hpp"
#include "state/game_state.hpp"

namespace vesk {

// Writes an integer variable: a named variable, "a_" plus a weapon name with
// underscores for spaces (its ammunition), "vv..." (indirect) or "vN".
// Unknown names are ignored.
void set_variable(GameState& game, std::string_view name, std::int32_t value);

// Reads an integer variable; a literal number stands for itself and unknown
// names read 0.
std::int32_t get_variable(GameState& game, std::string_view name);

// The same for a name resolved when the script was loaded; both ways give the
// same results. Literals read their value; random ranges and item variables
// are no variables and read 0 here (their readers draw and look them up).
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

// "sN": writes or reads string variable N; other names are ignored or read empty.
void set_string_variable(GameState& game, std::string_view name, std::string_view text);
const std::string& get_string_variable(GameState& game, std::string_view name);

}  // namespace vesk
