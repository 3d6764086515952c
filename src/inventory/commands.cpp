// The inventory commands: use, pickup, drop, select, ammo and inv.
#include "inventory/commands.hpp"

#include <optional>
#include <ostream>
#include <string_view>
#include <unordered_set>

#include "base/arith.hpp"
#include "base/index.hpp"
#include "base/words.hpp"
#include "script/runner.hpp"
#include "state/game_state.hpp"
#include "state/numbering.hpp"

namespace vesk {

namespace {

// "pickup ammo N" takes the Nth ammunition pile of the area, wherever it lies,
// and passes no turn.
Outcome pickup_ammo(GameState& game, std::int32_t number) {
  std::vector<AmmoPile>& piles = game.current_area_state().ammo_piles;
  const AmmoPile* found = nth(piles, number);
  if (!found) return game.invalid_entry();
  const AmmoPile pile = *found;
  std::int32_t& count = game.ammo[pile.weapon];
  count = wrap_add(count, pile.amount);
  game.out() << format_text("Picked up %d ammo for %s.\n", pile.amount,
                            game.world().ammo_weapon_name(pile.weapon).c_str());
  piles.erase(piles.begin() + number - 1);
  return Outcome::no_turn();
}

// One line of a listing: the name padded to 24 columns, two spaces and the
// number with at least two digits.
void list_line(GameState& game, const std::string& name, std::int32_t number) {
  game.out() << format_text("%-24s  %02d\n", name.c_str(), number);
}

}  // namespace

// The item's use script runs from the top, each line's command when its
// conditions hold; then one piece is used up, whatever the lines did. A use
// script has no labels or repeats (a use line ending "repeat NAME" is a
// command like any other), so it runs straight through once.
Outcome use_command(GameState& game, const Words& words) {
  const std::string name = words_from(words, 1);
  const InventoryEntry* entry = game.inventory.find(name);
  if (!entry) return game.invalid_entry();
  // The lines belong to the item's kind, which stays when the entry goes.
  run_script(game, entry->kind().use_scripts);
  game.inventory.consume_one(name);
  game.out() << format_text("Used %s.\n\n", name.c_str());
  return Outcome::turn();
}

namespace {

// Where item `number` of `name` lies with the player, or nothing: the first
// such item. Where the items of each name are numbered 1, 2, ... in the order
// they lie, as they are in an ordinary area, there is only one item of that
// name and number, so the search starts from whichever end is nearer to it,
// and a piece just dropped is found at once however many lie there.
std::optional<std::size_t> find_item(const GameState& game, const AreaItems& items, const std::string& name,
                                     std::int32_t number) {
  const auto matches = [&](std::size_t i) {
    const ItemInstance& item = items[i];
    return item.instance_number == number && item.name() == name && game.is_with_player(item.spot);
  };
  if (items.numbered_in_order() && number > items.count_named(name) / 2) {
    for (std::size_t i = items.size(); i-- > 0;) {
      if (matches(i)) return i;
    }
    return std::nullopt;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (matches(i)) return i;
  }
  return std::nullopt;
}

}  // namespace

// "pickup NAME [N]" takes item N of that name where the player is.
Outcome pickup_command(GameState& game, const Words& words) {
  const auto [name, number] = name_and_number(words);
  if (name == "ammo") return pickup_ammo(game, number);

  AreaItems& items = game.current_area_state().items;
  const std::optional<std::size_t> found = find_item(game, items, name, number);
  if (!found) return game.invalid_entry();
  if (game.observer) game.observer->on_pickup(items[*found]);
  game.inventory.add(items[*found], 1);
  const bool in_order = items.numbered_in_order();
  items.erase(*found);
  // The items left are numbered 1, 2, ... among their name, wherever they lie.
  // Where they already were, only the later pieces of the same name move up.
  if (in_order) {
    for (std::size_t i = *found; i < items.size(); ++i) {
      if (items[i].name() == name) --items[i].instance_number;
    }
    items.set_numbered_in_order(true);
  } else {
    number_by_name(items);
  }
  game.out() << format_text("Picked up %s.\n\n", name.c_str());
  return Outcome::turn();
}

// The area's drop scripts run first, while the item is still carried, so that
// their conditions can test it; then one piece lands here.
Outcome drop_command(GameState& game, const Words& words) {
  const std::string name = words_from(words, 1);
  const InventoryEntry* entry = game.inventory.find(name);
  if (!entry) return game.invalid_entry();
  game.current_item = {ItemRef::Place::kInventory, static_cast<std::size_t>(entry - game.inventory.entries().data())};
  run_script(game, game.current_area().drop_scripts);

  // The scripts may have taken the item away themselves.
  if ((entry = game.inventory.find(name))) {
    AreaItems& items = game.current_area_state().items;
    ItemInstance dropped = entry->item;
    dropped.instance_number = next_number(items, dropped.name());
    if (game.subdivided_now) dropped.spot = game.vars.spot;
    items.push_back(dropped);
    if (game.selected_weapon == name) game.selected_weapon = "strike";
    game.inventory.consume_one(name);
  }
  game.out() << format_text("Dropped %s.\n\n", name.c_str());
  return Outcome::turn();
}

Outcome select_command(GameState& game, const Words& words) {
  const std::string name = words_from(words, 1);
  if (name != "strike") {
    const InventoryEntry* entry = game.inventory.find(name);
    if (!entry || !entry->kind().is_weapon) return game.invalid_entry();
  }
  game.selected_weapon = cut(name, kWeaponNameCapacity);
  game.out() << format_text("Selected %s.\n\n", name.c_str());
  return Outcome::turn();
}

// Every weapon with ammunition, or carried, with its count.
Outcome ammo_command(GameState& game, const Words& /*words*/) {
  std::unordered_set<std::string_view> carried;
  for (const InventoryEntry& entry : game.inventory) carried.insert(entry.name());
  for (std::size_t entry = 0; entry < game.ammo.size(); ++entry) {
    const std::string& weapon = game.world().ammo_weapon_name(entry);
    if (game.ammo[entry] > 0 || carried.count(weapon) > 0) list_line(game, weapon, game.ammo[entry]);
  }
  game.out() << "\n";
  return Outcome::no_turn();
}

Outcome inv_command(GameState& game, const Words& /*words*/) {
  for (const InventoryEntry& entry : game.inventory) list_line(game, entry.name(), entry.quantity);
  game.out() << "\n";
  return Outcome::no_turn();
}

}  // namespace vesk
