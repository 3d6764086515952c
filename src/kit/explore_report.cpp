// vesk-kit explore: the command line, the walkthroughs of the endings found,
// and the report over one seed or many, as text or JSON.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "kit/explore.hpp"
#include "kit/kit.hpp"
#include "kit/tools.hpp"
#include "kit/walk.hpp"

namespace vesk::kit {

namespace {

namespace fs = std::filesystem;

constexpr const char* kExploreUsage =
    "usage: vesk-kit explore [GAME_DIR] [--seed N | --seeds A..B] [--depth D] [--states N] [--json]\n"
    "                        [--walks DIR]\n";

// The kinds of findings in the order the report gives them, with their headings.
struct FindingKind {
  std::string_view kind;
  std::string_view heading;
};
constexpr FindingKind kFindingKinds[] = {
    {"dead-end", "Dead ends"},
    {"never-entered", "Areas never entered"},
    {"spots", "Spots never stood on"},
    {"never-chosen", "Paths and actions never chosen"},
    {"never-succeeded", "Paths and actions that never succeed"},
    {"never-fought", "Enemies never fought"},
    {"never-picked-up", "Items never picked up"},
    {"never-run", "Script lines that no explored state runs"},
    {"jump-limit", "Runs that hit the jump limit"},
    {"pending-bound", "Pending messages beyond their bound"},
};

// A finding over all the seeds explored: the seeds it holds for.
struct SeedFinding {
  ExploreFinding finding;
  std::vector<std::uint32_t> seeds;
};

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : ", ") + line;
  return text.empty() ? "nothing typed" : text;
}

// Plays the typed lines in a fresh copy of the game and writes them with the
// transcript as a walkthrough that `vesk-kit replay` plays back; the path of
// the file, or nothing when it cannot be written.
std::optional<fs::path> write_walk(const fs::path& game, const fs::path& directory, std::uint32_t seed,
                                   const FoundEnding& ending, std::size_t number, std::ostream& err) {
  const TemporaryDirectory work;
  copy_game(game, work.path());
  ListedLines lines(ending.typed);
  const SessionResult run = run_session(work.path(), seed, lines, nullptr);
  const Walkthrough walk{seed, seed, ending_name(run.ending), run.typed, run.transcript, ""};
  const fs::path file =
      directory / ("seed" + std::to_string(seed) + "-" + ending.kind + "-" + std::to_string(number) + ".walk");
  if (!write_file(file, format_walkthrough(walk))) {
    err << "vesk-kit: cannot write " << file << "\n";
    return std::nullopt;
  }
  return file;
}

std::string seeds_text(const std::vector<std::uint32_t>& seeds, std::size_t runs) {
  if (runs == 1) return "";
  if (seeds.size() == runs) return " (all seeds)";
  std::string text = seeds.size() == 1 ? " (seed" : " (seeds";
  constexpr std::size_t kShown = 10;
  for (std::size_t k = 0; k < seeds.size() && k < kShown; ++k) text += " " + std::to_string(seeds[k]);
  return text + (seeds.size() > kShown ? " ...)" : ")");
}

std::string run_text(const ExploreResult& run) {
  std::string text = "seed " + std::to_string(run.seed) + ": " + std::to_string(run.states) + " states to depth " +
                     std::to_string(run.depth) + ", ";
  if (run.stopped_by == "states") {
    text += "stopped at the budget of states";
  } else if (run.stopped_by == "depth") {
    text += "cut at the depth limit";
  } else {
    text += "everything reachable explored";
  }
  return text;
}

void write_text(const std::vector<ExploreResult>& runs, const std::vector<std::vector<std::string>>& walks,
                const std::vector<SeedFinding>& findings, std::ostream& out) {
  for (const ExploreResult& run : runs) out << "Explored " << run_text(run) << "\n";
  out << "\nEndings:\n";
  std::size_t endings = 0, winning = 0;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (std::size_t e = 0; e < runs[r].endings.size(); ++e) {
      const FoundEnding& ending = runs[r].endings[e];
      ++endings;
      winning += ending.kind == "terminate";
      out << "  " << (runs.size() > 1 ? "seed " + std::to_string(runs[r].seed) + ": " : "") << ending.kind;
      if (!ending.where.empty()) out << " at " << ending.where;
      out << " in area " << ending.area << " after " << ending.typed.size()
          << (ending.typed.size() == 1 ? " typed line" : " typed lines");
      if (!walks[r][e].empty()) out << ": " << walks[r][e];
      out << "\n";
    }
  }
  if (endings == 0) out << "  none reached\n";
  std::size_t faults = 0;
  for (const FindingKind& kind : kFindingKinds) {
    bool headed = false;
    for (const SeedFinding& seen : findings) {
      if (seen.finding.kind != kind.kind) continue;
      if (!headed) out << "\n" << kind.heading << ":\n";
      headed = true;
      faults += seen.finding.fault;
      out << "  " << seen.finding.text << seeds_text(seen.seeds, runs.size()) << "\n";
      if (seen.finding.kind == "dead-end") {
        out << "    the shortest way in: " << joined(seen.finding.way_in) << "\n";
      }
    }
  }
  out << "\n"
      << endings << (endings == 1 ? " ending" : " endings") << " (" << winning << " by terminate), " << faults
      << (faults == 1 ? " fault" : " faults") << " (dead ends and areas never entered)\n";
}

