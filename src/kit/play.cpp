// vesk-kit play: the game with the comforts around it (undo, restart,
// bookmarks, transcripts, wrapping to the terminal), or with --plain exactly
// as vesk plays it; a fixed seed and clock when given, line editing on a
// terminal, and a recorded walkthrough.
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

#include "kit/comforts.hpp"
#include "kit/kit.hpp"
#include "kit/tools.hpp"
#include "kit/trace.hpp"
#include "kit/walk.hpp"
#include "kit/wrap.hpp"

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

// The lines typed, telling the wrapping that each ends the line on the screen,
// and noting when the input ends.
class TypedLines : public LineSource {
 public:
  TypedLines(LineSource& source, WrappingOutput* wrapping) : source_(source), wrapping_(wrapping) {}
  bool next_line(std::string& line, const std::string& prompt) override {
    const bool got = source_.next_line(line, prompt);
    if (wrapping_) wrapping_->typed();
    ended_ = ended_ || !got;
    return got;
  }
  bool shows_prompt() const override { return source_.shows_prompt(); }
  bool ended() const { return ended_; }

 private:
  LineSource& source_;
  WrappingOutput* wrapping_;
  bool ended_ = false;
};

constexpr const char* kPlayUsage =
    "usage: vesk-kit play [GAME_DIR] [--plain] [--seed N] [--clock T] [--record FILE.walk] [--trace FILE]\n";

}  // namespace

int run_play(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> directory;
  std::optional<std::uint32_t> seed;
  std::optional<std::int64_t> clock;
  std::optional<fs::path> record;
  std::optional<fs::path> trace_file;
  bool plain = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--plain") {
      plain = true;
    } else if (arg == "--seed" && has_value) {
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
  // Wrapping only on a terminal: a pipe, a recording and a replay get the
  // game's own lines.
  const bool terminal = &out == &std::cout && ::isatty(STDOUT_FILENO);
  std::optional<WrappingOutput> wrapping;
  if (!plain && terminal) wrapping.emplace(out, terminal_width());
  std::ostream wrapped(wrapping ? &*wrapping : out.rdbuf());
  TypedLines typed(*source, wrapping ? &*wrapping : nullptr);

  front::Comforts comforts;
  comforts.fixed_seed = seed;
  // A recording keeps its bookmarks to itself, so that it plays back alike
  // whatever bookmarks the player has.
  front::MemoryShelf recorded_shelf;
  std::optional<front::DirectoryShelf> shelf;
  if (record) {
    comforts.shelf = &recorded_shelf;
  } else if (const auto kept = bookmark_directory(game, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))) {
    shelf.emplace(*kept);
    comforts.shelf = &*shelf;
  }
  comforts.open_transcript = open_transcript_file;

  std::ofstream trace_out;
  std::optional<TraceWriter> trace;
  if (trace_file) {
    if (!open_trace(*trace_file, game, trace_out, trace, err)) return kExitUsage;
    trace->begin_run("vesk-kit play, seed " + std::to_string(dice));
  }
  const SessionResult result =
      run_session(game, dice, typed, &wrapped, trace ? &*trace : nullptr, plain ? nullptr : &comforts);
  wrapped.flush();
  // The cursor stands after the prompt that met the end of the input.
  if (!plain && typed.ended() && !result.transcript.empty() && result.transcript.back() != '\n') out << "\n";
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
    const std::string played_with = plain ? "" : seed ? "same-seed" : "new-seed";
    const Walkthrough walk{dice, now, ending_name(result.ending), result.typed, result.transcript, played_with};
    if (!write_file(*record, format_walkthrough(walk))) {
      err << "vesk-kit: cannot write " << *record << "\n";
      return kExitUsage;
    }
  }
  return kExitClean;
}

}  // namespace vesk::kit
