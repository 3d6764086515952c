// Text expansion: "+s" and "+v" references in texts shown to the player.
#include "script/expand.hpp"

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// A text that keeps leading to references of itself would never finish.
constexpr int kMaxPasses = 64;

std::string normalised(const Words& words) { return words_from(words, 0); }

}  // namespace

// Each pass walks the words once. A "+sN" word is replaced by the string
// variable's text and the walk goes on in the rebuilt list after the
// substituted first word; a "+vN" word is replaced in the text by the number's
// value and asks for one more pass, which also redoes a replacement that a later
// "+s" rebuild of the same pass lost.
std::string expand_text(GameState& game, std::string_view text_in) {
  std::string text(text_in);
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    if (text.empty()) return text;
    Words words = split_words(text);
    text = normalised(words);
    bool repeat = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const std::string& word = words[i];
      if (starts_with(word, "+s")) {
        std::string rebuilt;
        for (std::size_t j = 0; j < i; ++j) rebuilt += words[j] + " ";
        if (const std::string* value = game.vars.string_variable(to_int(std::string_view(word).substr(2)))) {
          rebuilt += *value;
        }
        for (std::size_t j = i + 1; j < words.size(); ++j) rebuilt += " " + words[j];
        words = split_words(cut(rebuilt, kTextCapacity));
        text = normalised(words);
      } else if (starts_with(word, "+v")) {
        repeat = true;
        const std::int32_t* value = game.vars.numbered_variable(to_int(std::string_view(word).substr(2)));
        text = replace_word(text, word, std::to_string(value ? *value : 0));
      }
    }
    if (!repeat) return text;
  }
  return normalised(split_words(text));
}

// A message that arrives while the list is full is dropped before it is made,
// so a runaway loop of messages costs no expansion either.
void add_pending_message(GameState& game, std::string_view text) {
  if (game.pending_messages.size() >= kMaxPendingMessages) return;
  game.queue_message(expand_text(game, text));
}

}  // namespace vesk
