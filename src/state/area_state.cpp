// The play state of the areas, laid out from their definitions.
#include "state/area_state.hpp"

#include "state/numbering.hpp"

namespace vesk {

// The items an area file lays out are numbered as they lie: items before "m2"
// lie on spot 0, so they count among themselves.
void AreaStates::lay_out(Entry& entry, const Area& area) {
  AreaState& state = entry.state;
  state.items.reserve(area.items.size());
  for (const PlacedItem& placed : area.items) state.items.push_back(ItemInstance{placed.item, placed.spot});
  number_area_items(state.items, area.is_subdivided);
  state.ammo_piles = area.ammo_piles;
  entry.laid_out = true;
}

}  // namespace vesk
