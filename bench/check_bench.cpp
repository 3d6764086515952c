// vesk-kit check against the engine's own start-up on a generated game of
// 10,000 areas: the checker loads the game with the same loaders and checks it,
// and should take at most about twice as long as loading alone.
//
// The game is written once into a fresh directory under the system's temporary
// directory and removed at exit.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench_games.hpp"
#include "content/world.hpp"
#include "kit/checker.hpp"

namespace {

namespace fs = std::filesystem;
using vesk::bench::write_file;

constexpr std::int64_t kAreas = 10000;

// Area `k` of `n`, clean for the checker: paths to its neighbours, actions
// with conditions and scripts (a label loop, variables written and read, a
// message), items, an enemy kind, and every tenth area subdivided into a ring
// of spots whose first spot leads back out.
std::string area_text(std::int64_t k, std::int64_t n) {
  const std::string number = std::to_string(k);
  const std::int64_t next = k % n + 1;
  const std::int64_t previous = (k + n - 2) % n + 1;
  std::string text;
  text += "Room " + number + " of the endless manor.\n";
  text += "Dust lies thick on the floorboards, and a draught stirs the curtains.\n\n";
  text += "Room " + number + ". You have been here +v1 times.\n\n";
  text += "through the east door " + std::to_string(next) + " 30\n";
  text += "through the west door " + std::to_string(previous) + " 45\n\n";
  text += "search the cupboards\nrest a while\n\n";
  if (k % 10 != 0) text += "item rusty key\nitem storm lantern\nenemy rat 10\n";
  text += "s 0 a v1 1\n";
  text += "action 1 cv = v2 0\n";
  text += "action 1 dp 0 s v3 0\n";
  text += "action 1 dp 0 repetition search\n";
  text += "action 1 dp 0 a v3 1\n";
  text += "action 1 dp 1 - v3 3 repeat search\n";
  text += "action 1 dp 1 rusty key held msf 1 2\n";
  text += "action 2 cd + h 10\n";
  text += "action 2 dp 0 s v2 1\n";
  text += "action 2 dn 0 msg You are too weak to rest.\n";
  text += "path 1 cv tch 6 22\n";
  if (k % 10 == 0) {
    text += "m2\n1 2 0 -" + std::to_string(previous) + " 8\n";
    for (int spot = 2; spot <= 8; ++spot) {
      text += std::to_string(spot) + " " + std::to_string(spot % 8 + 1) + " 0 " + std::to_string(spot - 1) + " 0\n";
    }
    text += "\nitem rusty key 3\nenemy marsh wraith 2 8 2 15\nammo short bow 5 4\n";
  }
  return text;
}

// The game, written once.
class GeneratedGame {
 public:
  GeneratedGame() {
    vesk::bench::write_catalogues(dir());
    for (std::int64_t k = 1; k <= kAreas; ++k) {
      write_file(dir() / ("area" + std::to_string(k) + ".txt"), area_text(k, kAreas));
    }
  }
  const fs::path& dir() const { return scratch_.dir(); }

 private:
  vesk::bench::ScratchDirectory scratch_{"vesk_check_bench"};
};

const fs::path& game_dir() {
  static const GeneratedGame game;
  return game.dir();
}

// The engine's start-up: loading the game directory.
void BM_EngineStartUp(benchmark::State& state) {
  const fs::path& dir = game_dir();
  for (auto _ : state) {
    vesk::World world = vesk::load_world(dir);
    benchmark::DoNotOptimize(world);
  }
}
BENCHMARK(BM_EngineStartUp)->Unit(benchmark::kMillisecond);

// The checker on the same game, which it must find clean.
void BM_CheckGame(benchmark::State& state) {
  const fs::path& dir = game_dir();
  if (!vesk::kit::check_game(vesk::kit::DirectoryFiles(dir)).empty()) {
    state.SkipWithError("the generated game is not clean");
    return;
  }
  for (auto _ : state) {
    auto findings = vesk::kit::check_game(vesk::kit::DirectoryFiles(dir));
    benchmark::DoNotOptimize(findings);
  }
}
BENCHMARK(BM_CheckGame)->Unit(benchmark::kMillisecond);

}  // namespace
