// Watching a game play: the places of content lines as an author reads them,
// the trace of a run (vesk-kit play and replay --trace), and an observer that
// passes every event on to two others.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/game.hpp"
#include "kit/game_files.hpp"
#include "kit/source_map.hpp"
#include "state/observer.hpp"

namespace vesk::kit {

// The command of a script line as the author wrote it: "ca 4", "repeat loop".
std::string command_text(const ScriptLine& line);

// Writes one line per event: "[PASS] PLACE: EVENT", where PASS counts the
// passes of the turn loop from 1 and PLACE, for events that come from a
// content line, is its file and physical line.
class TraceWriter : public Observer {
 public:
  TraceWriter(const std::filesystem::path& game, std::ostream& out) : files_(game), sources_(files_), out_(out) {}
  // The source map refers to the files that the writer holds.
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // A new run starts: the pass count begins again.
  void begin_run(const std::string& title);
  // The run ended this way.
  void end_run(Ending ending);

  void on_pass_start(const GameState& game) override;
  void on_step(const GameState& game, TurnStep step) override;
  void on_condition(const SourcePos& where, std::size_t index, const Words& words, const ConditionValues& values,
                    bool holds) override;
  void on_script_line(const ScriptLine& line, LineRun run) override;
  void on_input(std::string_view line) override;
  void on_outcome(const Outcome& outcome) override;
  void on_invalid_entry() override;
  void on_choice(const Choice& choice, ChoiceKind kind, bool allowed) override;
  void on_area_change(std::int32_t from, std::int32_t to, AreaChange how) override;
  void on_pickup(const ItemInstance& item) override;
  void on_arrival(const LiveEnemy& enemy) override;
  void on_attack(const LiveEnemy& enemy, const Attack& attack, bool hit, std::int32_t damage) override;
  void on_fight(const LiveEnemy& target) override;
  void on_defeat(const LiveEnemy& enemy) override;

 private:
  // Starts an event line, with the place when `where` is given.
  std::ostream& event(const SourcePos* where = nullptr);

  DirectoryFiles files_;
  SourceMap sources_;
  std::ostream& out_;
  const GameState* game_ = nullptr;
  std::uint64_t pass_ = 0;
  std::size_t failed_condition_ = 0;  // the last condition of a script line that did not hold
};

// Passes every event to both observers, the first first.
class ObserverPair : public Observer {
 public:
  ObserverPair(Observer& first, Observer& second) : first_(first), second_(second) {}

  void on_pass_start(const GameState& game) override;
  void on_step(const GameState& game, TurnStep step) override;
  void on_condition(const SourcePos& where, std::size_t index, const Words& words, const ConditionValues& values,
                    bool holds) override;
  void on_script_line(const ScriptLine& line, LineRun run) override;
  void on_input(std::string_view line) override;
  void on_outcome(const Outcome& outcome) override;
  void on_invalid_entry() override;
  void on_choice(const Choice& choice, ChoiceKind kind, bool allowed) override;
  void on_area_change(std::int32_t from, std::int32_t to, AreaChange how) override;
  void on_pickup(const ItemInstance& item) override;
  void on_arrival(const LiveEnemy& enemy) override;
  void on_attack(const LiveEnemy& enemy, const Attack& attack, bool hit, std::int32_t damage) override;
  void on_fight(const LiveEnemy& target) override;
  void on_defeat(const LiveEnemy& enemy) override;

 private:
  Observer& first_;
  Observer& second_;
};

// Opens `file` for the trace of a game in `game`, into `out` and `trace`;
// false, with the reason on `err`, when the file cannot be written.
bool open_trace(const std::filesystem::path& file, const std::filesystem::path& game, std::ofstream& out,
                std::optional<TraceWriter>& trace, std::ostream& err);

}  // namespace vesk::kit
