// Words and texts: splitting, joining, replacing, cutting and formatting.
#include "base/words.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "base/numbers.hpp"

namespace vesk {

WordViews word_views(std::string_view text, std::string_view delimiters) {
  WordViews words;
  for (std::size_t at = text.find_first_not_of(delimiters); at != std::string_view::npos;) {
    const std::size_t end = std::min(text.find_first_of(delimiters, at), text.size());
    words.push_back(text.substr(at, std::min(end - at, kWordCapacity)));
    at = text.find_first_not_of(delimiters, end);
  }
  if (!words.empty() && words.back().ends_with('\n')) words.back().remove_suffix(1);
  return words;
}

Words split_words(std::string_view text, std::string_view delimiters) {
  const WordViews views = word_views(text, delimiters);
  return {views.begin(), views.end()};
}

namespace {

template <typename List>
std::string join_list(const List& words, long first, long last) {
  first = std::max(first, 0L);
  last = std::min(last, static_cast<long>(words.size()) - 1);
  std::string joined;
  for (long k = first; k <= last && joined.size() < kTextCapacity; ++k) {
    if (k > first) joined += ' ';
    joined += words[static_cast<std::size_t>(k)];
  }
  return cut(joined, kTextCapacity);
}

}  // namespace

std::string join_words(const Words& words, long first, long last) { return join_list(words, first, last); }

std::string join_words(const WordViews& words, long first, long last) { return join_list(words, first, last); }

NameAndNumber name_and_number(const Words& words) {
  const bool numbered = !words.empty() && is_integer_text(words.back());
  return {join_words(words, 1, word_count(words) - (numbered ? 2 : 1)), numbered ? to_int(words.back()) : 1};
}

std::string replace_char(std::string_view text, char find, char put) {
  std::string result = cut(text, kTextCapacity);
  std::replace(result.begin(), result.end(), find, put);
  return result;
}

std::string replace_word(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string result;
  for (const std::string_view word : word_views(text)) {
    result += ' ';
    result += word == find ? replacement : word;
    if (result.size() >= kTextCapacity) break;
  }
  return cut(result, kTextCapacity);
}

std::string cut(std::string_view text, std::size_t capacity) { return std::string(text.substr(0, capacity)); }

std::string format_text(const char* format, ...) {
  // Most texts fit the buffer; a longer one is formatted again at its size.
  char buffer[512];
  va_list args;
  va_start(args, format);
  // The analyzer does not see va_start through the standard header's macro.
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
  const int size = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (size < 0) return {};
  if (static_cast<std::size_t>(size) < sizeof buffer) return {buffer, static_cast<std::size_t>(size)};
  std::string text(static_cast<std::size_t>(size), '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

}  // namespace vesk
