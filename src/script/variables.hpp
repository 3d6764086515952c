// The game variables by name: how scripts, conditions and texts read and write
// the game state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

struct GameState;

inline constexpr std::size_t kAmmoNameCapacity = 127;

// Writes an integer variable: a named variable, "a_" plus a weapon name with
// underscores for spaces (its ammunition), "vv..." (indirect) or "vN".
// Unknown names are ignored.
void set_variable(GameState& game, std::string_view name, std::int32_t value);

// Reads an integer variable; a literal number stands for itself and unknown
// names read 0.
std::int32_t get_variable(GameState& game, std::string_view name);

// "sN": writes or reads string variable N; other names are ignored or read empty.
void set_string_variable(GameState& game, std::string_view name, std::string_view text);
const std::string& get_string_variable(GameState& game, std::string_view name);

}  // namespace vesk
