// Coverage: what runs of a game reached of its content (vesk-kit replay
// --coverage). The lines that can run are the script lines with a command
// or a repeat, the lines that name a path or an action, and the condition
// lines ("cv", "cd", "pcd"). A script line runs when its conditions hold; a
// path or action line when the player chooses it, whatever its conditions
// say; a condition line when it is tested. Areas entered, spots stood on,
// enemies fought and items picked up are counted besides.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "content/world.hpp"
#include "kit/trace.hpp"
#include "state/observer.hpp"

namespace vesk::kit {

class Coverage : public Observer {
 public:
  // Loads the game in `game` to learn every line that can run.
  explicit Coverage(std::filesystem::path game);
  // The source map refers to the files that the coverage holds.
  Coverage(const Coverage&) = delete;
  Coverage& operator=(const Coverage&) = delete;

  // A new run of the game starts.
  void begin_run() { first_pass_ = true; }

  // How often the line can run and ran, by file name and physical line.
  struct Line {
    std::string what;                                 // "script line \"ca 4\"", "path \"door\"", ...
    std::uint64_t reached = 0;                        // script lines: how often the runner came to it
    std::uint64_t runs = 0;                           // see the top of this file
    std::map<std::size_t, std::uint64_t> stopped_by;  // script lines: failing condition number, count
  };
  const std::map<std::int64_t, Line>& lines_of(const std::string& file) const;

  // The figures by file and for the game, like gcov's; with `details`, also
  // every line that never ran and every area, spot, enemy and item never reached.
  void write_summary(std::ostream& out, bool details) const;
  // An LCOV tracefile over the content files, named by their absolute paths.
  std::string lcov() const;

  // The tallies, for tools that report what the runs never reached. Areas,
  // enemies and items by their index (from 0) in the world.
  const World& world() const { return world_; }
  const std::vector<std::map<std::int64_t, Line>>& files() const { return files_; }
  std::uint64_t area_entries(std::size_t area) const { return area_entries_.at(area); }
  const std::set<std::pair<std::int32_t, std::int32_t>>& spots() const { return spots_; }
  std::uint64_t fights(std::size_t enemy) const { return fights_.at(enemy); }
  std::uint64_t pickups(std::size_t item) const { return pickups_.at(item); }
  // The items that lie in some area when the game starts.
  std::set<std::size_t> lying_items() const;

  void on_pass_start(const GameState& game) override;
  void on_step(const GameState& game, TurnStep step) override;
  void on_condition(const SourcePos& where, std::size_t index, const Words& words, const ConditionValues& values,
                    bool holds) override;
  void on_script_line(const ScriptLine& line, LineRun run) override;
  void on_choice(const Choice& choice, ChoiceKind kind, bool allowed) override;
  void on_area_change(std::int32_t from, std::int32_t to, AreaChange how) override;
  void on_pickup(const ItemInstance& item) override;
  void on_fight(const LiveEnemy& target) override;
  void on_defeat(const LiveEnemy& enemy) override;

 private:
  void add(const SourcePos& where, std::string what);
  Line* find(const SourcePos& where);

  std::filesystem::path game_;
  DirectoryFiles game_files_;  // read once, for the world and its line numbers
  World world_;
  SourceMap sources_;
  // By file, in the order loaded.
  std::vector<std::map<std::int64_t, Line>> files_;
  std::vector<std::uint64_t> area_entries_;  // by area number - 1
  std::set<std::pair<std::int32_t, std::int32_t>> spots_;
  std::vector<std::uint64_t> fights_, defeats_;  // by enemy catalogue index
  std::vector<std::uint64_t> pickups_;           // by item catalogue index
  bool first_pass_ = true;
  std::size_t failed_condition_ = 0;
};

}  // namespace vesk::kit
