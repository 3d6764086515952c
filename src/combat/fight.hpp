// The player's attack: the fight command.
#pragma once

#include "content/records.hpp"
#include "state/outcome.hpp"

namespace vesk {

struct GameState;

// "fight NAME [N]": attacks live enemy N of that name where the player is.
Outcome fight_command(GameState& game, const Words& words);

}  // namespace vesk
