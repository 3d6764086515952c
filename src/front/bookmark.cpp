// Bookmarks: their file format, the digests that tie them to a game, and names.
#include "front/bookmark.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "base/lines.hpp"

namespace vesk::front {

namespace fs = std::filesystem;

void Digest::add(std::string_view bytes) {
  for (const char c : bytes) {
    value_ ^= static_cast<unsigned char>(c);
    value_ *= 1099511628211ULL;
  }
}

std::string Digest::text() const {
  std::array<char, 17> digits{};
  std::snprintf(digits.data(), digits.size(), "%016llx", static_cast<unsigned long long>(value_));
  return digits.data();
}

std::string content_digest(const fs::path& directory) {
  Digest digest;
  // The kinds in the order the game loads them, each up to its first gap.
  for (const char* kind : {"msg", "item", "enemy", "area"}) {
    for (int number = 1;; ++number) {
      const std::string name = kind + std::to_string(number) + ".txt";
      const std::optional<std::string> bytes = read_file(directory / name);
      if (!bytes) break;
      digest.add(name);
      digest.add(std::to_string(bytes->size()));
      digest.add(*bytes);
    }
  }
  return digest.text();
}

namespace {

constexpr std::string_view kMagic = "vesk bookmark 1";

// Every byte that would break a line or a field apart as %XX.
std::string escaped(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == '%' || byte == 0x7f) {
      std::array<char, 4> code{};
      std::snprintf(code.data(), code.size(), "%%%02X", byte);
      text += code.data();
    } else {
      text += c;
    }
  }
  return text;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> unescaped(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      bytes += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hex_value(text[i + 1]);
    const int low = hex_value(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return bytes;
}

// The first field of `line` and the rest after one space.
std::pair<std::string_view, std::string_view> split_field(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return {line, {}};
  return {line.substr(0, space), line.substr(space + 1)};
}

bool is_hex_digest(std::string_view text) {
  return text.size() == 16 &&
         std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace

std::string format_bookmark(const Bookmark& bookmark) {
  std::string text(kMagic);
  text += "\ncontent " + bookmark.content + "\noutput " + bookmark.output + "\nseed " +
          std::to_string(bookmark.timeline.seed) + "\n";
  for (const Event& event : bookmark.timeline.events) {
    switch (event.kind) {
      case Event::Kind::kEnter:
        text += "enter " + escaped(event.text);
        break;
      case Event::Kind::kRead:
        text += "read " + escaped(event.text);
        break;
      case Event::Kind::kFile:
        text += "file " + escaped(event.text) + (event.contents ? " + " + escaped(*event.contents) : " -");
        break;
    }
    text += '\n';
  }
  return text;
}

std::optional<Bookmark> parse_bookmark(std::string_view text) {
  Bookmark bookmark;
  std::size_t line_number = 0;
  bool seen_seed = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // every line is ended
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    ++line_number;
    if (line_number == 1) {
      if (line != kMagic) return std::nullopt;
      continue;
    }
    const auto [key, rest] = split_field(line);
    if (key == "content" && is_hex_digest(rest)) {
      bookmark.content = rest;
    } else if (key == "output" && is_hex_digest(rest)) {
      bookmark.output = rest;
    } else if (key == "seed" && !seen_seed && !rest.empty() && rest.size() <= 10 &&
               rest.find_first_not_of("0123456789") == std::string_view::npos) {
      const unsigned long long seed = std::stoull(std::string(rest));
      if (seed > 0xffffffffULL) return std::nullopt;
      bookmark.timeline.seed = static_cast<std::uint32_t>(seed);
      seen_seed = true;
    } else if (key == "enter" || key == "read") {
      std::optional<std::string> bytes = unescaped(rest);
      if (!bytes) return std::nullopt;
      bookmark.timeline.events.push_back(
          {key == "enter" ? Event::Kind::kEnter : Event::Kind::kRead, std::move(*bytes), std::nullopt});
    } else if (key == "file") {
      const auto [name, state] = split_field(rest);
      std::optional<std::string> file = unescaped(name);
      // A saved game lies in the game's directory: a name that would leave it is no bookmark's.
      if (!file || file->empty() || file->find('/') != std::string::npos || *file == "." || *file == "..") {
        return std::nullopt;
      }
      Event event{Event::Kind::kFile, std::move(*file), std::nullopt};
      if (state.starts_with("+ ")) {
        event.contents = unescaped(state.substr(2));
        if (!event.contents) return std::nullopt;
      } else if (state != "-") {
        return std::nullopt;
      }
      bookmark.timeline.events.push_back(std::move(event));
    } else {
      return std::nullopt;
    }
  }
  if (line_number == 0 || bookmark.content.empty() || bookmark.output.empty() || !seen_seed) return std::nullopt;
  return bookmark;
}

bool is_bookmark_name(std::string_view name) {
  if (name.empty() || name.size() > 64 || name[0] == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
  });
}

}  // namespace vesk::front
