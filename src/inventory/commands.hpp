// The inventory commands: use, pickup, drop, select, ammo and inv. Each gets
// the words the player typed, the command word first.
#pragma once

#include "content/records.hpp"
#include "state/outcome.hpp"

namespace vesk {

struct GameState;

Outcome use_command(GameState& game, const Words& words);
Outcome pickup_command(GameState& game, const Words& words);
Outcome drop_command(GameState& game, const Words& words);
Outcome select_command(GameState& game, const Words& words);
Outcome ammo_command(GameState& game, const Words& words);
Outcome inv_command(GameState& game, const Words& words);

}  // namespace vesk
