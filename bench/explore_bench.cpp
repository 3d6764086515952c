// vesk-kit explore: states met per second and the search's own memory per
// state, on the sample game and on a world of 1,000 areas from genworld.py.
// The goal on the sample game is at least 10,000 states a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_games.hpp"
#include "kit/explore.hpp"

namespace {

namespace fs = std::filesystem;

void explore_for(benchmark::State& state, const fs::path& game, std::size_t budget) {
  std::size_t states = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const vesk::kit::ExploreResult result = vesk::kit::explore(game, {0, 1000, budget});
    states += result.states;
    bytes = result.bytes_per_state;
  }
  state.counters["states"] = benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
  state.counters["bytes_per_state"] = static_cast<double>(bytes);
}

void BM_ExploreSample(benchmark::State& state) {
  explore_for(state, fs::path(VESK_SOURCE_DIR) / "games" / "demo", static_cast<std::size_t>(state.range(0)));
}
BENCHMARK(BM_ExploreSample)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ExploreGenerated(benchmark::State& state) {
  const vesk::bench::ScratchDirectory scratch("vesk_explore_bench");
  const std::string command = "python3 " + (fs::path(VESK_SOURCE_DIR) / "bench" / "genworld.py").string() + " " +
                              scratch.dir().string() + " 1000";
  if (std::system(command.c_str()) != 0) {
    state.SkipWithError("genworld.py failed");
    return;
  }
  explore_for(state, scratch.dir(), static_cast<std::size_t>(state.range(0)));
}
BENCHMARK(BM_ExploreGenerated)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
