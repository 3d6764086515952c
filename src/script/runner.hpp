// The script runner: runs script lines with their guards, labels and repeats.
#pragma once

#include "content/records.hpp"

namespace vesk {

class Game;

void run_script(Game& game, const Lines& script);

}  // namespace vesk
