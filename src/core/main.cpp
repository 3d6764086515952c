// The vesk program: plays the game in the current directory on the console.
#include <csignal>
#include <ctime>
#include <iostream>

#include "core/game.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  // A save beyond the file-size limit fails like any other failed write,
  // instead of ending the game.
  std::signal(SIGXFSZ, SIG_IGN);
  const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
  const vesk::Ending ending = vesk::play(".", std::cin, std::cout, seed);
  std::cout.flush();
  if (ending == vesk::Ending::kNoGame) {
    std::cerr << "No game found: area1.txt is missing.\n";
    return 1;
  }
  return 0;
}
