// Scripting benchmarks: a counting loop that makes a million backward jumps in
// one run of a script, and the expansion of a text full of references.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "content/records.hpp"
#include "script/expand.hpp"
#include "script/runner.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace {

vesk::World one_area() {
  vesk::World world;
  world.add_area(vesk::Area{});
  return world;
}

// The largest loop a single run allows: a label, an addition and a repeat
// guarded by a comparison, run until v1 reaches a million.
void BM_CountingLoop(benchmark::State& state) {
  const vesk::Script script(vesk::Script::Form::kList,
                            {"0 s v1 0", "0 repetition top", "0 a v1 1", "1 - v1 1000000 repeat top"});
  std::istringstream in;
  std::ostringstream out;
  vesk::GameState game(std::make_shared<const vesk::World>(one_area()), in, out, 0);
  for (auto _ : state) {
    vesk::run_script(game, script);
    benchmark::DoNotOptimize(game.vars.numbered.data());
  }
  if (game.vars.numbered.empty() || game.vars.numbered[0] != 1000000)
    state.SkipWithError("the loop did not count to a million");
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_CountingLoop)->Unit(benchmark::kMillisecond);

// A text of alternating number and string references, as long as a built
// text may be. Every "+v" word asks for another pass, and every "+s" word
// rebuilds the word list.
void BM_LongExpansion(benchmark::State& state) {
  std::istringstream in;
  std::ostringstream out;
  vesk::GameState game(std::make_shared<const vesk::World>(one_area()), in, out, 0);
  std::string text;
  for (int k = 1; text.size() + 8 < 254; ++k) {
    const std::string n = std::to_string(k % 9 + 1);
    *game.vars.numbered_variable(k % 9 + 1) = k * 37;
    *game.vars.string_variable(k % 9 + 1) = "word" + n;
    text += (k % 2 ? "+v" : "+s") + n + " ";
  }
  for (auto _ : state) {
    std::string expanded = vesk::expand_text(game, text);
    benchmark::DoNotOptimize(expanded.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LongExpansion);

}  // namespace
