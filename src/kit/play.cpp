// vesk-kit play: the game as vesk plays it, with a fixed seed and clock when
// given, line editing on a terminal, and a recorded walkthrough.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include <unistd.h>

#ifdef VESK_KIT_LIBEDIT
#include <editline/readline.h>
#endif

#include "kit/kit.hpp"
#include "kit/tools.hpp"
#include "kit/trace.hpp"
#include "kit/walk.hpp"

namespace vesk::kit {

namespace {

namespace fs = std::filesystem;

#ifdef VESK_KIT_LIBEDIT
// Lines from the terminal through the line editor, with history.
class EditedLines : public LineSource {
 public:
  bool next_line(std::string& line, const std::string& prompt) override {
    char* read = ::readline(prompt.c_str());
    if (!read) return false;
    line = read;
    std::free(read);
    if (!line.empty()) ::add_history(line.c_str());
    line += '\n';
    return true;
  }
  bool shows_prompt() const override { return true; }
};
#endif

constexpr const char* kPlayUsage =
    "usage: vesk-kit play [GAME_DIR] [--seed N] [--clock T] [--record FILE.walk] [--trace FILE]\n";

}  // namespace

int run_play(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> directory;
  std::optional<std::uint32_t> seed;
  std::optional<std::int64_t> clock;
  std::optional<fs::path> record;
  std::optional<fs::path> trace_file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--seed" && has_value) {
      std::uint32_t value = 0;
      if (!whole_number(args[++i], value)) {
        err << "vesk-kit: --seed takes a number from 0 to 4294967295\n";
        return kExitUsage;
      }
      seed = value;
    } else if (arg == "--clock" && has_value) {
      std::int64_t value = 0;
      if (!whole_number(args[++i], value) || value < 0) {
        err << "vesk-kit: --clock takes the time in seconds since 1970\n";
        return kExitUsage;
      }
      clock = value;
    } else if (arg == "--record" && has_value) {
      record = args[++i];
    } else if (arg == "--trace" && has_value) {
      trace_file = args[++i];
    } else if (!arg.empty() && arg[0] != '-' && !directory) {
      directory = arg;
    } else {
      err << kPlayUsage;
      return kExitUsage;
    }
  }
  // vesk seeds its dice with the time; the clock stands for that time.
  const std::int64_t now = clock.value_or(static_cast<std::int64_t>(std::time(nullptr)));
  const std::uint32_t dice = seed.value_or(static_cast<std::uint32_t>(now));

  StreamLines piped(in);
  LineSource* source = &piped;
#ifdef VESK_KIT_LIBEDIT
  EditedLines edited;
  if (&in == &std::cin && ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO)) source = &edited;
#endif
  const fs::path game = directory.value_or(".");
  std::ofstream trace_out;
  std::optional<TraceWriter> trace;
  if (trace_file) {
    if (!open_trace(*trace_file, game, trace_out, trace, err)) return kExitUsage;
    trace->begin_run("vesk-kit play, seed " + std::to_string(dice));
  }
  const SessionResult result = run_session(game, dice, *source, &out, trace ? &*trace : nullptr);
  if (trace && result.ending != Ending::kNoGame) trace->end_run(result.ending);
  if (trace_out.is_open() && !trace_out.flush()) {
    err << "vesk-kit: cannot write " << *trace_file << "\n";
    return kExitUsage;
  }
  out.flush();
  if (result.ending == Ending::kNoGame) {
    err << "No game found: area1.txt is missing.\n";
    return 1;
  }
  if (record) {
    const Walkthrough walk{dice, now, ending_name(result.ending), result.typed, result.transcript};
    if (!write_file(*record, format_walkthrough(walk))) {
      err << "vesk-kit: cannot write " << *record << "\n";
      return kExitUsage;
    }
  }
  return kExitClean;
}

}  // namespace vesk::kit
