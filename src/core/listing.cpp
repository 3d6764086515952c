// The listing of the area view.
#include "core/listing.hpp"

#include <string_view>

#include "base/calendar.hpp"
#include "script/condition.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

void list_visible_items(GameState& game, const Area& area) {
  const std::size_t count = game.current_area_state().items.size();
  std::vector<bool>& visible = game.listing.visible_items;
  visible.assign(count, true);
  for (std::size_t i = 0; i < count; ++i) {
    game.current_item = {ItemRef::Place::kArea, i};
    visible[i] = all_conditions_hold(game, area.item_conditions);
  }
}

// The exits of the player's spot in the order ahead, right, back and left of
// the facing, by their first letter.
void list_spot_exits(GameState& game, const Area& area) {
  static constexpr std::string_view kRelative = "arbl";
  std::string& letters = game.listing.exit_letters;
  letters.clear();
  if (!area.has_spot(game.vars.spot) || game.facing < 0 || game.facing > 3) return;
  for (std::int32_t turn = 0; turn < 4; ++turn) {
    if (area.exit_of(game.vars.spot, (game.facing + turn) % 4) != 0) {
      letters += kRelative[static_cast<std::size_t>(turn)];
    }
  }
}

template <typename Entry>
void list_shown(GameState& game, const std::vector<Entry>& entries, std::vector<std::size_t>& numbers) {
  numbers.clear();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (all_conditions_hold(game, entries[i].show_conditions)) numbers.push_back(i + 1);
  }
}

}  // namespace

void make_listing(GameState& game) {
  const Area& area = game.current_area();
  const CalendarTime time = calendar_time(game.vars.clock);
  game.listing.weekday = time.weekday;
  game.listing.hour = time.hour;
  list_visible_items(game, area);
  if (game.subdivided_now) {
    list_spot_exits(game, area);
  } else {
    list_shown(game, area.paths, game.listing.paths);
  }
  list_shown(game, area.actions, game.listing.actions);
}

}  // namespace vesk
