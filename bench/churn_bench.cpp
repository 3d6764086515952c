// Drop and pickup churn: a player drops pieces of one item again and again
// while another item is dropped and taken back each time, so that the pile in
// the area grows with every round. Numbering a dropped piece and finding the
// piece to take must not count the pile, so the time per turn stays the same
// however long the game has gone on: 100,000 turns take ten times what 10,000
// take (the complexity line of the report, O(N) with a flat RMS).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>

#include "core/game.hpp"

namespace {

// Output that is only counted, so that the transcript of a long game takes no
// memory.
class CountingBuffer : public std::streambuf {
 public:
  std::size_t count = 0;

 protected:
  int_type overflow(int_type c) override {
    ++count;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* /*text*/, std::streamsize n) override {
    count += static_cast<std::size_t>(n);
    return n;
  }
};

// A store whose first pass gives the player a gem and `coins` coins.
std::shared_ptr<const vesk::World> store(std::int64_t coins) {
  const std::string area =
      "A store.\n\nStore.\n\nnone\n\nnone\n\n"
      "s 1 = v1 0 _ gem\n"
      "s 0 repetition top\n"
      "s 1 = v1 0 _ coin\n"
      "s 1 = v1 0 a v2 1\n"
      "s 2 = v1 0 - v2 " +
      std::to_string(coins) +
      " repeat top\n"
      "s 0 s v1 1\n";
  return std::make_shared<const vesk::World>(
      vesk::load_world([&](const std::string& name) -> std::optional<std::string> {
        if (name == "area1.txt") return area;
        if (name == "item1.txt") return std::string("coin\n");
        if (name == "item2.txt") return std::string("gem\n");
        return std::nullopt;
      }));
}

void BM_DropChurn(benchmark::State& state) {
  const std::int64_t turns = state.range(0);
  const std::int64_t rounds = turns / 3;
  const std::shared_ptr<const vesk::World> world = store(rounds + 1);
  std::string input;
  for (std::int64_t k = 0; k < rounds; ++k) input += "drop coin\ndrop gem\npickup gem\n";
  std::size_t pile = 0;
  for (auto _ : state) {
    std::istringstream in(input);
    CountingBuffer sink;
    std::ostream out(&sink);
    vesk::Game game(world, in, out, 1, "/nonexistent");
    game.run();
    pile = game.state().current_area_state().items.size();
    benchmark::DoNotOptimize(sink.count);
  }
  if (pile != static_cast<std::size_t>(rounds)) state.SkipWithError("the pile is not one coin per round");
  state.SetComplexityN(turns);
  state.SetItemsProcessed(state.iterations() * turns);
}
BENCHMARK(BM_DropChurn)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
