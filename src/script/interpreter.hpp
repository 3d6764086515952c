// The action interpreter: runs one command of the script language.
#pragma once

#include <cstdint>
#include <string_view>

#include "content/records.hpp"

namespace vesk {

struct GameState;

// Runs one command; unknown commands do nothing.
void execute_command(GameState& game, const ScriptCommand& command);

// Places an enemy of the kind named `name` in the current area,
// persistent and, when `definite`, unique.
void place_enemy(GameState& game, std::string_view name, bool definite);

}  // namespace vesk
