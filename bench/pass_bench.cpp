// Pass benchmarks: the work that one pass of the turn loop does for the things
// in the current area should grow linearly with their number. Each iteration
// runs the steps of a pass that look at every live enemy or area item: the
// departure sweep, the grappled flag, the area view (item visibility, grouping
// of items and enemies), arrival, renumbering in a subdivided area, the
// attacks of every ready enemy and the readiness update.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "combat/enemy_turn.hpp"
#include "content/records.hpp"
#include "content/world.hpp"
#include "core/view.hpp"
#include "state/game_state.hpp"

namespace {

// A few display names, so that grouping and numbering have real work: two of
// the catalogue names show as "goblin".
constexpr std::array<const char*, 4> kEnemyNames = {"rat", "cave bat", "goblin 2", "goblin"};
constexpr std::array<const char*, 3> kItemNames = {"copper coin", "rusty key", "candle stub"};

vesk::Enemy make_enemy(const std::string& name) {
  vesk::Enemy enemy;
  enemy.name = name;
  enemy.shown_name = vesk::display_name(name);
  enemy.health = 20;
  // Every attack misses, so the player outlives any number of attackers while
  // each attack still chooses, rolls and prints its line.
  enemy.attacks = {{"bites you", 1, 4, 0}, {"scratches you", 1, 3, 0}};
  return enemy;
}

// One area holding `items` area items, with a kind for each name of the
// lists above. In the subdivided form the area has four spots in a ring and
// the items are spread over them.
vesk::World make_world(std::int64_t items, bool subdivided) {
  vesk::World world;
  for (const char* name : kItemNames) {
    vesk::Item item;
    item.name = name;
    world.add_item(item);
  }
  world.add_enemy(make_enemy("rat"));
  for (const char* name : kEnemyNames) world.add_enemy(make_enemy(name));
  vesk::Area area;
  area.long_description = {"A great hall.\n"};
  area.short_description = {"The hall.\n"};
  if (subdivided) {
    area.is_subdivided = true;
    area.spot_exits = {{{2, 0, 4, 0}}, {{3, 0, 1, 0}}, {{4, 0, 2, 0}}, {{1, 0, 3, 0}}};
    area.spot_count = 4;
  }
  // An item condition, so that the view evaluates one condition per item.
  area.item_conditions = vesk::Conditions{"= vi1 0"};
  // One enemy kind that never arrives: arrival still rolls for it every pass.
  area.enemy_kinds.push_back({&world.enemies[0], 0});
  for (std::int64_t k = 0; k < items; ++k) {
    const std::size_t which = static_cast<std::size_t>(k) % kItemNames.size();
    area.items.push_back({&world.items[which], subdivided ? static_cast<std::int32_t>(k % 4) + 1 : 0});
  }
  world.add_area(std::move(area));
  return world;
}

// `enemies` persistent enemies in the game's area, numbered by display name
// as placing numbers them, spread over the spots of a subdivided area.
void place_enemies(vesk::GameState& game, std::int64_t enemies, bool subdivided) {
  vesk::LiveEnemies& live = game.current_area_state().live_enemies;
  std::array<std::int32_t, kEnemyNames.size()> enemy_count{};
  for (std::int64_t k = 0; k < enemies; ++k) {
    const std::size_t which = static_cast<std::size_t>(k) % kEnemyNames.size();
    vesk::LiveEnemy enemy = vesk::LiveEnemy::of(game.world().enemies[which + 1]);
    // "goblin 2" and "goblin" share their display name and so their numbers.
    const std::size_t group = which == 3 ? 2 : which;
    enemy.instance_number = ++enemy_count[group];
    enemy.spot = subdivided ? static_cast<std::int32_t>(k % 4) + 1 : -1;
    enemy.is_persistent = true;
    live.push_back(enemy);
  }
}

// The steps of one pass that visit the area's enemies and items, in the order
// the turn loop runs them, ending with a turn that passes without a move.
void run_pass(vesk::GameState& game) {
  vesk::sweep_departed_enemies(game);
  vesk::update_grappled(game);
  vesk::show_area_view(game, true);
  if (vesk::run_enemy_turn(game)) game.vars.health = 100;  // never happens: every attack misses
  vesk::make_enemies_ready(game);
}

void bench_pass(benchmark::State& state, std::int64_t enemies, std::int64_t items, bool subdivided) {
  std::istringstream in;
  std::ostringstream out;
  vesk::GameState game(std::make_shared<const vesk::World>(make_world(items, subdivided)), in, out, 1);
  place_enemies(game, enemies, subdivided);
  game.subdivided_now = subdivided;
  if (subdivided) {
    game.vars.spot = 1;
    game.facing = 0;
    game.entry_spot_known = true;
  }
  vesk::make_enemies_ready(game);
  std::size_t output = 0;
  for (auto _ : state) {
    out.str("");
    out.clear();
    run_pass(game);
    output = static_cast<std::size_t>(out.tellp());
    benchmark::DoNotOptimize(output);
  }
  const std::size_t live = game.current_area_state().live_enemies.size();
  if (live != static_cast<std::size_t>(enemies) ||
      game.current_area_state().items.size() != static_cast<std::size_t>(items)) {
    state.SkipWithError("the pass changed the number of things in the area");
  }
  state.counters["output_bytes"] = static_cast<double>(output);
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PassWithEnemies(benchmark::State& state) { bench_pass(state, state.range(0), 0, false); }
void BM_PassWithItems(benchmark::State& state) { bench_pass(state, 0, state.range(0), false); }
void BM_SubdividedPassWithEnemies(benchmark::State& state) { bench_pass(state, state.range(0), 0, true); }
void BM_SubdividedPassWithItems(benchmark::State& state) { bench_pass(state, 0, state.range(0), true); }

void sizes(benchmark::internal::Benchmark* bench) {
  bench->RangeMultiplier(4)->Range(16, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PassWithEnemies)->Apply(sizes);
BENCHMARK(BM_PassWithItems)->Apply(sizes);
BENCHMARK(BM_SubdividedPassWithEnemies)->Apply(sizes);
BENCHMARK(BM_SubdividedPassWithItems)->Apply(sizes);

}  // namespace
