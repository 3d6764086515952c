// The .walk file: a recorded game written out and read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.hpp"

namespace vesk::kit {

// A .walk file:
//
//   vesk walkthrough
//   seed 111
//   clock 111
//   ending game-over
//   comforts new-seed            (only for a game played with the comforts)
//   typed action 1
//   typed path 1
//   ...
//   (an empty line)
//   the transcript: everything the game printed, each typed line written
//   after the prompt that read it and followed by a line end
//
// The header ends at its first empty line; each "typed" line holds one line
// the player typed, exactly (the text after "typed " up to the line end). The
// transcript runs to the end of the file and is compared byte for byte. A
// "comforts" line says that the game was played with the comforts around it
// (undo, restart, bookmarks), so that its typed lines play back the same:
// "same-seed" when a restart kept the seed, "new-seed" when it took the next.
struct Walkthrough {
  std::uint32_t seed = 0;
  std::int64_t clock = 0;
  std::string ending;  // "quit", "input-ended" or "game-over"
  std::vector<std::string> typed;
  std::string transcript;
  std::string comforts;  // "same-seed", "new-seed", or empty: the game alone

  // The line of the file that holds typed line `index` (0-based), from 1.
  std::size_t typed_file_line(std::size_t index) const { return (comforts.empty() ? 5 : 6) + index; }
};

std::string format_walkthrough(const Walkthrough& walk);
// The walkthrough in `text`; nothing, with the reason in `error`, when the text
// is not one.
std::optional<Walkthrough> parse_walkthrough(std::string_view text, std::string& error);

const char* ending_name(Ending ending);

}  // namespace vesk::kit
