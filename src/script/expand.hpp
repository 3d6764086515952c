// Text expansion: "+s" and "+v" references in texts shown to the player.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

struct GameState;

// The text with its references replaced and its spacing normalised to single
// spaces, without a line end.
std::string expand_text(GameState& game, std::string_view text);

// Expands `text` and queues it for the next area view.
void add_pending_message(GameState& game, std::string_view text);

}  // namespace vesk
