// The area view: what the player sees of the current area.
#pragma once

namespace vesk {

struct GameState;

// Makes the listing, then prints the view of the current area and marks the
// area visited. `full` shows the long description even on a visited area
// (the look command).
void show_area_view(GameState& game, bool full);

}  // namespace vesk
