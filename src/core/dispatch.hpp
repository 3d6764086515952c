// Command dispatch: from the line the player typed to the command it names.
#pragma once

#include <string_view>

#include "state/outcome.hpp"

namespace vesk {

struct GameState;

// Runs the command that `line` begins with ("looking" is look, "inventory" is
// inv), giving it the line's words; a line that begins with no command word
// is an invalid entry.
Outcome dispatch(GameState& game, std::string_view line);

}  // namespace vesk
