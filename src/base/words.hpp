// Words and texts: splitting a line into words, joining them back, replacing
// and cutting, with the capacities that the file formats fix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A word holds at most 127 characters; a built text (a join, a replacement, an
// expanded text) at most 254.
inline constexpr std::size_t kWordCapacity = 127;
inline constexpr std::size_t kTextCapacity = 254;

// The words of a text, each a text of its own.
using Words = std::vector<std::string>;
// The words of a text as views into it, which must outlive them.
using WordViews = std::vector<std::string_view>;

// Cuts `text` into words at every character of `delimiters`; runs of delimiters
// make no empty words. Each word is cut to its capacity, and one line feed is
// removed from the end of the last word, so "\n" alone gives one empty word.
Words split_words(std::string_view text, std::string_view delimiters = " ");
// The same words, as views into `text`.
WordViews word_views(std::string_view text, std::string_view delimiters = " ");

// Words `first` to `last` (both included, 0-based) joined by single spaces and
// cut to a built text; the empty text when first > last. Indices outside the
// list are skipped.
std::string join_words(const Words& words, long first, long last);
std::string join_words(const WordViews& words, long first, long last);

inline long word_count(const Words& words) { return static_cast<long>(words.size()); }
inline long word_count(const WordViews& words) { return static_cast<long>(words.size()); }

// Words `first` to the last, joined: "the rest" of a command or keyword line.
inline std::string words_from(const Words& words, long first) {
  return join_words(words, first, word_count(words) - 1);
}
inline std::string words_from(const WordViews& words, long first) {
  return join_words(words, first, word_count(words) - 1);
}

// The words after a command word read as "NAME [N]": the name joined with single
// spaces, and the number, 1 when the last word is not an integer ("pickup coin 2",
// "fight big rat").
struct NameAndNumber {
  std::string name;
  std::int32_t number = 1;
};
NameAndNumber name_and_number(const Words& words);

std::string replace_char(std::string_view text, char find, char put);

// Each word of `text` preceded by one space, with whole-word matches of `find`
// replaced: "a b c" with b -> X gives " a X c".
std::string replace_word(std::string_view text, std::string_view find, std::string_view replacement);

// The text cut to at most `capacity` characters.
std::string cut(std::string_view text, std::size_t capacity);

// printf-style formatting into a new text.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether `text` begins with `prefix` (the content files' keyword test).
inline bool starts_with(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }

}  // namespace vesk
