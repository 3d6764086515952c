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

// The command word that `line` begins with, as dispatch matches it ("inv" for
// "inventory"); empty when the line names no command, so that the game would
// answer it "Entry invalid.". "quit", which must be the whole line, is the
// turn loop's and not among them.
std::string_view command_word(std::string_view line);

}  // namespace vesk
