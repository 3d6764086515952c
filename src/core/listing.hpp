// The listing of the area view: what the view will show and under which
// numbers, worked out before anything is printed.
#pragma once

namespace vesk {

struct GameState;

// Fills `game.listing`: the calendar that "tcw" and "tch" test, which area
// items the area's item conditions let be seen (each tested as the current
// item), and the paths (or, in a subdivided area, the exits of the player's
// spot) and actions whose show conditions hold, numbered from 1 in order.
// In the dark the paths are numbered all the same, since a path chosen at
// random in the dark must exist.
void make_listing(GameState& game);

}  // namespace vesk
