// Saved games: the "sv" and "ld" script commands and the saved-game file.
#pragma once

namespace vesk {

class Game;

// Asks for a name and writes the game to NAME.txt beside the game, never over
// an existing file: the file appears complete or not at all.
void save_game(Game& game);

// Asks for a name and reads NAME.txt back into the game.
void load_game(Game& game);

}  // namespace vesk
