// The script runner: guards, "repetition" labels and "repeat" jumps.
#include "script/runner.hpp"

#include "core/game.hpp"

namespace vesk {

void run_script(Game&, const Lines&) {}

}  // namespace vesk
