// The vesk program: plays the game in the current directory on the console.
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include "core/game.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  // A save beyond the file-size limit fails like any other failed write,
  // instead of ending the game.
  std::signal(SIGXFSZ, SIG_IGN);
  const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
  // Both outlive the try block: see the end.
  std::optional<vesk::World> world;
  std::unique_ptr<vesk::Game> game;
  try {
    world = vesk::start_game(".", std::cout);
    if (!world) {
      std::cout.flush();
      std::cerr << "No game found: area1.txt is missing.\n";
      return 1;
    }
    game = std::make_unique<vesk::Game>(std::move(*world), std::cin, std::cout, seed);
    game->run();
  } catch (const std::exception&) {
    // Content too big for the memory there is (each file may hold up to
    // 256 MiB) ends the game as an empty input would, with what it printed.
  }
  std::cout.flush();
  // A big game is a great many small allocations and the program ends with
  // the game, so the game is left for the system to reclaim at exit rather
  // than taken apart piece by piece.
  std::exit(0);
}
