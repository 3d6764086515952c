// Saved games: the "sv" and "ld" script commands and the saved-game file.
#pragma once

#include <string>

#include "content/records.hpp"

namespace vesk {

struct GameState;

// The saved-game file's text for the game as it stands.
std::string saved_game_text(GameState& game);

// Resets what a saved game holds and restores it from the file's lines.
void restore_game(GameState& game, LineSpan lines);

// Asks for a name and writes the game to NAME.txt beside the game, never over
// an existing file: the file appears complete or not at all.
void save_game(GameState& game);

// Asks for a name and reads NAME.txt back into the game.
void load_game(GameState& game);

}  // namespace vesk
