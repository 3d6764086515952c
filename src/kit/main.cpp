// The vesk-kit program: the authors' companion to vesk.
#include <iostream>

#include "kit/kit.hpp"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const vesk::kit::Arguments args(argv + 1, argv + argc);
  const int status = vesk::kit::run(args, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
