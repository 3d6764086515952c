// Loading benchmarks: the time to load a game should grow linearly with its
// size, both in the number of areas and in the rows of one area's spot table.
//
// Each game is written once per size into a fresh directory under the system's
// temporary directory, reused by every run of that size, and removed at exit.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "bench_games.hpp"
#include "content/world.hpp"

namespace {

namespace fs = std::filesystem;
using vesk::bench::write_catalogues;
using vesk::bench::write_file;

// Area `k` of `n`: two paths (to the next and the previous area), an action,
// several copies of one item and one of another, an enemy kind, a turn script
// and a show condition on the action.
std::string area_text(std::int64_t k, std::int64_t n) {
  const std::string number = std::to_string(k);
  const std::int64_t next = k % n + 1;
  const std::int64_t previous = (k + n - 2) % n + 1;
  std::string text;
  text += "Room " + number + " of the endless manor.\n";
  text += "Dust lies thick on the floorboards, and a draught stirs the curtains.\n";
  text += "\n";
  text += "Room " + number + ".\n";
  text += "\n";
  text += "through the east door " + std::to_string(next) + " 30\n";
  text += "through the west door " + std::to_string(previous) + " 45\n";
  text += "\n";
  text += "search the cupboards\n";
  text += "\n";
  text += "item rusty key\nitem rusty key\nitem rusty key\nitem storm lantern\n";
  text += "enemy rat 10\n";
  text += "s 0 msg hi\n";
  text += "action 1 cv = v1 0\n";
  return text;
}

// One subdivided area whose spot table has `rows` rows, each spot leading east
// to the next one and the last back out to area 1; a line that is no row ends
// the table.
std::string spot_area_text(std::int64_t rows) {
  std::string text =
      "A hall of mirrors.\nYour reflections walk beside you.\n\nThe mirror hall.\n\nnone\n\nnone\n\nm2\n";
  for (std::int64_t spot = 1; spot <= rows; ++spot) {
    const std::int64_t east = spot < rows ? spot + 1 : -1;
    const std::int64_t west = spot > 1 ? spot - 1 : 0;
    text += std::to_string(spot) + " " + std::to_string(east) + " 0 " + std::to_string(west) + " 0\n";
  }
  text += "end\n";
  text += "item rusty key 1\nitem rusty key 1\nitem storm lantern 2\n";
  return text;
}

// The generated game directories, one per kind and size, removed at exit.
class GameDirs {
 public:
  const fs::path& areas(std::int64_t n) {
    return get("areas", n, [n](const fs::path& dir) {
      write_catalogues(dir);
      for (std::int64_t k = 1; k <= n; ++k) write_file(dir / ("area" + std::to_string(k) + ".txt"), area_text(k, n));
    });
  }

  const fs::path& spots(std::int64_t rows) {
    return get("spots", rows, [rows](const fs::path& dir) {
      write_catalogues(dir);
      write_file(dir / "area1.txt", spot_area_text(rows));
    });
  }

 private:
  template <typename Generate>
  const fs::path& get(const std::string& kind, std::int64_t size, Generate generate) {
    const auto key = std::make_pair(kind, size);
    if (auto it = dirs_.find(key); it != dirs_.end()) return it->second->dir();
    auto scratch = std::make_unique<vesk::bench::ScratchDirectory>("vesk_bench_" + kind + "_" + std::to_string(size));
    generate(scratch->dir());
    return dirs_.emplace(key, std::move(scratch)).first->second->dir();
  }

  std::map<std::pair<std::string, std::int64_t>, std::unique_ptr<vesk::bench::ScratchDirectory>> dirs_;
};

GameDirs& game_dirs() {
  static GameDirs dirs;
  return dirs;
}

// Loading a game of N areas, its areas worked out as `loading` says; the first
// area is asked for, as the first view asks for it. Each iteration also frees
// the loaded world, which is linear in its size as well.
void load_areas(benchmark::State& state, vesk::AreaLoading loading) {
  const std::int64_t n = state.range(0);
  const fs::path& dir = game_dirs().areas(n);
  {
    // One load outside the timing: checks the generated game and warms the file cache.
    const vesk::World world = vesk::load_world(dir, loading);
    if (static_cast<std::int64_t>(world.area_count()) != n || world.area(0).items.size() != 4 ||
        world.area(0).items[2].item != world.area(0).items[0].item || world.area(0).enemy_kinds.size() != 1) {
      state.SkipWithError("the generated game did not load as written");
      return;
    }
  }
  for (auto _ : state) {
    vesk::World world = vesk::load_world(dir, loading);
    benchmark::DoNotOptimize(world.area(0));
  }
  state.SetComplexityN(n);
  state.counters["areas/s"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

void area_counts(benchmark::internal::Benchmark* benchmark) {
  for (const std::int64_t n : {1000, 2000, 4000, 6000, 8000, 10000}) benchmark->Arg(n);
  benchmark->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// Every area worked out at once, as the tools load a game.
void BM_LoadAreas(benchmark::State& state) { load_areas(state, vesk::AreaLoading::kAtOnce); }
BENCHMARK(BM_LoadAreas)->Apply(area_counts);

// Starting a game as the game does: every file read, the messages, items and
// enemies worked out, each area left to be worked out when play first needs it.
void BM_StartWithAreas(benchmark::State& state) { load_areas(state, vesk::AreaLoading::kOnDemand); }
BENCHMARK(BM_StartWithAreas)->Apply(area_counts);

// Loading one subdivided area whose spot table has N rows.
void BM_LoadSpotTable(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  const fs::path& dir = game_dirs().spots(rows);
  {
    const vesk::World world = vesk::load_world(dir);
    if (world.area_count() != 1 || world.area(0).spot_count != rows ||
        world.area(0).exit_of(static_cast<std::int32_t>(rows), 0) != -1) {
      state.SkipWithError("the generated spot table did not load as written");
      return;
    }
  }
  for (auto _ : state) {
    vesk::World world = vesk::load_world(dir);
    benchmark::DoNotOptimize(world);
  }
  state.SetComplexityN(rows);
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadSpotTable)->DenseRange(5000, 50000, 5000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
