// Saved games: the "sv" and "ld" script commands and the saved-game file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "content/records.hpp"

namespace vesk {

struct GameState;

// The saved-game file's text for the game as it stands.
std::string saved_game_text(GameState& game);

// Resets what a saved game holds and restores it from the file's lines.
void restore_game(GameState& game, const Lines& lines);

// Asks for a name and writes the game to NAME.txt beside the game, never over
// an existing file and never leaving part of one (see write_new_file).
void save_game(GameState& game);

// Asks for a name and reads NAME.txt back into the game. A file that does not
// begin as "sv" writes a saved game ("game" and a number) is refused, and so
// is an empty one, so that loading an area file by mistake changes nothing.
void load_game(GameState& game);

// Whether `lines` begin with a saved game's first line: exactly the two words
// "game" and an integer.
bool is_saved_game(const Lines& lines);

// Gives a second name to a file as link(2) does: 0, or -1 with errno set.
using LinkFile = int (*)(const char* existing, const char* name);

enum class NewFile { kWritten, kExists, kFailed };

// Writes `text` to the new file `file`, never over an existing file and never
// leaving part of the text under that name. The text goes to a temporary file
// created beside it, which `link` then gives the name, so that the file
// appears complete or not at all. Where the file system has no hard links,
// `file` is created exclusively and the text written into it, and removed
// again if that fails. The temporary never stays. Temporaries that an earlier
// save left behind when it crashed, more than an hour ago, are removed first.
NewFile write_new_file(const std::filesystem::path& file, std::string_view text, LinkFile link);

}  // namespace vesk
