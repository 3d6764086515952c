// Instance numbering of area items and live enemies.
#include "state/numbering.hpp"

#include <map>
#include <unordered_map>
#include <utility>

namespace vesk {

namespace {

template <typename Thing>
void number_from(std::span<Thing> things, std::size_t first) {
  std::unordered_map<std::string_view, std::int32_t> before;
  for (std::size_t i = 0; i < things.size(); ++i) {
    std::int32_t& seen = before[numbering_name(things[i])];
    if (i >= first) things[i].instance_number = seen + 1;
    ++seen;
  }
}

template <typename Thing>
std::int32_t count_named(std::span<const Thing> things, std::string_view name, std::int32_t spot) {
  std::int32_t count = 1;
  for (const Thing& thing : things) {
    if (numbering_name(thing) == name && (spot == kAnySpot || thing.spot == spot)) ++count;
  }
  return count;
}

template <typename Thing>
void number_spot(std::span<Thing> things, std::int32_t spot) {
  std::unordered_map<std::string_view, std::int32_t> earlier;
  for (Thing& thing : things) {
    std::int32_t& seen = earlier[numbering_name(thing)];
    thing.instance_number = thing.spot == spot ? seen + 1 : 1;
    ++seen;
  }
}

}  // namespace

void number_area_items(std::vector<ItemInstance>& items, bool subdivided) {
  std::map<std::pair<std::string_view, std::int32_t>, std::int32_t> seen;
  for (ItemInstance& item : items) item.instance_number = ++seen[{item.name(), subdivided ? item.spot : 0}];
}

void number_by_name(std::vector<ItemInstance>& items, std::size_t first) {
  number_from(std::span<ItemInstance>(items), first);
}
void number_by_name(std::span<LiveEnemy> enemies, std::size_t first) { number_from(enemies, first); }

std::int32_t next_number(const std::vector<ItemInstance>& items, std::string_view name, std::int32_t spot) {
  return count_named(std::span<const ItemInstance>(items), name, spot);
}
std::int32_t next_number(const LiveEnemies& enemies, std::string_view name, std::int32_t spot) {
  if (spot == kAnySpot) return enemies.count_named(name) + 1;
  return count_named(enemies.all(), name, spot);
}

void number_on_spot(std::vector<ItemInstance>& items, std::int32_t spot) {
  number_spot(std::span<ItemInstance>(items), spot);
}
void number_on_spot(std::span<LiveEnemy> enemies, std::int32_t spot) { number_spot(enemies, spot); }

}  // namespace vesk
