// Text expansion: "+s" and "+v" references in texts shown to the player.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

class Game;

// The text with its references replaced and its spacing normalised to single
// spaces, without a line end.
std::string expand_text(Game& game, std::string_view text);

}  // namespace vesk
