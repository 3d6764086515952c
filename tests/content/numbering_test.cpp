// Instance numbers of live enemies: a newcomer takes one more than the enemies
// of its display name that stand in the area, however they came and went.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/numbering.hpp"

namespace {

vesk::Enemy enemy(const std::string& shown_name, std::int32_t spot = -1) {
  vesk::Enemy enemy;
  enemy.name = shown_name + " 1";
  enemy.shown_name = shown_name;
  enemy.spot = spot;
  return enemy;
}

std::vector<std::int32_t> numbers(const vesk::LiveEnemies& enemies) {
  std::vector<std::int32_t> result;
  for (const vesk::Enemy& e : enemies) result.push_back(e.instance_number);
  return result;
}

TEST(LiveEnemies, NewcomersCountTheirNameThroughComingsAndGoings) {
  vesk::LiveEnemies live;
  const auto place = [&](const std::string& name) {
    vesk::Enemy e = enemy(name);
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

  live.erase_if([](const vesk::Enemy& e) { return e.shown_name == "rat"; });
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

// An item's number depends only on the items before it, so a long list and
// its first few are numbered alike, whichever way each is counted.
TEST(AreaItems, LongAndShortListsNumberAlike) {
  for (const bool subdivided : {false, true}) {
    std::vector<vesk::Item> items;
    for (std::int32_t k = 0; k < 40; ++k) {
      vesk::Item item;
      item.name = k % 3 == 0 ? "coin" : (k % 3 == 1 ? "key" : "coin ");
      item.spot = k % 4;
      items.push_back(item);
    }
    std::vector<vesk::Item> all = items;
    vesk::number_area_items(all, subdivided);
    for (const std::size_t length : {1U, 2U, 7U, 15U, 16U, 17U}) {
      std::vector<vesk::Item> first(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(length));
      vesk::number_area_items(first, subdivided);
      for (std::size_t i = 0; i < length; ++i) {
        EXPECT_EQ(first[i].instance_number, all[i].instance_number) << subdivided << " " << length << " " << i;
      }
    }
    // The last item is the 14th coin of the area, and the 4th on its spot.
    EXPECT_EQ(all[39].instance_number, subdivided ? 4 : 14);
  }
}

}  // namespace
