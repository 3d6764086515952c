// Instance numbers: things of one name in an area are told apart by a number
// ("fight rat 2", "pickup coin 3"). These are the rules by which the numbers
// are given; every place that numbers items or enemies uses them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "state/area_state.hpp"

namespace vesk {

// Stands for "any spot" where a count is not limited to one spot.
inline constexpr std::int32_t kAnySpot = -2;

// Items are numbered by their name, enemies by the name the player sees.
inline std::string_view numbering_name(const ItemInstance& item) { return item.name(); }
inline std::string_view numbering_name(const LiveEnemy& enemy) { return enemy.shown_name(); }

// Area items as an area file or a saved game lays them out: 1, 2, ... among
// the items of one name; in a subdivided area among those of one name on one spot.
void number_area_items(AreaItems& items, bool subdivided);

// From `first` on, each thing takes one more than the number of things of its
// name before it.
void number_by_name(AreaItems& items);
void number_by_name(std::span<LiveEnemy> enemies, std::size_t first = 0);

// The number that a newcomer named `name` takes: one more than the things of
// that name already there (on `spot` only, unless it is kAnySpot).
std::int32_t next_number(const AreaItems& items, std::string_view name, std::int32_t spot = kAnySpot);
std::int32_t next_number(const LiveEnemies& enemies, std::string_view name, std::int32_t spot = kAnySpot);

// In a subdivided area the things on the player's spot are numbered anew by
// their name, counting every earlier thing of that name wherever it stands;
// things elsewhere are all number 1.
void number_on_spot(AreaItems& items, std::int32_t spot);
void number_on_spot(std::span<LiveEnemy> enemies, std::int32_t spot);

}  // namespace vesk
