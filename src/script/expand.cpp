// Text expansion: "+s" and "+v" references in texts shown to the player.
#include "script/expand.hpp"

#include "content/text.hpp"
#include "core/game.hpp"

namespace vesk {

std::string expand_text(Game&, std::string_view text) {
  const Words words = split_words(text);
  return join_words(words, 0, static_cast<long>(words.size()) - 1);
}

}  // namespace vesk
