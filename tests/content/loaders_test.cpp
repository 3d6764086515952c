// The content file loaders: items, enemies and areas parsed from the lines that
// the file reader gives, with the quirks of the keyword tests kept on purpose.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "content/text.hpp"
#include "content/world.hpp"

using vesk::Lines;

namespace {

vesk::Item item_of(std::string_view content) { return vesk::parse_item(vesk::split_lines(content)); }
vesk::Enemy enemy_of(std::string_view content) { return vesk::parse_enemy(vesk::split_lines(content)); }

// A small catalogue: two firing weapons (the ammunition table holds both), a
// melee weapon and some plain items and enemies.
vesk::World small_world() {
  vesk::World world;
  for (const char* item : {"sword\n", "bow\nweapon 1 6 70\n", "club\nweapon 2 5 80\nmelee\n", "rusty key\n",
                           "lie around\n", "crossbow\nweapon 3 8 60\n"}) {
    world.add_item(item_of(item));
  }
  world.add_enemy(enemy_of("rat\n5\n\n"));
  world.add_enemy(enemy_of("big rat\n12\n\n"));
  return world;
}

// The texts of a condition or script list, as the file wrote them.
template <typename List>
Lines texts(const List& list) {
  Lines result;
  for (const auto& entry : list) result.push_back(entry.text);
  return result;
}

using Damage = std::array<std::int32_t, 3>;
Damage damage_of(const vesk::Item& item) { return {item.min_damage, item.max_damage, item.hit_chance}; }

// An attack or a path as its file line would give it, for compact comparisons.
std::string summary(const vesk::Attack& a) {
  return a.text + " " + std::to_string(a.min_damage) + " " + std::to_string(a.max_damage) + " " +
         std::to_string(a.hit_chance);
}
std::string summary(const vesk::Path& p) {
  return p.label + " " + std::to_string(p.target_area) + " " + std::to_string(p.travel_time);
}
template <typename List>
Lines summaries(const List& list) {
  Lines result;
  for (const auto& entry : list) result.push_back(summary(entry));
  return result;
}

vesk::Area area_of(std::string_view content, const vesk::World& world) {
  return vesk::parse_area(vesk::split_lines(content), world);
}

// Area files begin with four sections; these stand for empty ones.
constexpr std::string_view kPlainSections = "Room.\n\nR.\n\nnone\n\nnone\n\n";

}  // namespace

TEST(ItemFile, NameIsTheFirstLineLessItsLastCharacter) {
  EXPECT_EQ(item_of("rope\nlamp\n").name, "rope");
  EXPECT_EQ(item_of("rope").name, "rop");
  EXPECT_EQ(item_of("\n").name, "");
  EXPECT_EQ(item_of("").name, "");

  const vesk::Item plain = item_of("rope\n");
  EXPECT_EQ(plain.ammo_capacity, 99);
  EXPECT_EQ(plain.water_use, 0);
  EXPECT_FALSE(plain.is_weapon || plain.is_lamp || plain.is_definite || plain.supplies_air || plain.is_melee ||
               plain.is_armor);
}

TEST(ItemFile, EveryLineIncludingTheNameIsAKeywordPrefixTest) {
  EXPECT_TRUE(item_of("airship ticket\n").supplies_air);
  EXPECT_TRUE(item_of("default\n").is_definite);
  EXPECT_TRUE(item_of("x\narmored\n").is_armor);
  EXPECT_TRUE(item_of("x\nlampshade\n").is_lamp);
  EXPECT_TRUE(item_of("x\nmelee\n").is_melee);

  const vesk::Item weaponry = item_of("weaponry 3 9 60\n");
  EXPECT_TRUE(weaponry.is_weapon);
  EXPECT_EQ(damage_of(weaponry), (Damage{3, 9, 60}));

  // The first keyword in the fixed order wins: "lamp" before "weapon", "wtr"
  // before "air", "def" before "d ".
  const vesk::Item first = item_of("x\nlamp weapon 1 2 3\nwtr air\ndef d say hi\n");
  EXPECT_TRUE(first.is_lamp);
  EXPECT_FALSE(first.is_weapon);
  EXPECT_EQ(first.water_use, 1);
  EXPECT_FALSE(first.supplies_air);
  EXPECT_TRUE(first.is_definite);
  EXPECT_TRUE(first.use_scripts.empty());

  // "attr" and "d" need their space.
  const vesk::Item no_space = item_of("x\nattr\nattribute big\nd\ndrink\n");
  EXPECT_TRUE(no_space.attributes.empty());
  EXPECT_TRUE(no_space.use_scripts.empty());
}