void write_json(const std::vector<ExploreResult>& runs, const std::vector<std::vector<std::string>>& walks,
                const std::vector<SeedFinding>& findings, std::ostream& out) {
  nlohmann::json json;
  json["runs"] = nlohmann::json::array();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const ExploreResult& run = runs[r];
    nlohmann::json entry = {{"seed", run.seed},
                            {"states", run.states},
                            {"depth", run.depth},
                            {"stopped_by", run.stopped_by.empty() ? nlohmann::json() : nlohmann::json(run.stopped_by)},
                            {"seconds", run.seconds},
                            {"endings", nlohmann::json::array()}};
    for (std::size_t e = 0; e < run.endings.size(); ++e) {
      const FoundEnding& ending = run.endings[e];
      entry["endings"].push_back({{"kind", ending.kind},
                                  {"area", ending.area},
                                  {"where", ending.where},
                                  {"typed", ending.typed},
                                  {"walk", walks[r][e].empty() ? nlohmann::json() : nlohmann::json(walks[r][e])}});
    }
    json["runs"].push_back(std::move(entry));
  }
  json["findings"] = nlohmann::json::array();
  for (const SeedFinding& seen : findings) {
    json["findings"].push_back({{"kind", seen.finding.kind},
                                {"text", seen.finding.text},
                                {"fault", seen.finding.fault},
                                {"seeds", seen.seeds},
                                {"way_in", seen.finding.way_in}});
  }
  out << json.dump(2) << "\n";
}

}  // namespace

int run_explore(const Arguments& args, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> directory;
  std::optional<fs::path> walks_dir;
  SeedRange seeds;
  ExploreLimits limits;
  bool json = false;
  bool seeded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    const char* refusal = nullptr;
    if (arg == "--json") {
      json = true;
    } else if ((arg == "--seed" || arg == "--seeds") && has_value && seeded) {
      refusal = "give one --seed N or --seeds A..B";
    } else if (arg == "--seed" && has_value) {
      seeded = true;
      if (!whole_number(args[++i], seeds.first)) refusal = "--seed takes a number from 0 to 4294967295";
      seeds.last = seeds.first;
    } else if (arg == "--seeds" && has_value) {
      seeded = true;
      const std::optional<SeedRange> range = parse_seed_range(args[++i]);
      if (range) seeds = *range;
      if (!range) refusal = "--seeds takes a range A..B of seeds from 0 to 4294967295, A not above B";
    } else if (arg == "--depth" && has_value) {
      if (!whole_number(args[++i], limits.depth) || limits.depth == 0) refusal = "--depth takes a number above 0";
    } else if (arg == "--states" && has_value) {
      if (!whole_number(args[++i], limits.states) || limits.states == 0) refusal = "--states takes a number above 0";
    } else if (arg == "--walks" && has_value) {
      walks_dir = args[++i];
    } else if (!arg.empty() && arg[0] != '-' && !directory) {
      directory = arg;
    } else {
      err << kExploreUsage;
      return kExitUsage;
    }
    if (refusal) {
      err << "vesk-kit: " << refusal << "\n" << kExploreUsage;
      return kExitUsage;
    }
  }
  const fs::path game = directory.value_or(".");
  if (!fs::is_regular_file(game / "area1.txt")) {
    err << "vesk-kit: no game in " << game << ": area1.txt is missing\n";
    return kExitUsage;
  }
  std::error_code failed;
  if (walks_dir && (fs::create_directories(*walks_dir, failed), !fs::is_directory(*walks_dir))) {
    err << "vesk-kit: cannot make the directory " << *walks_dir << "\n";
    return kExitUsage;
  }
  // A progress line only where someone watches it.
  const bool watched = &err == &std::cerr && ::isatty(STDERR_FILENO);
  std::vector<ExploreResult> runs;
  std::vector<std::vector<std::string>> walks;
  std::vector<SeedFinding> findings;
  std::map<std::string, std::size_t> finding_index;  // by kind and text
  for (std::uint64_t seed = seeds.first; seed <= seeds.last; ++seed) {
    limits.seed = static_cast<std::uint32_t>(seed);
    std::function<void(const ExploreProgress&)> progress;
    if (watched) {
      progress = [&](const ExploreProgress& now) {
        err << "\rexplore: seed " << seed << ": " << now.states << " states, depth " << now.depth << ", "
            << static_cast<std::uint64_t>(static_cast<double>(now.states) / std::max(now.seconds, 1e-3))
            << " states/s   " << std::flush;
      };
    }
    ExploreResult run = explore(game, limits, progress);
    if (watched) err << "\r\033[K" << std::flush;
    std::vector<std::string>& files = walks.emplace_back();
    std::map<std::string, std::size_t> per_kind;
    for (const FoundEnding& ending : run.endings) {
      std::optional<fs::path> file;
      if (walks_dir) file = write_walk(game, *walks_dir, limits.seed, ending, ++per_kind[ending.kind], err);
      files.push_back(file ? file->string() : "");
    }
    for (ExploreFinding& finding : run.findings) {
      const auto [at, fresh] = finding_index.try_emplace(finding.kind + "\n" + finding.text, findings.size());
      if (fresh) findings.push_back({std::move(finding), {}});
      findings[at->second].seeds.push_back(limits.seed);
    }
    run.findings.clear();
    runs.push_back(std::move(run));
  }
  if (json) {
    write_json(runs, walks, findings, out);
  } else {
    write_text(runs, walks, findings, out);
  }
  const bool faults =
      std::any_of(findings.begin(), findings.end(), [](const SeedFinding& f) { return f.finding.fault; });
  return faults ? kExitFindings : kExitClean;
}

}  // namespace vesk::kit
