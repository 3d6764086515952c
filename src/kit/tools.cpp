// Helpers that the vesk-kit subcommands share.
#include "kit/tools.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/lines.hpp"
#include "base/words.hpp"

namespace vesk::kit {

namespace fs = std::filesystem;

std::string quote_text(std::string_view text) {
  std::string result = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      result += '\\';
      result += c;
    } else if (c == '\n') {
      result += "\\n";
    } else if (c == '\r') {
      result += "\\r";
    } else if (c == '\t') {
      result += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      result += format_text("\\x%02x", byte);
    } else {
      result += c;
    }
  }
  return result + "\"";
}

std::string quote_line(std::string_view line) {
  if (line.ends_with('\n')) line.remove_suffix(1);
  return quote_text(line);
}

std::string_view without_line_end(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::optional<SeedRange> parse_seed_range(std::string_view text) {
  const std::size_t dots = text.find("..");
  if (dots == std::string_view::npos) return {};
  SeedRange range;
  if (!whole_number(text.substr(0, dots), range.first) || !whole_number(text.substr(dots + 2), range.last) ||
      range.first > range.last) {
    return {};
  }
  return range;
}

bool write_file(const fs::path& file, std::string_view content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out.flush());
}

TemporaryDirectory::TemporaryDirectory() {
  std::string pattern = (fs::temp_directory_path() / "vesk-kit-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "cannot make a temporary directory");
  }
  path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

// Pieces are split as the game splits them, and a piece that ends a line moves
// the count on. NUL bytes, which end a piece's text early, are replaced first
// so that the line ends after them are still seen.
std::vector<std::int64_t> physical_lines(std::string bytes) {
  std::replace(bytes.begin(), bytes.end(), '\0', '\x01');
  std::vector<std::int64_t> lines;
  std::int64_t line = 1;
  for (const std::string& piece : split_lines(bytes)) {
    lines.push_back(line);
    if (!piece.empty() && piece.back() == '\n') ++line;
  }
  return lines;
}

bool is_content_file_name(std::string_view name) {
  for (std::string_view kind : {"msg", "item", "enemy", "area"}) {
    if (!name.starts_with(kind) || !name.ends_with(".txt")) continue;
    const std::string_view number = name.substr(kind.size(), name.size() - kind.size() - 4);
    if (!number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos) return true;
  }
  return false;
}

void copy_game(const fs::path& from, const fs::path& to) {
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    if (entry.is_regular_file() && is_content_file_name(entry.path().filename().string())) {
      fs::copy_file(entry.path(), to / entry.path().filename());
    }
  }
}

std::optional<std::string> render_svg(const std::string& dot, std::ostream& err) {
  const TemporaryDirectory work;
  const fs::path input = work.path() / "map.dot";
  const fs::path output = work.path() / "map.svg";
  if (!write_file(input, dot)) {
    err << "vesk-kit: cannot write " << input << "\n";
    return std::nullopt;
  }
  std::string program = "dot", format = "-Tsvg", flag = "-o", out_name = output.string(), in_name = input.string();
  std::vector<char*> argv{program.data(), format.data(), flag.data(), out_name.data(), in_name.data(), nullptr};
  pid_t child = 0;
  const int spawned = ::posix_spawnp(&child, "dot", nullptr, nullptr, argv.data(), environ);
  if (spawned == ENOENT) {
    err << "vesk-kit: --svg needs the dot program of Graphviz, which is not installed.\n"
           "Install Graphviz (on Debian or Ubuntu: apt-get install graphviz), or leave out\n"
           "--svg and render the DOT text elsewhere.\n";
    return std::nullopt;
  }
  if (spawned != 0) {
    err << "vesk-kit: cannot run dot: " << std::strerror(spawned) << "\n";
    return std::nullopt;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::optional<std::string> svg = read_file(output);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !svg) {
    err << "vesk-kit: dot could not draw the map\n";
    return std::nullopt;
  }
  return svg;
}

}  // namespace vesk::kit