TEST(ItemFile, ValuedKeywords) {
  const vesk::Item item = item_of(
      "blaster\nweapon 1 2 3\nweapon  4 5 6\nweapon 7 8\nboth\nwtr\na_25\nattr cold  iron\n"
      "d say  zap\nd give 1\n");
  // The last full weapon line counts; the short one is ignored.
  EXPECT_TRUE(item.is_weapon);
  EXPECT_EQ(damage_of(item), (Damage{4, 5, 6}));
  EXPECT_EQ(item.water_use, 1);  // whichever of wtr and both comes last
  EXPECT_EQ(item_of("x\nwtr\nboth\n").water_use, 2);
  EXPECT_EQ(item.ammo_capacity, 25);
  EXPECT_EQ(item.attributes, (Lines{"cold iron"}));
  EXPECT_EQ(texts(item.use_scripts), (Lines{"say zap", "give 1"}));

  EXPECT_EQ(item_of("x\na_\n").ammo_capacity, 0);
  EXPECT_EQ(item_of("x\na_5\na_12\n").ammo_capacity, 12);
  EXPECT_FALSE(item_of("x\nweapon 1 2\n").is_weapon);

  std::string long_attr = "x\nattr";
  for (int k = 0; k < 30; ++k) long_attr += " word" + std::to_string(k);
  EXPECT_EQ(item_of(long_attr + "\n").attributes.at(0).size(), 126u);
}

TEST(EnemyFile, SectionsAndKeywordLines) {
  const vesk::Enemy rat = enemy_of(
      "rat 2\n30 hit points\nskipped 1 2 3\n"
      "bites  you 1 4 50\nscratches 2 3\ngrapples you 0 1 90\n\n"
      "none\nnone of it\ngold coin 1 2 3\nrags 5\n\n"
      "attr cold iron 0.5\nattr fire\nattr x 2\nclaws 9 9 9\n");
  EXPECT_EQ(rat.name, "rat 2");
  EXPECT_EQ(rat.shown_name, "rat");
  EXPECT_EQ(rat.base_health, 30);
  EXPECT_EQ(rat.health, 30);
  EXPECT_EQ(summaries(rat.attacks), (Lines{"bites you 1 4 50", "grapples you 0 1 90"}));
  EXPECT_TRUE(rat.grapples);  // the attack line counts as a grapple line too
  EXPECT_EQ(rat.loot, (Lines{"gold coin 1 2 3\n"}));
  ASSERT_EQ(rat.attributes.size(), 2u);
  EXPECT_EQ(rat.attributes[0].name, "cold iron");
  EXPECT_DOUBLE_EQ(rat.attributes[0].factor, 0.5);
  EXPECT_EQ(rat.attributes[1].name, "x");
  EXPECT_DOUBLE_EQ(rat.attributes[1].factor, 2.0);
}

TEST(EnemyFile, ShortAndOddFiles) {
  const vesk::Enemy ghost = enemy_of("ghost\nno digits\n\nwails 1 2\n");
  EXPECT_EQ(ghost.name, "ghost");
  EXPECT_EQ(ghost.health, 0);
  EXPECT_TRUE(ghost.attacks.empty());
  EXPECT_FALSE(ghost.grapples);

  // Loot lines are kept as read, cut to their capacity (the line end with it).
  const std::string long_loot = "gem " + std::string(150, 'g') + " 1 2 3\n";
  const vesk::Enemy rich = enemy_of("boss\n9\n\n\n" + long_loot + "\n");
  ASSERT_EQ(rich.loot.size(), 1u);
  EXPECT_EQ(rich.loot[0], long_loot.substr(0, 126));
  EXPECT_EQ(enemy_of("").name, "");
}

TEST(EnemyFile, DisplayNameDropsATrailingNumber) {
  EXPECT_EQ(vesk::display_name("guard 2"), "guard");
  EXPECT_EQ(vesk::display_name("big rat 12"), "big rat");
  EXPECT_EQ(vesk::display_name("unit -3"), "unit");
  EXPECT_EQ(vesk::display_name("agent 007x"), "agent 007x");
  EXPECT_EQ(vesk::display_name("rat"), "rat");
  EXPECT_EQ(enemy_of("guard 7\n1\n\n").shown_name, "guard");
}

