// The inventory commands: use, pickup, drop, select, ammo and inv.
#include "inventory/commands.hpp"

#include <ostream>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "content/text.hpp"
#include "core/arith.hpp"
#include "core/game.hpp"
#include "script/interpreter.hpp"
#include "script/runner.hpp"

namespace vesk {

namespace {

// The words after the command word, joined: the item name as typed.
std::string typed_name(const Game& game) { return words_from(split_words(game.input_line), 1); }

Inventory::iterator find_carried(Game& game, std::string_view name) {
  Inventory& inventory = game.inventory;
  for (auto entry = inventory.begin(); entry != inventory.end(); ++entry) {
    if (entry->item.name == name) return entry;
  }
  return inventory.end();
}

// One piece of the carried item of this name is gone; the entry goes with the last.
void consume_one(Game& game, std::string_view name) {
  const auto entry = find_carried(game, name);
  if (entry == game.inventory.end()) return;
  if (entry->quantity > 1) {
    --entry->quantity;
  } else {
    game.inventory.erase(entry);
  }
}

// Area items are numbered 1, 2, ... among the items of their name, wherever they lie.
void renumber_by_name(std::vector<Item>& items) {
  std::unordered_map<std::string_view, std::int32_t> seen;
  for (Item& item : items) item.instance_number = ++seen[item.name];
}

std::int32_t pickup_ammo(Game& game, std::int32_t number) {
  std::vector<AmmoPile>& piles = game.current_area().ammo_piles;
  if (number < 1 || static_cast<std::size_t>(number) > piles.size()) return game.invalid_entry();
  const AmmoPile pile = piles[static_cast<std::size_t>(number - 1)];
  AmmoEntry& entry = game.world.ammo[pile.weapon];
  entry.count = wrap_add(entry.count, pile.amount);
  game.out << format_text("Picked up %d ammo for %s.\n", pile.amount, game.world.ammo_weapon_name(entry).c_str());
  piles.erase(piles.begin() + number - 1);
  return kNoTurn;
}

// One line of a listing: the name padded to 24 columns, two spaces and the
// number with at least two digits.
void list_line(Game& game, const std::string& name, std::int32_t number) {
  game.out << format_text("%-24s  %02d\n", name.c_str(), number);
}

}  // namespace

// The item's use-script lines run one by one (conditions, then the command);
// then one piece is used up, whatever the lines did.
std::int32_t use_command(Game& game) {
  const std::string name = typed_name(game);
  const auto entry = find_carried(game, name);
  if (entry == game.inventory.end()) return game.invalid_entry();
  // The lines may change the inventory, so they run from a copy.
  const Script lines = entry->item.use_scripts;
  for (const ScriptLine& line : lines) {
    if (line.kind == ScriptLine::Kind::kCommand && guard_holds(game, line)) execute_command(game, line.command);
  }
  consume_one(game, name);
  game.out << format_text("Used %s.\n\n", name.c_str());
  return kTurn;
}

// "pickup NAME [N]" takes item N of that name here; "pickup ammo [N]" takes
// the Nth ammunition pile of the area and passes no turn.
std::int32_t pickup_command(Game& game) {
  const Words words = split_words(game.input_line);
  const auto [name, number] = name_and_number(words);
  if (name == "ammo") return pickup_ammo(game, number);

  std::vector<Item>& items = game.current_area().items;
  for (auto item = items.begin(); item != items.end(); ++item) {
    if (item->name != name || item->instance_number != number) continue;
    if (game.subdivided_now && item->spot != game.vars.a2) continue;
    add_to_inventory(game, *item, 1);
    items.erase(item);
    renumber_by_name(items);
    game.out << format_text("Picked up %s.\n\n", name.c_str());
    return kTurn;
  }
  return game.invalid_entry();
}

// The area's drop scripts run first, while the item is still carried, so that
// their conditions can test it; then one piece lands here.
std::int32_t drop_command(Game& game) {
  const std::string name = typed_name(game);
  auto entry = find_carried(game, name);
  if (entry == game.inventory.end()) return game.invalid_entry();
  game.current_item = {Game::ItemRef::Place::kInventory, static_cast<std::size_t>(entry - game.inventory.begin())};
  run_script(game, game.current_area().drop_scripts);

  // The scripts may have taken the item away themselves.
  entry = find_carried(game, name);
  if (entry != game.inventory.end()) {
    std::vector<Item>& items = game.current_area().items;
    Item dropped = entry->item;
    dropped.instance_number = 1;
    for (const Item& item : items) {
      if (item.name == dropped.name) ++dropped.instance_number;
    }
    if (game.subdivided_now) dropped.spot = game.vars.a2;
    items.push_back(std::move(dropped));
    if (game.selected_weapon == name) game.selected_weapon = "strike";
    consume_one(game, name);
  }
  game.out << format_text("Dropped %s.\n\n", name.c_str());
  return kTurn;
}

std::int32_t select_command(Game& game) {
  const std::string name = typed_name(game);
  if (name != "strike") {
    const auto entry = find_carried(game, name);
    if (entry == game.inventory.end() || !entry->item.is_weapon) return game.invalid_entry();
  }
  game.selected_weapon = cut(name, kWeaponNameCapacity);
  game.out << format_text("Selected %s.\n\n", name.c_str());
  return kTurn;
}

// Every weapon with ammunition, or carried, with its count.
std::int32_t ammo_command(Game& game) {
  std::unordered_set<std::string_view> carried;
  for (const InventoryEntry& entry : game.inventory) carried.insert(entry.item.name);
  for (const AmmoEntry& entry : game.world.ammo) {
    const std::string& weapon = game.world.ammo_weapon_name(entry);
    if (entry.count > 0 || carried.count(weapon) > 0) list_line(game, weapon, entry.count);
  }
  game.out << "\n";
  return kNoTurn;
}

std::int32_t inv_command(Game& game) {
  for (const InventoryEntry& entry : game.inventory) list_line(game, entry.item.name, entry.quantity);
  game.out << "\n";
  return kNoTurn;
}

}  // namespace vesk
