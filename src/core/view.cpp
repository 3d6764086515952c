// The area view: calendar and status lines, description, water, pending messages,
// ammunition, items, enemies, paths and actions.
#include "core/view.hpp"

#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/text.hpp"
#include "core/calendar.hpp"
#include "core/game.hpp"
#include "script/condition.hpp"
#include "script/expand.hpp"

namespace vesk {

namespace {

void show_clock_and_status(Game& game) {
  const CalendarTime time = calendar_time(game.vars.game);
  game.current_weekday = time.weekday;
  game.current_hour = time.hour;
  game.out << "\n" << calendar_line(game.vars.game) << "\n";

  // Brackets mark the armour around the health and an air supply around the air.
  game.out << format_text(game.has_armor ? "[h=%03d] m=%d" : "h=%03d m=%d", game.vars.h, game.vars.m);
  if (game.current_water_level == 2) {
    game.out << format_text(game.vars.air2 == 1 ? " [air=%d]\n" : " air=%d\n", game.vars.air);
  } else {
    game.out << "\n";
  }
  game.out << "\n";
}

void show_description(Game& game, Area& area, bool full) {
  const Lines& lines = area.visited && !full ? area.short_description : area.long_description;
  for (const std::string& line : lines) game.out << expand_text(game, line) << "\n";
  game.out << "\n";
  area.visited = true;
}

// Whether each area item meets every item condition of the area.
std::vector<bool> visible_items(Game& game, const Area& area) {
  std::vector<bool> visible(area.items.size(), true);
  for (std::size_t i = 0; i < area.items.size(); ++i) {
    game.current_item = {Game::ItemRef::Place::kArea, i};
    visible[i] = all_conditions_hold(game, area.item_conditions);
  }
  return visible;
}

void show_water_and_messages(Game& game) {
  if (game.current_water_level == 1) game.out << "You have to swim.\n\n";
  if (game.current_water_level == 2) game.out << "You are under water.\n\n";
  for (const std::string& message : game.pending_messages) game.out << message << "\n";
  if (!game.pending_messages.empty()) game.out << "\n";
}

// A group of things of one name: how many count into it, and whether its
// members have been listed already.
struct Group {
  std::int32_t members = 0;
  bool listed = false;
};

void show_group_line(Game& game, const std::string& name, std::int32_t count, bool definite) {
  if (definite) {
    game.out << format_text("The %s is here.\n", name.c_str());
  } else if (count == 1) {
    game.out << format_text("There is a(n) %s here.\n", name.c_str());
  } else {
    game.out << format_text("There are %d %ss here.\n", count, name.c_str());
  }
}

// Ammunition piles, then the visible items grouped by name. An ordinary item
// that is here counts every visible item of its name into its line, wherever
// those lie; a definite item is always a line of its own.
void show_ammo_and_items(Game& game, const Area& area, const std::vector<bool>& visible) {
  auto here = [&](std::int32_t spot) { return !game.subdivided_now || spot == game.vars.a2; };
  bool printed = false;
  for (const AmmoPile& pile : area.ammo_piles) {
    if (!here(pile.spot)) continue;
    game.out << format_text("There is %d ammo for the %s here.\n", pile.amount,
                            game.world.ammo_weapon_name(game.world.ammo[pile.weapon]).c_str());
    printed = true;
  }

  std::unordered_map<std::string_view, Group> groups;
  for (std::size_t i = 0; i < area.items.size(); ++i) {
    if (visible[i]) ++groups[area.items[i].name].members;
  }
  std::vector<bool> listed(area.items.size(), false);
  for (std::size_t i = 0; i < area.items.size(); ++i) {
    const Item& item = area.items[i];
    Group& group = groups[item.name];
    if (!visible[i] || listed[i] || group.listed || !here(item.spot)) continue;
    listed[i] = true;
    if (item.is_definite) {
      show_group_line(game, item.name, 1, true);
    } else {
      group.listed = true;
      show_group_line(game, item.name, group.members, false);
    }
    printed = true;
  }
  if (printed) game.out << "\n";
}

// Live enemies grouped by display name. Any enemy that is here takes every
// ordinary enemy of its display name into its line; a definite one is only
// ever listed by itself.
void show_enemies(Game& game, const Area& area) {
  const std::vector<Enemy>& enemies = area.live_enemies;
  std::unordered_map<std::string_view, Group> ordinary;
  for (const Enemy& enemy : enemies) {
    if (!enemy.is_definite) ++ordinary[enemy.shown_name].members;
  }
  std::vector<bool> listed(enemies.size(), false);
  bool printed = false;
  for (std::size_t i = 0; i < enemies.size(); ++i) {
    const Enemy& enemy = enemies[i];
    Group& group = ordinary[enemy.shown_name];
    if (listed[i] || (!enemy.is_definite && group.listed)) continue;
    if (game.subdivided_now && enemy.spot != game.vars.a2) continue;
    listed[i] = true;
    const std::int32_t count = enemy.is_definite ? group.members + 1 : group.members;
    group.listed = true;
    show_group_line(game, enemy.shown_name, count, enemy.is_definite);
    printed = true;
  }
  if (printed) game.out << "\n";
}

// The exits of the player's spot, ahead, right, back and left of the facing.
void list_spot_exits(Game& game, const Area& area, bool print) {
  static constexpr std::string_view kRelative[4] = {"ahead", "right", "back", "left"};
  game.path_letters.clear();
  if (print) game.out << "Paths:\n";
  if (area.has_spot(game.vars.a2) && game.facing >= 0 && game.facing <= 3) {
    for (std::int32_t turn = 0; turn < 4; ++turn) {
      if (area.exit_of(game.vars.a2, (game.facing + turn) % 4) == 0) continue;
      game.path_letters += kRelative[turn].front();
      if (print) {
        game.out << format_text(" (%d) %s\n", static_cast<int>(game.path_letters.size()), kRelative[turn].data());
      }
    }
  }
  if (print) game.out << "\n";
}

void list_paths(Game& game, const Area& area, bool print) {
  game.path_numbering.clear();
  for (std::size_t p = 0; p < area.paths.size(); ++p) {
    if (!all_conditions_hold(game, area.paths[p].show_conditions)) continue;
    game.path_numbering.push_back(p + 1);
    if (!print) continue;
    if (game.path_numbering.size() == 1) game.out << "Paths:\n";
    game.out << format_text(" (%d) %s\n", static_cast<int>(game.path_numbering.size()), area.paths[p].label.c_str());
  }
  if (print && !game.path_numbering.empty()) game.out << "\n";
}

// In the dark without a lamp the paths are not shown, but the numbering is still
// made for this place, so that a path chosen at random in the dark exists here.
void show_paths(Game& game, const Area& area) {
  const bool dark = area.is_dark && !game.has_lamp;
  if (dark) game.out << "\nIt is dark.\n You can't see the paths.\n";
  if (game.subdivided_now) {
    list_spot_exits(game, area, !dark);
  } else {
    list_paths(game, area, !dark);
  }
}

void show_actions(Game& game, const Area& area) {
  game.action_numbering.clear();
  for (std::size_t a = 0; a < area.actions.size(); ++a) {
    if (!all_conditions_hold(game, area.actions[a].show_conditions)) continue;
    game.action_numbering.push_back(a + 1);
    if (game.action_numbering.size() == 1) game.out << "Actions:\n";
    // Labels are expanded twice, so a reference that expands to a reference works.
    const std::string label = expand_text(game, expand_text(game, area.actions[a].label));
    game.out << format_text(" (%d) %s\n", static_cast<int>(game.action_numbering.size()), label.c_str());
  }
  if (!game.action_numbering.empty()) game.out << "\n";
}

}  // namespace

void show_area_view(Game& game, bool full) {
  Area& area = game.current_area();
  show_clock_and_status(game);
  show_description(game, area, full);
  const std::vector<bool> visible = visible_items(game, area);
  show_water_and_messages(game);
  show_ammo_and_items(game, area, visible);
  show_enemies(game, area);
  show_paths(game, area);
  show_actions(game, area);
}

}  // namespace vesk