TEST(AreaFile, SectionsAndOrdinaryKeywords) {
  const vesk::World world = small_world();
  const vesk::Area area = area_of(
      "A long hall.\nitems lie around\n\nHall.\n\n"
      "wooden door 4 30\nnone\nab 1\nnorth 2 5\n\n"
      "pull lever\nnone shall pass\n\n"
      "dark\nitem rusty  key\nitem sword\nitem rusty key\nitem ghost\nitem\n"
      "ammo bow 40\nammo club 5\nammo sword 3\nammo crossbow 12\n"
      "enemy big rat 20\nenemy ghost 5\nenemy 20\n"
      "pcd has lamp\ndrop say dropped\ns say tick\n"
      "path 1 cv has key\npath 1 cd x\npath 2 dp go\npath 2 dn fail\n"
      "path 3 cv no\npath 0 cv no\npath 1 zz no\naction 1 cv flag  lever\naction 2 cv no\nwtr\n",
      world);
  EXPECT_EQ(area.long_description, (Lines{"A long hall.\n", "items lie around\n"}));
  EXPECT_EQ(area.short_description, (Lines{"Hall.\n"}));
  ASSERT_EQ(summaries(area.paths), (Lines{"wooden door 4 30", "north 2 5"}));
  ASSERT_EQ(area.actions.size(), 1u);  // nothing after the fourth blank line
  EXPECT_EQ(area.actions[0].label, "pull lever");

  EXPECT_TRUE(area.is_dark);
  EXPECT_EQ(area.water_level, 2);
  EXPECT_FALSE(area.is_subdivided);
  ASSERT_EQ(area.items.size(), 4u);
  EXPECT_EQ(area.items[0].name, "lie around");  // the description line began with "item"
  EXPECT_EQ(area.items[1].name, "rusty key");
  EXPECT_EQ(area.items[1].instance_number, 1);
  EXPECT_EQ(area.items[2].name, "sword");
  EXPECT_EQ(area.items[3].name, "rusty key");
  EXPECT_EQ(area.items[3].instance_number, 2);

  ASSERT_EQ(area.ammo_piles.size(), 2u);  // melee and plain items take no ammunition
  EXPECT_EQ(area.ammo_piles[0].weapon, 0u);
  EXPECT_EQ(area.ammo_piles[0].amount, 40);
  EXPECT_EQ(area.ammo_piles[1].weapon, 1u);
  EXPECT_EQ(area.ammo_piles[1].amount, 12);
  ASSERT_EQ(area.enemy_kinds.size(), 1u);
  EXPECT_EQ(area.enemy_kinds[0].enemy.name, "big rat");
  EXPECT_EQ(area.enemy_kinds[0].chance, 20);

  EXPECT_EQ(texts(area.item_conditions), (Lines{"has lamp"}));
  EXPECT_EQ(texts(area.drop_scripts), (Lines{"say dropped"}));
  EXPECT_EQ(texts(area.turn_scripts), (Lines{"say tick"}));
  EXPECT_EQ(texts(area.paths[0].show_conditions), (Lines{"has key"}));
  EXPECT_EQ(texts(area.paths[0].use_conditions), (Lines{"x"}));
  EXPECT_EQ(texts(area.paths[1].success_scripts), (Lines{"go"}));
  EXPECT_EQ(texts(area.paths[1].failure_scripts), (Lines{"fail"}));
  EXPECT_TRUE(area.paths[1].show_conditions.empty());
  EXPECT_EQ(texts(area.actions[0].show_conditions), (Lines{"flag lever"}));
}

TEST(AreaFile, FlagLinesMustMatchExactly) {
  const vesk::World world = small_world();
  EXPECT_EQ(area_of(std::string(kPlainSections) + "swim\n", world).water_level, 1);
  EXPECT_EQ(area_of(std::string(kPlainSections) + "swim \n", world).water_level, 0);
  EXPECT_EQ(area_of(std::string(kPlainSections) + "swim", world).water_level, 0);
  EXPECT_FALSE(area_of(std::string(kPlainSections) + "darkness\n", world).is_dark);
  // A file may end before its four sections are complete.
  const vesk::Area short_file = area_of("Only this.\n", world);
  EXPECT_EQ(short_file.long_description, (Lines{"Only this.\n"}));
  EXPECT_TRUE(short_file.short_description.empty() && short_file.paths.empty());
}

