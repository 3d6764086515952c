// The area view: calendar and status lines, description, water, pending messages,
// ammunition, items, enemies, paths and actions, printed from the listing.
#include "core/view.hpp"

#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/calendar.hpp"
#include "base/lines.hpp"
#include "base/words.hpp"
#include "core/listing.hpp"
#include "script/expand.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

void show_clock_and_status(GameState& game) {
  game.out() << "\n" << calendar_line(game.vars.clock) << "\n";
  // Brackets mark the armour around the health and an air supply around the air.
  game.out() << format_text(game.has_armor ? "[h=%03d] m=%d" : "h=%03d m=%d", game.vars.health, game.vars.money);
  if (game.current_water_level == 2) {
    game.out() << format_text(game.vars.air_supply == 1 ? " [air=%d]\n" : " air=%d\n", game.vars.air);
  } else {
    game.out() << "\n";
  }
  game.out() << "\n";
}

// The short description on a later visit, unless the whole view was asked for.
void show_description(GameState& game, const Area& area, bool short_one) {
  const TextLines& lines = short_one ? area.short_description : area.long_description;
  for (const std::string_view line : lines) game.out() << expand_text(game, line) << "\n";
  game.out() << "\n";
}

void show_water_and_messages(GameState& game) {
  if (game.current_water_level == 1) game.out() << "You have to swim.\n\n";
  if (game.current_water_level == 2) game.out() << "You are under water.\n\n";
  for (const std::string& message : game.pending_messages) game.out() << message << "\n";
  if (!game.pending_messages.empty()) game.out() << "\n";
}

// A group of things of one name: how many count into it, and whether its
// members have been listed already.
struct Group {
  std::int32_t members = 0;
  bool listed = false;
};

void show_group_line(GameState& game, const std::string& name, std::int32_t count, bool definite) {
  if (definite) {
    game.out() << format_text("The %s is here.\n", name.c_str());
  } else if (count == 1) {
    game.out() << format_text("There is a(n) %s here.\n", name.c_str());
  } else {
    game.out() << format_text("There are %d %ss here.\n", count, name.c_str());
  }
}

// Ammunition piles, then the visible items grouped by name. An ordinary item
// that is here counts every visible item of its name into its line, wherever
// those lie; a definite item is always a line of its own.
void show_ammo_and_items(GameState& game, const AreaState& here) {
  const std::vector<bool>& visible = game.listing.visible_items;
  bool printed = false;
  for (const AmmoPile& pile : here.ammo_piles) {
    if (!game.is_with_player(pile.spot)) continue;
    game.out() << format_text("There is %d ammo for the %s here.\n", pile.amount,
                              game.world().ammo_weapon_name(pile.weapon).c_str());
    printed = true;
  }

  std::unordered_map<std::string_view, Group> groups;
  for (std::size_t i = 0; i < here.items.size(); ++i) {
    if (visible[i]) ++groups[here.items[i].name()].members;
  }
  for (std::size_t i = 0; i < here.items.size(); ++i) {
    const ItemInstance& item = here.items[i];
    Group& group = groups[item.name()];
    if (!visible[i] || group.listed || !game.is_with_player(item.spot)) continue;
    if (item.kind->is_definite) {
      show_group_line(game, item.name(), 1, true);
    } else {
      group.listed = true;
      show_group_line(game, item.name(), group.members, false);
    }
    printed = true;
  }
  if (printed) game.out() << "\n";
}

// Live enemies grouped by display name. Any enemy that is here takes every
// ordinary enemy of its display name into its line; a definite one is only
// ever listed by itself.
void show_enemies(GameState& game, const AreaState& here) {
  std::unordered_map<std::string_view, Group> ordinary;
  for (const LiveEnemy& enemy : here.live_enemies) {
    if (!enemy.is_definite) ++ordinary[enemy.shown_name()].members;
  }
  bool printed = false;
  for (const LiveEnemy& enemy : here.live_enemies) {
    Group& group = ordinary[enemy.shown_name()];
    if ((!enemy.is_definite && group.listed) || !game.is_with_player(enemy.spot)) continue;
    const std::int32_t count = enemy.is_definite ? group.members + 1 : group.members;
    group.listed = true;
    show_group_line(game, enemy.shown_name(), count, enemy.is_definite);
    printed = true;
  }
  if (printed) game.out() << "\n";
}

void show_numbered_line(GameState& game, std::size_t number, const std::string& text) {
  game.out() << format_text(" (%d) %s\n", static_cast<int>(number), text.c_str());
}

// In the dark without a lamp the paths are not shown, though they are listed.
void show_paths(GameState& game, const Area& area) {
  const bool dark = game.in_the_dark();
  if (dark) game.out() << "\nIt is dark.\n You can't see the paths.\n";
  if (game.subdivided_now) {
    static constexpr std::string_view kRelative[4] = {"ahead", "right", "back", "left"};
    if (dark) return;
    game.out() << "Paths:\n";
    const std::string& letters = game.listing.exit_letters;
    for (std::size_t n = 0; n < letters.size(); ++n) {
      for (std::string_view word : kRelative) {
        if (word.front() == letters[n]) show_numbered_line(game, n + 1, std::string(word));
      }
    }
    game.out() << "\n";
    return;
  }
  const std::vector<std::size_t>& paths = game.listing.paths;
  if (dark || paths.empty()) return;
  game.out() << "Paths:\n";
  for (std::size_t n = 0; n < paths.size(); ++n) show_numbered_line(game, n + 1, area.paths[paths[n] - 1].label);
  game.out() << "\n";
}

void show_actions(GameState& game, const Area& area) {
  const std::vector<std::size_t>& actions = game.listing.actions;
  if (actions.empty()) return;
  game.out() << "Actions:\n";
  for (std::size_t n = 0; n < actions.size(); ++n) {
    // Labels are expanded twice, so a reference that expands to a reference works.
    const std::string& label = area.actions[actions[n] - 1].label;
    show_numbered_line(game, n + 1, expand_text(game, expand_text(game, label)));
  }
  game.out() << "\n";
}

}  // namespace

void show_area_view(GameState& game, bool full) {
  make_listing(game);
  const Area& area = game.current_area();
  AreaState& here = game.current_area_state();
  show_clock_and_status(game);
  show_description(game, area, here.visited && !full);
  show_water_and_messages(game);
  show_ammo_and_items(game, here);
  show_enemies(game, here);
  show_paths(game, area);
  show_actions(game, area);
  here.visited = true;
}

}  // namespace vesk
