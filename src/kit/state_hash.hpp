// The fingerprint of a game at its prompt: a hash of everything that decides
// what the game does next, so that a search over copies of a game can tell
// when two ways of playing have led to the same game.
#pragma once

#include <cstdint>
#include <vector>

#include "core/game.hpp"

namespace vesk::kit {

// Two games with the same world that play alike (areas, variables,
// inventory, dice, listing, the pending messages still to be shown and the
// bookkeeping of the pass) get the same hash; games that differ in any of
// these almost surely not. What changes only the text the game prints is
// left out: the messages the last view showed, which the next pass drops;
// whether an area was seen, which picks its long or short description; and
// the lists' note of their numbering, which only speeds up a search. An
// area as it was first laid out counts as one never laid out, since play lays
// areas out as it needs them (a save lays out all of them).
//
// Where nothing in the game reads them, more is left out, so that more ways
// of playing meet: the clock (with the calendar of the listing and the
// day's bookkeeping) when no script or condition reads "game", "steps",
// "htcw" or the weekday and hour; the order of the inventory and the current
// item when nothing reads item variables ("vi"), since only the current item
// refers to an entry by its place.
struct HashedState {
  bool clock = true;
  bool inventory_order = true;
};
class StateHash {
 public:
  StateHash(const World& world, HashedState hashed);
  std::uint64_t operator()(const Game& game) const;

 private:
  HashedState hashed_;
  std::vector<std::uint64_t> untouched_;  // by area: its hash as first laid out
};

}  // namespace vesk::kit
