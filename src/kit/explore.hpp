// vesk-kit explore: a breadth-first search over copies of a game, from its
// first prompt, trying every command that the view and the inventory offer,
// to find the endings, the places no play reaches and the states from which
// the game can no longer be won.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vesk::kit {

// How far a search goes.
struct ExploreLimits {
  std::uint32_t seed = 0;
  std::size_t depth = 1000;     // the most commands typed at prompts along one way
  std::size_t states = 200000;  // the most different states kept
};

// Where a search stands, for a progress line.
struct ExploreProgress {
  std::size_t states = 0;
  std::size_t depth = 0;
  double seconds = 0;
};

// An ending reached, with the shortest list of lines typed into it: the
// commands at the prompts and the answers to the number and file-name prompts.
struct FoundEnding {
  std::string kind;       // "terminate" (a script ended the game) or "death"
  std::int32_t area = 0;  // where the player was when the game ended
  std::string where;      // terminate: the script line, "area3.txt:22"
  std::vector<std::string> typed;
};

// One thing a search found. Dead ends and areas never entered are faults.
struct ExploreFinding {
  std::string kind;  // "dead-end", "never-entered", "spots", "never-chosen", "never-succeeded",
                     // "never-fought", "never-picked-up", "never-run", "jump-limit", "pending-bound"
  std::string text;  // the sentence for the report, the same for every seed that finds it
  bool fault = false;
  std::vector<std::string> way_in;  // dead ends: the shortest typed lines into one
};

struct ExploreResult {
  std::uint32_t seed = 0;
  std::size_t states = 0;  // the different states met
  std::size_t depth = 0;   // the deepest level of the search explored
  std::string stopped_by;  // "": everything reachable was explored; "depth" or "states": a limit cut it
  double seconds = 0;
  std::size_t bytes_per_state = 0;  // the search's own records and tables, per state met
  std::vector<FoundEnding> endings;
  std::vector<ExploreFinding> findings;
};

// Explores the game in `game` (saves go to a scratch copy of it). `progress`,
// when given, hears from the search now and then.
ExploreResult explore(const std::filesystem::path& game, const ExploreLimits& limits,
                      const std::function<void(const ExploreProgress&)>& progress = {});

}  // namespace vesk::kit
