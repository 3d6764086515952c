// The content file loaders, for what the screen never shows whole: keyword order,
// capacities, instance numbers, spots, factors and spot rows. Descriptions,
// sections, listings and exact flag lines are played in the content transcripts.
#include <gtest/gtest.h>

#include <iterator>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/lines.hpp"
#include "base/words.hpp"
#include "content/world.hpp"
#include "state/area_state.hpp"

using vesk::Lines;

namespace {

vesk::Item item_of(std::string_view content) { return vesk::parse_item(vesk::split_lines(content)); }
vesk::Enemy enemy_of(std::string_view content) { return vesk::parse_enemy(vesk::split_lines(content)); }

// Two firing weapons (the ammunition table holds both), a melee weapon and
// some plain items and enemies. Areas refer to its records, so it outlives them.
const vesk::World& small_world() {
  static const vesk::World world = [] {
    vesk::World made;
    for (const char* item : {"sword\n", "bow\nweapon 1 6 70\n", "club\nweapon 2 5 80\nmelee\n", "rusty key\n",
                             "lie around\n", "crossbow\nweapon 3 8 60\n"}) {
      made.add_item(item_of(item));
    }
    made.add_enemy(enemy_of("rat\n5\n\n"));
    made.add_enemy(enemy_of("big rat\n12\n\n"));
    return made;
  }();
  return world;
}

// An area file whose four sections are empty, followed by `keywords`.
vesk::Area area_with(std::string_view keywords) {
  return vesk::parse_area(vesk::split_lines("Room.\n\nR.\n\nnone\n\nnone\n\n" + std::string(keywords)), small_world());
}

using Numbers = std::array<std::int32_t, 3>;

// Spot, instance number and name of every item of an area as play lays them out.
std::vector<std::string> items_of(const vesk::Area& area) {
  vesk::AreaStates states(1);
  std::vector<std::string> result;
  for (const vesk::ItemInstance& item : states.at(0, area).items) {
    result.push_back(std::to_string(item.spot) + " " + std::to_string(item.instance_number) + " " + item.name());
  }
  return result;
}

}  // namespace

TEST(ItemFile, EveryLineIsTestedForTheFirstKeywordItBeginsWith) {
  const vesk::Item plain = item_of("rope");
  EXPECT_EQ(plain.name, "rop");  // the first line less its last character
  EXPECT_EQ(plain.ammo_capacity, 99);
  EXPECT_FALSE(plain.is_weapon || plain.is_lamp || plain.is_definite || plain.supplies_air || plain.is_melee ||
               plain.is_armor || plain.water_use != 0);

  EXPECT_TRUE(item_of("airship ticket\n").supplies_air);
  EXPECT_TRUE(item_of("x\narmored\n").is_armor);
  // "lamp" comes before "weapon", "wtr" before "air", "def" before "d ".
  const vesk::Item first = item_of("x\nlamp weapon 1 2 3\nwtr air\ndef d say hi\n");
  EXPECT_TRUE(first.is_lamp && !first.is_weapon);
  EXPECT_TRUE(first.water_use == 1 && !first.supplies_air);
  EXPECT_TRUE(first.is_definite && first.use_scripts.empty());
  // "attr" and "d" need their space.
  const vesk::Item no_space = item_of("x\nattr\nattribute big\nd\ndrink\n");
  EXPECT_TRUE(no_space.attributes.empty() && no_space.use_scripts.empty());
}

TEST(ItemFile, ValuedKeywords) {
  const vesk::Item item =
      item_of("blaster\nweapon 1 2 3\nweaponry  4 5 6\nweapon 7 8\nboth\nwtr\na_25\nattr cold  iron\nd say  zap\n");
  // The last line with three numbers counts; the short one is no weapon line.
  EXPECT_EQ((Numbers{item.min_damage, item.max_damage, item.hit_chance}), (Numbers{4, 5, 6}));
  EXPECT_FALSE(item_of("x\nweapon 1 2\n").is_weapon);
  EXPECT_EQ(item.water_use, 1);  // whichever of wtr and both comes last
  EXPECT_EQ(item_of("x\nwtr\nboth\n").water_use, 2);
  EXPECT_EQ(item.ammo_capacity, 25);
  EXPECT_EQ(item_of("x\na_\n").ammo_capacity, 0);
  EXPECT_EQ(item.attributes, (Lines{"cold iron"}));
  ASSERT_EQ(item.use_scripts.size(), 1u);
  EXPECT_EQ(item.use_scripts.begin()->text, "say zap");

  std::string long_attr = "x\nattr";
  for (int k = 0; k < 30; ++k) long_attr += " word" + std::to_string(k);
  EXPECT_EQ(item_of(long_attr + "\n").attributes.at(0).size(), 126u);
}

