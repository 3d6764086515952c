// vesk-kit replay: plays walkthroughs again and compares their transcripts,
// rewrites them with --update, or sweeps a range of seeds.
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "kit/coverage.hpp"
#include "kit/kit.hpp"
#include "kit/tools.hpp"
#include "kit/trace.hpp"
#include "kit/walk.hpp"

namespace vesk::kit {

namespace {

namespace fs = std::filesystem;

constexpr const char* kReplayUsage =
    "usage: vesk-kit replay [GAME_DIR] [--update] [--trace FILE] [--coverage] [--coverage-details]\n"
    "                       [--lcov FILE] FILE.walk...\n"
    "       vesk-kit replay [GAME_DIR] --seeds A..B FILE.walk...\n";

// Plays the typed lines with `seed` in a fresh copy of the game, so that saved
// games never land in the game directory.
// A walkthrough played with the comforts is played back with them, its
// meta words (undo, restart, bookmarks) typed lines like any other.
SessionResult play_copy(const fs::path& game, const Walkthrough& walk, std::uint32_t seed,
                        Observer* observer = nullptr) {
  const TemporaryDirectory work;
  copy_game(game, work.path());
  ListedLines lines(walk.typed);
  front::MemoryShelf shelf;
  front::Comforts comforts;
  const bool comfortable = walkthrough_comforts(walk, seed, shelf, comforts);
  return run_session(work.path(), seed, lines, nullptr, observer, comfortable ? &comforts : nullptr);
}

// How a typed line is named in messages: its line in the walkthrough and its text.
std::string typed_line_name(const Walkthrough& walk, std::size_t index) {
  return "line " + std::to_string(walk.typed_file_line(index)) + " of the walkthrough, " +
         quote_text(walk.typed[index]);
}

// Compares one walkthrough with a new run; true when they match.
bool replay_one(const fs::path& game, const fs::path& file, const Walkthrough& walk, const std::string& recorded,
                bool update, Observer* observer, std::ostream& out, std::ostream& err) {
  const SessionResult run = play_copy(game, walk, walk.seed, observer);
  const Walkthrough replayed{walk.seed, walk.clock, ending_name(run.ending), run.typed, run.transcript, walk.comforts};
  const std::string text = format_walkthrough(replayed);
  if (text == recorded) {
    out << file.string() << ": ok (" << walk.typed.size() << " typed lines, " << walk.ending << ")\n";
    return true;
  }
  if (update) {
    if (!write_file(file, text)) {
      err << "vesk-kit: cannot write " << file << "\n";
      return false;
    }
    out << file.string() << ": updated\n";
    return true;
  }
  if (run.transcript != walk.transcript) {
    std::size_t first = 0;
    while (first < run.transcript.size() && first < walk.transcript.size() &&
           run.transcript[first] == walk.transcript[first]) {
      ++first;
    }
    // The typed line read last before the first difference led to it.
    std::size_t read = 0;
    while (read < run.typed_offset.size() && run.typed_offset[read] < first) ++read;
    out << file.string() << ": the transcript differs ";
    if (read == 0) {
      out << "before the first typed line\n";
    } else {
      out << "after " << typed_line_name(walk, read - 1) << "\n";
    }
    const std::size_t transcript_line = walk.typed_file_line(walk.typed.size());
    out << transcript_diff(walk.transcript, run.transcript, transcript_line + 1, file.string() + " (recorded)",
                           file.string() + " (replayed)");
  } else if (replayed.ending != walk.ending) {
    out << file.string() << ": the game ended with " << replayed.ending << ", recorded " << walk.ending << "\n";
  } else {
    out << file.string() << ": the game read " << run.typed.size() << " of the " << walk.typed.size()
        << " typed lines\n";
  }
  out << "Run with --update to take the new transcript.\n";
  return false;
}

// Plays the typed lines with every seed of the range and reports how many
// runs end as recorded, and where the others left the recording.
void sweep_one(const fs::path& game, const fs::path& file, const Walkthrough& walk, SeedRange seeds,
               std::ostream& out) {
  // The recorded seed shows where the game stood at each typed line.
  const SessionResult reference = play_copy(game, walk, walk.seed);
  if (reference.transcript != walk.transcript) {
    out << file.string() << ": note: the walkthrough does not replay as recorded; replay it first\n";
  }
  std::uint64_t matching = 0;
  std::uint64_t total = 0;
  // Runs that ended otherwise, by the typed line after which they left the recording.
  std::map<std::size_t, std::vector<std::uint32_t>> left_after;
  std::map<std::size_t, std::map<std::string, std::uint64_t>> endings;
  for (std::uint64_t seed = seeds.first; seed <= seeds.last; ++seed) {
    const SessionResult run = play_copy(game, walk, static_cast<std::uint32_t>(seed));
    ++total;
    const std::string ending = ending_name(run.ending);
    if (ending == walk.ending) {
      ++matching;
      continue;
    }
    std::size_t same = 0;
    while (same < run.places.size() && same < reference.places.size() && run.places[same] == reference.places[same]) {
      ++same;
    }
    // Reads 0 to same-1 stood where the recording stood; the line typed
    // before the first read that did not (or before the run ended) is where
    // the run left: typed line `same`, counted from 1.
    left_after[same].push_back(static_cast<std::uint32_t>(seed));
    ++endings[same][ending];
  }
  out << file.string() << ": " << matching << " of " << total << " runs (seeds " << seeds.first << ".." << seeds.last
      << ") end as recorded (" << walk.ending << ")\n";
  for (const auto& [left, seed_list] : left_after) {
    out << "  " << seed_list.size() << (seed_list.size() == 1 ? " run" : " runs") << " left the recording ";
    if (left == 0) {
      out << "before the first typed line";
    } else {
      out << "after " << typed_line_name(walk, left - 1);
    }
    out << " (";
    bool first = true;
    for (const auto& [ending, count] : endings[left]) {
      out << (first ? "" : ", ") << count << " " << ending;
      first = false;
    }
    out << "); seeds";
    constexpr std::size_t kShown = 10;
    for (std::size_t k = 0; k < seed_list.size() && k < kShown; ++k) out << " " << seed_list[k];
    if (seed_list.size() > kShown) out << " ...";
    out << "\n";
  }
}

}  // namespace

int run_replay(const Arguments& args, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> directory;
  std::vector<fs::path> files;
  std::optional<SeedRange> seeds;
  bool update = false;
  std::optional<fs::path> trace_file;
  std::optional<fs::path> lcov_file;
  bool coverage_wanted = false;
  bool details = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--update") {
      update = true;
    } else if (arg == "--trace" && i + 1 < args.size()) {
      trace_file = args[++i];
    } else if (arg == "--coverage") {
      coverage_wanted = true;
    } else if (arg == "--coverage-details") {
      coverage_wanted = details = true;
    } else if (arg == "--lcov" && i + 1 < args.size()) {
      lcov_file = args[++i];
      coverage_wanted = true;
    } else if (arg == "--seeds" && i + 1 < args.size()) {
      seeds = parse_seed_range(args[++i]);
      if (!seeds) {
        err << "vesk-kit: --seeds takes a range A..B of seeds from 0 to 4294967295, A not above B\n";
        return kExitUsage;
      }
    } else if (!arg.empty() && arg[0] != '-' && fs::path(arg).extension() == ".walk") {
      files.emplace_back(arg);
    } else if (!arg.empty() && arg[0] != '-' && !directory) {
      directory = arg;
    } else {
      err << kReplayUsage;
      return kExitUsage;
    }
  }
  // Each refusal says why before it shows the usage.
  const char* refusal = nullptr;
  if (files.empty()) {
    refusal = "replay needs at least one walkthrough, FILE.walk";
  } else if (seeds && update) {
    refusal = "--seeds plays each walkthrough with other seeds and leaves it as it is, so it takes no --update";
  } else if (seeds && (trace_file || coverage_wanted)) {
    refusal =
        "--seeds plays each walkthrough once for every seed and reports how many runs match, without a trace or "
        "coverage; replay without --seeds for --trace, --coverage, --coverage-details or --lcov";
  }
  if (refusal) {
    err << "vesk-kit: " << refusal << "\n" << kReplayUsage;
    return kExitUsage;
  }
  const fs::path game = directory.value_or(".");
  if (!fs::is_regular_file(game / "area1.txt")) {
    err << "vesk-kit: no game in " << game << ": area1.txt is missing\n";
    return kExitUsage;
  }
  std::ofstream trace_out;
  std::optional<TraceWriter> trace;
  if (trace_file && !open_trace(*trace_file, game, trace_out, trace, err)) return kExitUsage;
  std::optional<Coverage> coverage;
  if (coverage_wanted) coverage.emplace(game);
  std::optional<ObserverPair> both;
  Observer* observer = nullptr;
  if (trace && coverage) {
    observer = &both.emplace(*trace, *coverage);
  } else if (trace) {
    observer = &*trace;
  } else if (coverage) {
    observer = &*coverage;
  }
  int status = kExitClean;
  for (const fs::path& file : files) {
    const std::optional<std::string> text = read_file(file);
    if (!text) {
      err << "vesk-kit: cannot read " << file << "\n";
      status = kExitUsage;
      continue;
    }
    std::string error;
    const std::optional<Walkthrough> walk = parse_walkthrough(*text, error);
    if (!walk) {
      err << file.string() << ": " << error << "\n";
      status = kExitUsage;
      continue;
    }
    if (trace) trace->begin_run(file.string() + ", seed " + std::to_string(walk->seed));
    if (coverage) coverage->begin_run();
    if (seeds) {
      sweep_one(game, file, *walk, *seeds, out);
    } else if (!replay_one(game, file, *walk, *text, update, observer, out, err) && status == kExitClean) {
      status = kExitFindings;
    }
  }
  if (trace_out.is_open() && !trace_out.flush()) {
    err << "vesk-kit: cannot write " << *trace_file << "\n";
    return kExitUsage;
  }
  if (coverage) {
    out << "\n";
    coverage->write_summary(out, details);
    if (lcov_file && !write_file(*lcov_file, coverage->lcov())) {
      err << "vesk-kit: cannot write " << *lcov_file << "\n";
      return kExitUsage;
    }
  }
  return status;
}

}  // namespace vesk::kit
