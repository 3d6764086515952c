// The area view: what the player sees of the current area, and the numbering of
// the paths and actions that the path and action commands read.
#pragma once

namespace vesk {

class Game;

// Prints the view of the current area. `full` shows the long description even
// on a visited area (the look command).
void show_area_view(Game& game, bool full);

}  // namespace vesk
