// Lines and files: reading the console and the game's files a piece of a line
// at a time, as every content file, saved game and typed line is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A line read from a file or the console holds at most 254 characters.
inline constexpr std::size_t kLineCapacity = 254;

// The lines of a text, each with its line end where it has one.
using Lines = std::vector<std::string>;

// Reads one piece of a line as the console and the file reader do: at most 254
// characters, stopping after the first line feed. A CR LF pair reads as a single
// line feed, and the piece ends at a NUL byte. False when the stream is at its
// end before any character.
// A read that fails (standard input closed or unreadable) reads as the end of
// the input, and so does every read after it.
bool read_piece(std::istream& in, std::string& piece);

// One character of `in`, or EOF at the end of the input or when the read fails.
int read_char(std::istream& in);

// The largest file the game reads. A bigger one, which would take more memory
// than any game needs (a sparse file of terabytes takes no disk at all), counts
// as missing.
inline constexpr std::uint64_t kFileSizeLimit = std::uint64_t{256} << 20;

// The whole content of a regular file; nothing when it cannot be opened or
// read, is no regular file (a FIFO, a device, a directory), holds more than
// kFileSizeLimit bytes, or cannot be held for want of memory. Every file the
// game reads is read through here. When `too_large` is given, it is set to the
// size of a file refused for its size, and to 0 otherwise.
std::optional<std::string> read_file(const std::filesystem::path& file, std::uint64_t* too_large = nullptr);

// Whether `line` is a blank line: nothing but its line end. A lone CR before
// the line end (read as "\r\n", the CR LF pair after it being one line feed)
// leaves it blank too, as an editor shows it.
inline bool is_blank_line(std::string_view line) { return line == "\n" || line == "\r\n"; }

// The pieces of a file's content in order, line ends kept, split exactly as
// `read_piece` splits a stream (pieces of at most `capacity` characters).
Lines split_lines(std::string_view content, std::size_t capacity = kLineCapacity);

// Every piece of the file; nothing when `read_file` gives nothing.
std::optional<Lines> read_lines(const std::filesystem::path& file, std::size_t capacity = kLineCapacity);

}  // namespace vesk
