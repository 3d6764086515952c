// The .walk file: a recorded game written out and read back.
#include "kit/walk_file.hpp"

#include <optional>
#include <string>

#include "kit/tools.hpp"

namespace vesk::kit {

namespace {

constexpr std::string_view kMagic = "vesk walkthrough";

}  // namespace

const char* ending_name(Ending ending) {
  switch (ending) {
    case Ending::kQuit:
      return "quit";
    case Ending::kInputEnded:
      return "input-ended";
    case Ending::kGameOver:
      return "game-over";
    case Ending::kNoGame:
      break;
  }
  return "no-game";
}

std::string format_walkthrough(const Walkthrough& walk) {
  std::string text;
  text += kMagic;
  text += "\nseed " + std::to_string(walk.seed) + "\nclock " + std::to_string(walk.clock) + "\nending " + walk.ending +
          "\n";
  if (!walk.comforts.empty()) text += "comforts " + walk.comforts + "\n";
  for (const std::string& line : walk.typed) text += "typed " + line + "\n";
  text += "\n";
  text += walk.transcript;
  return text;
}

std::optional<Walkthrough> parse_walkthrough(std::string_view text, std::string& error) {
  Walkthrough walk;
  std::size_t pos = 0;
  std::size_t line_number = 0;
  std::string_view line;
  auto take_line = [&]() {
    ++line_number;
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    pos = std::min(end + 1, text.size());
    return true;
  };
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(line_number) + ": " + why;
    return std::nullopt;
  };
  if (!take_line() || line != kMagic) return fail("not a walkthrough: the first line must be \"vesk walkthrough\"");
  if (!take_line() || !line.starts_with("seed ") || !whole_number(line.substr(5), walk.seed)) {
    return fail("expected \"seed N\" with N from 0 to 4294967295");
  }
  if (!take_line() || !line.starts_with("clock ") || !whole_number(line.substr(6), walk.clock)) {
    return fail("expected \"clock T\" with T a whole number of seconds");
  }
  if (!take_line() || !line.starts_with("ending ")) return fail("expected \"ending quit|input-ended|game-over\"");
  walk.ending = line.substr(7);
  bool first = true;
  for (;; first = false) {
    if (!take_line()) return fail("expected a typed line or the empty line that ends the header");
    if (first && line.starts_with("comforts ")) {
      walk.comforts = line.substr(9);
      if (walk.comforts != "same-seed" && walk.comforts != "new-seed") {
        return fail(R"(expected "comforts same-seed" or "comforts new-seed")");
      }
      continue;
    }
    if (line.empty()) break;
    if (!line.starts_with("typed ") && line != "typed") return fail("expected a typed line: \"typed TEXT\"");
    walk.typed.emplace_back(line.substr(std::min<std::size_t>(6, line.size())));
  }
  walk.transcript = std::string(text.substr(pos));
  return walk;
}

}  // namespace vesk::kit