TEST(EnemyFile, SectionsKeywordLinesAndCapacities) {
  const std::string long_loot = "gem " + std::string(150, 'g') + " 1 2 3\n";
  const vesk::Enemy rat = enemy_of(
      "rat 2\n30 hit points\nskipped 1 2 3\nbites  you 1 4 50\nscratches 2 3\ngrapples you 0 1 90\n\n"
      "none\nnone of it\ngold coin 1 2 3\n" +
      long_loot + "\nattr cold iron 0.5\nattr fire\nattr x 2\nclaws 9 9 9\n");
  EXPECT_EQ(rat.shown_name, "rat");
  EXPECT_EQ(rat.health, 30);
  ASSERT_EQ(rat.attacks.size(), 2u);
  EXPECT_EQ(rat.attacks[0].text, "bites you");
  EXPECT_EQ(rat.attacks[1].hit_chance, 90);
  EXPECT_TRUE(rat.grapples);  // an attack line beginning "grapple" counts too
  // Loot lines are kept as read, cut to their capacity with the line end.
  EXPECT_EQ(rat.loot, (Lines{"gold coin 1 2 3\n", long_loot.substr(0, 126)}));
  ASSERT_EQ(rat.attributes.size(), 2u);  // a line without a factor is none
  EXPECT_EQ(rat.attributes[0].name, "cold iron");
  EXPECT_DOUBLE_EQ(rat.attributes[0].factor, 0.5);
  EXPECT_DOUBLE_EQ(rat.attributes[1].factor, 2.0);

  EXPECT_EQ(enemy_of("ghost\nno digits\n\n").health, 0);
  const std::pair<const char*, const char*> shown[] = {
      {"big rat 12", "big rat"}, {"unit -3", "unit"}, {"agent 007x", "agent 007x"}, {"rat", "rat"}};
  for (const auto& [name, display] : shown) EXPECT_EQ(vesk::display_name(name), display);
}

// Attribute factors are read as C's strtod reads them: hexadecimal, infinities
// and NaN included, and 0 for a word that is no number.
TEST(EnemyFile, AttributeFactorsReadAsStrtodReadsThem) {
  const vesk::Enemy golem = enemy_of(
      "golem\n9\n\n\n\nattr a 0x1p-1\nattr b inf\nattr c INFINITY\nattr d nan\nattr e 1e400\nattr f iron\n"
      "attr g 2.5e1x\n");
  ASSERT_EQ(golem.attributes.size(), 7u);
  EXPECT_DOUBLE_EQ(golem.attributes[0].factor, 0.5);
  EXPECT_TRUE(std::isinf(golem.attributes[1].factor));
  EXPECT_TRUE(std::isinf(golem.attributes[2].factor));
  EXPECT_TRUE(std::isnan(golem.attributes[3].factor));
  EXPECT_TRUE(std::isinf(golem.attributes[4].factor));
  EXPECT_EQ(golem.attributes[5].factor, 0.0);
  EXPECT_DOUBLE_EQ(golem.attributes[6].factor, 25.0);
}

// A blank line is one that holds nothing but its line end, or a lone CR before
// it: in a file with CR LF line ends such a line still ends a section.
TEST(EnemyFile, ALineOfALoneCrEndsTheAttacksAndTheLoot) {
  const vesk::Enemy wisp = enemy_of("wisp\r\n1\r\n\r\nbrushes you 0 0 0\r\n\r\r\nm 7 7 100\r\n\r\r\nattr x 2\r\n");
  ASSERT_EQ(wisp.attacks.size(), 1u);
  EXPECT_EQ(wisp.loot, (Lines{"m 7 7 100\n"}));
  EXPECT_EQ(wisp.attributes.size(), 1u);
  EXPECT_TRUE(vesk::is_blank_line("\r\n"));
  EXPECT_FALSE(vesk::is_blank_line(" \n"));
  EXPECT_FALSE(vesk::is_blank_line("\r"));
}

TEST(AreaFile, OrdinaryFormsOfItemsAmmunitionAndEnemies) {
  const vesk::Area area = area_with(
      "item rusty  key\nitem sword\nitem rusty key\nitem ghost\nitem\n"
      "ammo bow 40\nammo club 5\nammo sword 3\nammo crossbow 12\nenemy big rat 20\nenemy ghost 5\nenemy 20\n");
  EXPECT_EQ(items_of(area), (Lines{"0 1 rusty key", "0 1 sword", "0 2 rusty key"}));
  ASSERT_EQ(area.ammo_piles.size(), 2u);  // melee and plain items take no ammunition
  EXPECT_EQ(area.ammo_piles[0].weapon, 0u);
  EXPECT_EQ(area.ammo_piles[1].weapon, 1u);
  EXPECT_EQ(area.ammo_piles[1].amount, 12);
  ASSERT_EQ(area.enemy_kinds.size(), 1u);
  EXPECT_EQ(area.enemy_kinds[0].enemy->name, "big rat");
  EXPECT_EQ(area.enemy_kinds[0].chance, 20);
}

