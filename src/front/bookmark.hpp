// Bookmarks: the whole game at a prompt, kept as the seed of its dice and
// everything that reached it since its start, with the content it was made
// with, so that playing that again gives back the very same game.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::front {

// A running digest of bytes (64-bit FNV-1a): of a game's content files, and of
// everything a game printed, which a replayed game must print again.
class Digest {
 public:
  void add(std::string_view bytes);
  std::uint64_t value() const { return value_; }
  // As 16 hexadecimal digits.
  std::string text() const;

 private:
  std::uint64_t value_ = 14695981039346656037ULL;
};

// The digest of the content files that the game in `directory` loads, in the
// order it loads them and with their names, so that an edited, added or
// removed file changes it.
std::string content_digest(const std::filesystem::path& directory);

// One thing that reached a game: a line typed at its "> " prompt; the bytes it
// read in the middle of a step (at a number or file-name prompt); or, before
// such a read, what a saved game file held then (none when there was none),
// since "sv" and "ld" answer by what is on the disk.
struct Event {
  enum class Kind { kEnter, kRead, kFile };
  Kind kind = Kind::kEnter;
  std::string text;                     // the line, the bytes, or the file's name
  std::optional<std::string> contents;  // kFile: the file's bytes
};

// A game from its start: its seed and what reached it, in order.
struct Timeline {
  std::uint32_t seed = 0;
  std::vector<Event> events;
};

struct Bookmark {
  std::string content;  // content_digest of the game's files
  std::string output;   // Digest::text of everything the game printed
  Timeline timeline;
};

// A bookmark as a text file, and back; nothing when the text is no bookmark.
std::string format_bookmark(const Bookmark& bookmark);
std::optional<Bookmark> parse_bookmark(std::string_view text);

// Whether `name` can name a bookmark: 1 to 64 letters, digits, '-', '_' and
// '.', not starting with '.', so that it is a safe file name anywhere.
bool is_bookmark_name(std::string_view name);

}  // namespace vesk::front
