// Instance numbers of live enemies: a newcomer takes one more than the enemies
// of its display name that stand in the area, however they came and went.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "state/numbering.hpp"

namespace {

// The kinds that the live enemies refer to, one per display name.
const vesk::Enemy& kind(const std::string& shown_name) {
  static std::map<std::string, vesk::Enemy> kinds;
  vesk::Enemy& made = kinds[shown_name];
  made.name = shown_name + " 1";
  made.shown_name = shown_name;
  return made;
}

vesk::LiveEnemy enemy(const std::string& shown_name, std::int32_t spot = -1) {
  vesk::LiveEnemy enemy = vesk::LiveEnemy::of(kind(shown_name));
  enemy.spot = spot;
  return enemy;
}

std::vector<std::int32_t> numbers(const vesk::LiveEnemies& enemies) {
  std::vector<std::int32_t> result;
  for (const vesk::LiveEnemy& e : enemies) result.push_back(e.instance_number);
  return result;
}

TEST(LiveEnemies, NewcomersCountTheirNameThroughComingsAndGoings) {
  vesk::LiveEnemies live;
  const auto place = [&](const std::string& name) {
    vesk::LiveEnemy e = enemy(name);
    e.instance_number = vesk::next_number(live, name);
    live.push_back(e);
  };
  place("rat");
  place("bat");
  place("rat");
  place("rat");
  EXPECT_EQ(numbers(live), (std::vector<std::int32_t>{1, 1, 2, 3}));
  EXPECT_EQ(live.count_named("rat"), 3);
  EXPECT_EQ(live.count_named("ra"), 0);

  // The first rat is defeated: those after it are numbered anew, and the
  // next rat comes after the two that are left.
  live.erase(0);
  vesk::number_by_name(live.all(), 0);
  EXPECT_EQ(numbers(live), (std::vector<std::int32_t>{1, 1, 2}));
  place("rat");
  EXPECT_EQ(live[3].instance_number, 3);

  live.erase_if([](const vesk::LiveEnemy& e) { return e.shown_name() == "rat"; });
  EXPECT_EQ(live.size(), 1U);
  EXPECT_EQ(live.count_named("rat"), 0);
  EXPECT_EQ(vesk::next_number(live, "bat"), 2);
  live.clear();
  EXPECT_EQ(vesk::next_number(live, "bat"), 1);
}

TEST(LiveEnemies, ArrivalsOnASpotCountOnlyThatSpot) {
  vesk::LiveEnemies live;
  live.push_back(enemy("rat", 1));
  live.push_back(enemy("rat", 2));
  live.push_back(enemy("rat", 2));
  EXPECT_EQ(vesk::next_number(live, "rat", 2), 3);
  EXPECT_EQ(vesk::next_number(live, "rat", 3), 1);
  EXPECT_EQ(vesk::next_number(live, "rat"), 4);
}

TEST(LiveEnemies, CopiesKeepTheirOwnCounts) {
  vesk::LiveEnemies live;
  live.push_back(enemy("rat"));
  vesk::LiveEnemies copy = live;
  copy.push_back(enemy("rat"));
  EXPECT_EQ(live.count_named("rat"), 1);
  EXPECT_EQ(copy.count_named("rat"), 2);
}

}  // namespace

namespace {

// Area items are numbered among those of their name, in a subdivided area
// among those of their name on their spot.
TEST(AreaItems, NumberedByNameAndInSubdividedAreasBySpot) {
  vesk::Item coin;
  coin.name = "coin";
  vesk::Item key;
  key.name = "key";
  vesk::AreaItems items;
  for (std::int32_t k = 0; k < 8; ++k) items.push_back(vesk::ItemInstance{k % 2 == 0 ? &coin : &key, k % 3});
  EXPECT_FALSE(items.numbered_in_order());  // laid out without numbers
  const auto numbered = [&](bool subdivided) {
    vesk::AreaItems copy = items;
    vesk::number_area_items(copy, subdivided);
    EXPECT_EQ(copy.numbered_in_order(), !subdivided);
    std::vector<std::int32_t> result;
    for (const vesk::ItemInstance& item : copy) result.push_back(item.instance_number);
    return result;
  };
  EXPECT_EQ(numbered(false), (std::vector<std::int32_t>{1, 1, 2, 2, 3, 3, 4, 4}));
  // Spots 0 1 2 0 1 2 0 1: coins on 0, 2, 1, 0 and keys on 1, 0, 2, 1.
  EXPECT_EQ(numbered(true), (std::vector<std::int32_t>{1, 1, 1, 1, 1, 1, 2, 2}));
}

// A list numbered by name stays known to be so while newcomers come one past
// the others of their name; a newcomer out of turn, a leaving or numbering by
// spot makes it unknown until it is numbered by name again.
TEST(AreaItems, KnowWhetherTheyAreNumberedInOrder) {
  vesk::Item coin;
  coin.name = "coin";
  vesk::AreaItems items;
  EXPECT_TRUE(items.numbered_in_order());
  items.push_back(vesk::ItemInstance{&coin, 0, 1});
  items.push_back(vesk::ItemInstance{&coin, 0, vesk::next_number(items, "coin")});
  EXPECT_TRUE(items.numbered_in_order());
  EXPECT_EQ(items.count_named("coin"), 2);
  items.push_back(vesk::ItemInstance{&coin, 0, 1});
  EXPECT_FALSE(items.numbered_in_order());
  vesk::number_by_name(items);
  EXPECT_TRUE(items.numbered_in_order());
  EXPECT_EQ(items[2].instance_number, 3);
  items.erase(0);
  EXPECT_FALSE(items.numbered_in_order());
  vesk::number_by_name(items);
  vesk::number_on_spot(items, 0);
  EXPECT_FALSE(items.numbered_in_order());
  items.clear();
  EXPECT_TRUE(items.numbered_in_order());
}

}  // namespace
