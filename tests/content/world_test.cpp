// Loading a game's areas at once and on demand: the same world either way.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "base/lines.hpp"
#include "content/world.hpp"

namespace {

using vesk::AreaLoading;
using Files = std::map<std::string, std::string>;

// Items and enemies, and areas with every kind of line the area files know.
Files sample_game() {
  return {
      {"msg1.txt", "Hello.\n"},
      {"item1.txt", "rusty key\n"},
      {"item2.txt", "bow\nweapon 1 6 70\n"},
      {"enemy1.txt", "rat\n5\n\n"},
      {"area1.txt",
       "A cellar.\nDamp.\n\nThe cellar.\n\nstairs up 2 60\n\nlook around\n\n"
       "item rusty key\nitem rusty key\nammo bow 12\nenemy rat 20\ndark\n"
       "s 1 = v1 0 msg Quiet.\npcd = v2 1\ndrop 0 a v3 1\n"
       "path 1 cv = v1 0\naction 1 dp 0 repetition top\naction 1 dp 1 - v4 3 repeat top\n"},
      {"area2.txt",
       "An attic.\n\nThe attic.\n\nstairs down 1 60\n\nnone\n\nm2\n1 0 2 0 -1\n2 0 0 1 0\n\n"
       "item rusty key 2\nenemy rat 1 3 1 50\nswim\n"},
      {"area3.txt", "A shaft.\r\n\r\nThe shaft.\r\n\r\nnone\r\n\r\nnone\r\n\r\nwtr\r\n"},
  };
}

vesk::World load(const Files& files, AreaLoading areas) {
  return vesk::load_world(
      [&files](const std::string& name) -> std::optional<std::string> {
        const auto file = files.find(name);
        if (file == files.end()) return std::nullopt;
        return file->second;
      },
      nullptr, areas);
}

void describe(std::ostream& out, const vesk::Script& script) {
  for (const vesk::ScriptLine& line : script) {
    out << "  line " << static_cast<int>(line.kind) << " " << line.label_line << " [" << line.text << "] @"
        << line.source.file << ":" << line.source.piece << "\n";
  }
}

void describe(std::ostream& out, const vesk::Conditions& conditions) {
  for (const vesk::Condition& condition : conditions) {
    out << "  if [" << condition.text << "] @" << condition.source.file << ":" << condition.source.piece << "\n";
  }
}

// What an area holds, as text, to compare two loads of it.
std::string describe(const vesk::Area& area) {
  std::ostringstream out;
  for (const std::string_view line : area.long_description) out << "long " << line;
  for (const std::string_view line : area.short_description) out << "short " << line;
  for (const vesk::Path& path : area.paths) {
    out << "path " << path.label << " " << path.target_area << " " << path.travel_time << "\n";
    describe(out, path.show_conditions);
    describe(out, path.use_conditions);
  }
  for (const vesk::Action& action : area.actions) {
    out << "action " << action.label << "\n";
    describe(out, action.success_scripts);
    describe(out, action.failure_scripts);
  }
  for (const vesk::PlacedItem& item : area.items) out << "item " << item.item->name << " " << item.spot << "\n";
  for (const vesk::EnemyKind& kind : area.enemy_kinds) {
    out << "enemy " << kind.enemy->name << " " << kind.chance << " " << kind.first_spot << "\n";
  }
  for (const vesk::AmmoPile& pile : area.ammo_piles) out << "ammo " << pile.weapon << " " << pile.amount << "\n";
  out << "spots " << area.spot_count << " " << area.is_subdivided << " " << area.exit_of(1, 3) << "\n";
  out << "dark " << area.is_dark << " water " << area.water_level << "\n";
  describe(out, area.item_conditions);
  describe(out, area.turn_scripts);
  describe(out, area.drop_scripts);
  return out.str();
}

TEST(AreasOnDemand, AreWorkedOutAsTheyAreAtOnce) {
  const Files files = sample_game();
  const vesk::World at_once = load(files, AreaLoading::kAtOnce);
  const vesk::World on_demand = load(files, AreaLoading::kOnDemand);
  ASSERT_EQ(on_demand.area_count(), 3U);
  EXPECT_EQ(on_demand.source_files, at_once.source_files);
  // Backwards, so that no area is worked out in file order by chance.
  for (std::size_t a = 3; a-- > 0;) {
    EXPECT_EQ(describe(on_demand.area(a)), describe(at_once.area(a))) << "area " << a + 1;
  }
}

TEST(AreasOnDemand, StayWhereTheyAreOnceWorkedOut) {
  const vesk::World world = load(sample_game(), AreaLoading::kOnDemand);
  EXPECT_EQ(world.nth_area(4), nullptr);
  EXPECT_EQ(world.nth_area(0), nullptr);
  const vesk::Area& attic = world.area(1);
  // Working out other areas leaves the record in its place, so play may
  // refer to it freely.
  EXPECT_EQ(&world.all_areas()[1], &attic);
  EXPECT_EQ(world.nth_area(3), &world.area(2));
}

TEST(AreasOnDemand, AreWorkedOutFromTheFilesAsTheyWereAtLoad) {
  Files files = sample_game();
  const vesk::World world = load(files, AreaLoading::kOnDemand);
  files["area2.txt"] = "A different attic.\n\nX.\n\nnone\n\nnone\n\n";
  EXPECT_EQ(world.area(1).long_description, (vesk::TextLines{"An attic.\n"}));
}

TEST(AreasOnDemand, AreasAddedInCodeStandBesideThem) {
  vesk::World world = load(sample_game(), AreaLoading::kOnDemand);
  vesk::Area added;
  added.long_description = {"Added.\n"};
  world.add_area(added);
  EXPECT_EQ(world.area(3).long_description, (vesk::TextLines{"Added.\n"}));
  EXPECT_EQ(world.area(2).water_level, 2);
}

}  // namespace
