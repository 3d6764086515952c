// The fingerprint of a game at its prompt.
#include "kit/state_hash.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "state/game_state.hpp"

namespace vesk::kit {

namespace {

// A 64-bit hash built a word at a time; every list adds its length first, so
// that the same values split differently between lists hash apart.
class Hasher {
 public:
  void add(std::uint64_t value) {
    hash_ = (hash_ ^ value) * 0x9e3779b97f4a7c15ull;
    hash_ ^= hash_ >> 32;
  }
  void add(std::int32_t value) { add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(value))); }
  void add(bool value) { add(std::uint64_t{value}); }
  void add(const void* pointer) { add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer))); }
  void add(std::string_view text) {
    add(std::uint64_t{text.size()});
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + at, 8);
      add(word);
    }
    std::uint64_t rest = 0;
    std::memcpy(&rest, text.data() + at, text.size() - at);
    add(rest);
  }
  template <typename Value>
  void add_all(const std::vector<Value>& values) {
    add(std::uint64_t{values.size()});
    for (const Value& value : values) add(value);
  }

  // The last mix spreads every bit over the whole word.
  std::uint64_t value() const {
    std::uint64_t h = hash_;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
  }

 private:
  std::uint64_t hash_ = 0x84222325cbf29ce4ull;
};

void add_item(Hasher& h, const ItemInstance& item) {
  h.add(item.kind);
  h.add(item.spot);
  h.add(item.instance_number);
  for (std::int32_t value : item.item_variables) h.add(value);
}

std::uint64_t area_hash(const AreaState& area) {
  Hasher h;
  h.add(std::uint64_t{area.items.size()});
  for (const ItemInstance& item : area.items) add_item(h, item);
  h.add(std::uint64_t{area.live_enemies.size()});
  for (const LiveEnemy& enemy : area.live_enemies) {
    h.add(enemy.kind);
    h.add(enemy.health);
    h.add(enemy.ready);
    h.add(enemy.instance_number);
    h.add(enemy.spot);
    h.add(enemy.is_definite);
    h.add(enemy.is_persistent);
  }
  h.add(std::uint64_t{area.ammo_piles.size()});
  for (const AmmoPile& pile : area.ammo_piles) {
    h.add(std::uint64_t{pile.weapon});
    h.add(pile.amount);
    h.add(pile.spot);
  }
  return h.value();
}

void add_variables(Hasher& h, const Variables& vars, bool clock) {
  for (const NamedVariable& named : kNamedVariables) {
    const bool calendar = named.field == &Variables::clock || named.field == &Variables::day_start ||
                          named.field == &Variables::daily_counter;
    if (clock || !calendar) h.add(vars.*named.field);
  }
  h.add(vars.fading_damage_cause);
  h.add(vars.steady_damage_cause);
  h.add_all(vars.numbered);
  h.add(std::uint64_t{vars.strings.size()});
  for (const std::string& text : vars.strings) h.add(text);
}

}  // namespace

StateHash::StateHash(const World& world, HashedState hashed) : hashed_(hashed) {
  AreaStates fresh(world.area_count());
  untouched_.reserve(world.area_count());
  for (std::size_t a = 0; a < world.area_count(); ++a) untouched_.push_back(area_hash(fresh.at(a, world.area(a))));
}

std::uint64_t StateHash::operator()(const Game& game) const {
  const HashedState& hashed = hashed_;
  const GameState& state = game.state();
  Hasher h;
  for (std::size_t a = 0; a < state.areas.size(); ++a) {
    const AreaState* area = state.areas.if_laid_out(a);
    if (!area) continue;
    const std::uint64_t own = area_hash(*area);
    if (a < untouched_.size() && own == untouched_[a]) continue;
    h.add(std::uint64_t{a});
    h.add(own);
  }
  h.add_all(state.ammo);
  add_variables(h, state.vars, hashed.clock);
  h.add(std::uint64_t{state.inventory.size()});
  // Without its order, the inventory is the sum of its entries' own hashes.
  std::uint64_t entries = 0;
  for (const InventoryEntry& entry : state.inventory) {
    Hasher one;
    add_item(one, entry.item);
    one.add(entry.quantity);
    if (hashed.inventory_order) {
      h.add(one.value());
    } else {
      entries += one.value();
    }
  }
  h.add(entries);
  h.add(state.selected_weapon);
  h.add(state.weapon.min_damage);
  h.add(state.weapon.max_damage);
  h.add(state.weapon.hit_chance);
  h.add(std::uint64_t{state.rng.state()});
  for (bool flag : {state.view_due, state.game_over, state.has_lamp, state.has_armor, state.grappled,
                    state.subdivided_now, state.entry_spot_known}) {
    h.add(flag);
  }
  h.add(state.last_noted_area);
  h.add(state.current_water_level);
  h.add(state.facing);
  const Listing& listing = state.listing;
  h.add(listing.exit_letters);
  h.add(std::uint64_t{listing.paths.size()});
  for (std::size_t path : listing.paths) h.add(std::uint64_t{path});
  h.add(std::uint64_t{listing.actions.size()});
  for (std::size_t action : listing.actions) h.add(std::uint64_t{action});
  h.add(std::uint64_t{listing.visible_items.size()});
  for (bool visible : listing.visible_items) h.add(visible);
  if (hashed.clock) {
    h.add(listing.weekday);
    h.add(listing.hour);
  }
  if (hashed.inventory_order) {
    h.add(static_cast<std::uint64_t>(state.current_item.place));
    h.add(std::uint64_t{state.current_item.index});
  }
  const std::size_t shown = std::min(game.messages_shown(), state.pending_messages.size());
  h.add(std::uint64_t{state.pending_messages.size() - shown});
  for (std::size_t m = shown; m < state.pending_messages.size(); ++m) h.add(state.pending_messages[m]);
  h.add(static_cast<std::uint64_t>(state.jump_limit));
  h.add(game.at_prompt());
  return h.value();
}

}  // namespace vesk::kit