TEST(AreaFile, SubdividedAreaSpotsAndSpotForms) {
  const vesk::World world = small_world();
  const vesk::Area area = area_of(std::string(kPlainSections) +
                                      "item sword\nm2\n1 0 2 0 -3\n2 1 0 0 0\n\n"
                                      "item sword 2\nitem sword 2\nitem sword 1\nitem sword 0\nitem rusty  key 2\n"
                                      "ammo bow 40 2\nammo bow 10 0\nenemy big rat 1 5 2 30\n",
                                  world);
  EXPECT_TRUE(area.is_subdivided);
  EXPECT_EQ(area.spot_count, 2);
  EXPECT_EQ(area.exit_of(1, 1), 2);
  EXPECT_EQ(area.exit_of(1, 3), -3);
  EXPECT_EQ(area.exit_of(2, 0), 1);
  EXPECT_EQ(area.exit_of(3, 0), 0);
  EXPECT_EQ(area.exit_of(1, 4), 0);
  EXPECT_FALSE(area.has_spot(0));

  // Before "m2" the whole rest of an item line is the name.
  ASSERT_EQ(area.items.size(), 5u);
  EXPECT_EQ(area.items[0].spot, 0);
  EXPECT_EQ(area.items[0].instance_number, 1);
  const std::pair<int, int> spot_and_number[] = {{2, 1}, {2, 2}, {1, 1}, {2, 1}};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(area.items[k + 1].spot, spot_and_number[k].first) << k;
    EXPECT_EQ(area.items[k + 1].instance_number, spot_and_number[k].second) << k;
  }
  EXPECT_EQ(area.items[4].name, "rusty key");

  ASSERT_EQ(area.ammo_piles.size(), 1u);
  EXPECT_EQ(area.ammo_piles[0].amount, 40);
  EXPECT_EQ(area.ammo_piles[0].spot, 2);
  ASSERT_EQ(area.enemy_kinds.size(), 1u);
  const vesk::Enemy& rat = area.enemy_kinds[0].enemy;
  EXPECT_EQ(rat.name, "big rat");
  EXPECT_EQ(rat.first_spot, 1);
  EXPECT_EQ(rat.end_spot, 5);
  EXPECT_EQ(rat.spot_step, 2);
  EXPECT_EQ(area.enemy_kinds[0].chance, 30);
}

TEST(AreaFile, SpotRows) {
  const vesk::World world = small_world();
  // Bad rows are skipped; a smaller number resets the row count and a larger one
  // clears the rows in between, even those filled before. The line that ends
  // the rows is used up.
  const vesk::Area area = area_of(std::string(kPlainSections) +
                                      "m2\n0 1 1 1 1\n100001 1 1 1 1\n-1 1 1 1 1\n+ 1 1 1 1\n2 1 1 1\n"
                                      "4 4 4 4 4\n3 3 3 3 3\n2 2 2 2 2\n1 1 1 1 1\n3 9 9 9 9\ndark\n",
                                  world);
  EXPECT_EQ(area.spot_count, 3);
  EXPECT_EQ(area.spot_exits.size(), 4u);
  EXPECT_FALSE(area.is_dark);
  EXPECT_EQ(area.exit_of(1, 0), 1);
  EXPECT_EQ(area.exit_of(2, 0), 0);
  EXPECT_EQ(area.exit_of(3, 3), 9);
  EXPECT_FALSE(area.has_spot(4));
  EXPECT_EQ(area.exit_of(4, 0), 0);

  const vesk::Area smaller = area_of(std::string(kPlainSections) + "m2\n3 1 1 1 1\n1 5 5 5 5\n2x 1 1 1 1\n", world);
  EXPECT_EQ(smaller.spot_count, 1);
  EXPECT_EQ(smaller.spot_exits.size(), 3u);
  EXPECT_EQ(smaller.exit_of(1, 2), 5);

  // Rows that run to the end of the file never set the spot count.
  const vesk::Area unended = area_of(std::string(kPlainSections) + "m2\n1 0 0 0 0\n", world);
  EXPECT_TRUE(unended.is_subdivided);
  EXPECT_EQ(unended.spot_count, 0);
  EXPECT_FALSE(unended.has_spot(1));
}
