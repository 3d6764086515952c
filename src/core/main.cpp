// The vesk program: plays the game in the current directory on the console.
#include <ctime>
#include <iostream>

#include "core/game.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
  const vesk::Ending ending = vesk::play(".", std::cin, std::cout, seed);
  std::cout.flush();
  if (ending == vesk::Ending::kNoGame) {
    std::cerr << "No game found: area1.txt is missing.\n";
    return 1;
  }
  return 0;
}
