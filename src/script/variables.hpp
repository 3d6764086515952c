// Game variables: the names under which scripts, conditions and texts reach the
// game state, and the numbered and string variable tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

class Game;

// The tables grow to the highest number used; numbers beyond these name nothing,
// so that a stray huge number cannot exhaust memory.
inline constexpr std::int32_t kMaxNumberedVariables = 1000000;
inline constexpr std::int32_t kMaxStringVariables = 100000;
inline constexpr std::size_t kStringVariableCapacity = 254;
inline constexpr std::size_t kAmmoNameCapacity = 127;

// Writes an integer variable: a named variable, "a_" plus a weapon name with
// underscores for spaces (its ammunition), "vv..." (indirect) or "vN".
// Unknown names are ignored.
void set_variable(Game& game, std::string_view name, std::int32_t value);

// Reads an integer variable; a literal number stands for itself and unknown
// names read 0.
std::int32_t get_variable(Game& game, std::string_view name);

// Numbered variable `number`, growing the table to it; nullptr when the number
// names no variable.
std::int32_t* numbered_variable(Game& game, std::int32_t number);

// "sN": writes or reads string variable N; other names are ignored or read empty.
void set_string_variable(Game& game, std::string_view name, std::string_view text);
const std::string& get_string_variable(Game& game, std::string_view name);

}  // namespace vesk