TEST(AreaFile, AfterM2ItemsAmmunitionAndEnemiesTakeSpots) {
  const vesk::Area area = area_with(
      "item sword\nm2\n1 0 2 0 -3\n2 1 0 0 0\n\n"
      "item sword 2\nitem sword 2\nitem sword 1\nitem sword 0\nitem rusty  key 2\n"
      "ammo bow 40 2\nammo bow 10 0\nenemy big rat 1 5 2 30\n");
  EXPECT_TRUE(area.is_subdivided);
  EXPECT_EQ(area.spot_count, 2);
  EXPECT_EQ(area.exit_of(1, 3), -3);
  EXPECT_EQ(area.exit_of(1, 4), 0);
  EXPECT_FALSE(area.has_spot(0));
  // Before "m2" the whole rest of an item line is the name; after it, items
  // are numbered among those of their name on their spot.
  EXPECT_EQ(items_of(area), (Lines{"0 1 sword", "2 1 sword", "2 2 sword", "1 1 sword", "2 1 rusty key"}));
  ASSERT_EQ(area.ammo_piles.size(), 1u);
  EXPECT_EQ(area.ammo_piles[0].amount, 40);
  EXPECT_EQ(area.ammo_piles[0].spot, 2);
  ASSERT_EQ(area.enemy_kinds.size(), 1u);
  const vesk::EnemyKind& rat = area.enemy_kinds[0];
  EXPECT_EQ((Numbers{rat.first_spot, rat.end_spot, rat.spot_step}), (Numbers{1, 5, 2}));
  EXPECT_EQ(area.enemy_kinds[0].chance, 30);
}

TEST(AreaFile, SpotRows) {
  // Bad rows are skipped; a smaller number resets the row count and a larger
  // one clears the rows in between, even those filled before. The line that
  // ends the rows is used up.
  const vesk::Area area = area_with(
      "m2\n0 1 1 1 1\n100001 1 1 1 1\n-1 1 1 1 1\n+ 1 1 1 1\n2 1 1 1\n"
      "4 4 4 4 4\n3 3 3 3 3\n2 2 2 2 2\n1 1 1 1 1\n3 9 9 9 9\ndark\n");
  EXPECT_EQ(area.spot_count, 3);
  EXPECT_EQ(area.spot_exits.size(), 100001u);  // row 100001 counts: spot numbers have no bound
  EXPECT_FALSE(area.is_dark);
  EXPECT_EQ(area.exit_of(1, 0), 1);
  EXPECT_EQ(area.exit_of(2, 0), 0);
  EXPECT_EQ(area.exit_of(3, 3), 9);
  EXPECT_FALSE(area.has_spot(4));
  EXPECT_EQ(area.exit_of(4, 0), 0);

  const vesk::Area smaller = area_with("m2\n3 1 1 1 1\n1 5 5 5 5\n2x 1 1 1 1\n");
  EXPECT_EQ(smaller.spot_count, 1);
  EXPECT_EQ(smaller.spot_exits.size(), 3u);
  EXPECT_EQ(smaller.exit_of(1, 2), 5);

  // Rows that run to the end of the file never set the spot count.
  const vesk::Area unended = area_with("m2\n1 0 0 0 0\n");
  EXPECT_TRUE(unended.is_subdivided);
  EXPECT_EQ(unended.spot_count, 0);
  EXPECT_FALSE(unended.has_spot(1));
}

// List lines go to the list of their entry; lines for entries that do not
// exist or lists that do not exist add nothing anywhere.
TEST(AreaFile, ListLinesGoToTheirEntriesOnly) {
  const vesk::Area area = vesk::parse_area(
      vesk::split_lines(
          "Room.\n\nR.\n\ndoor 2 10\ngate 3 10\n\nwait\n\n"
          "path 2 dp 0 a v1 1\npath 2 dp 0 repetition x\npath 2 dp 1 - v1 3 repeat x\npath 3 dp 0 a v1 1\n"
          "path 0 cv = v1 0\naction 1 cv = v1 0\naction 1 zz 0 a v1 1\naction 1 dn 0 msg no\n"
          "s 0 a v2 1\ndrop 0 a v3 1\npcd = v4 0\n"),
      small_world());
  ASSERT_EQ(area.paths.size(), 2u);
  EXPECT_TRUE(area.paths[0].success_scripts.empty());
  ASSERT_EQ(area.paths[1].success_scripts.size(), 3u);
  EXPECT_EQ(std::next(area.paths[1].success_scripts.begin(), 2)->label_line, 1u);
  EXPECT_EQ(area.actions[0].show_conditions.size(), 1u);
  EXPECT_TRUE(area.actions[0].success_scripts.empty());
  EXPECT_EQ(area.actions[0].failure_scripts.size(), 1u);
  EXPECT_EQ(area.turn_scripts.size(), 1u);
  EXPECT_EQ(area.drop_scripts.size(), 1u);
  EXPECT_EQ(area.item_conditions.size(), 1u);
}
