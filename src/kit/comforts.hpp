// The console's side of the comforts: where bookmarks are kept in the user's
// data directory, one directory for each game, and transcripts as files.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "front/shelf.hpp"

namespace vesk::kit {

// Where the bookmarks of the game in `game` are kept: under
// `$XDG_DATA_HOME/vesk` (when it is an absolute path), else under
// `~/.local/share/vesk`, in a directory named for the game's directory and
// told apart from others of the same name by its full path. Nothing when
// neither variable is set; `xdg_data_home` and `home` are their values.
std::optional<std::filesystem::path> bookmark_directory(const std::filesystem::path& game, const char* xdg_data_home,
                                                        const char* home);

// Opens the transcript file `name` for "transcript FILE".
std::unique_ptr<std::ostream> open_transcript_file(const std::string& name, std::string& error);

}  // namespace vesk::kit
