// Coverage of a game's content by runs of it.
#include "kit/coverage.hpp"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "base/lines.hpp"
#include "base/words.hpp"
#include "kit/tools.hpp"
#include "state/game_state.hpp"

namespace vesk::kit {

namespace {

// "85.71% of 56", as gcov gives its figures.
std::string figure(std::uint64_t run, std::uint64_t total) {
  if (total == 0) return "no lines";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f%% of %llu", 100.0 * static_cast<double>(run) / static_cast<double>(total),
                static_cast<unsigned long long>(total));
  return text;
}

std::uint64_t lines_run(const std::map<std::int64_t, Coverage::Line>& lines) {
  return static_cast<std::uint64_t>(
      std::count_if(lines.begin(), lines.end(), [](const auto& entry) { return entry.second.runs > 0; }));
}

}  // namespace

Coverage::Coverage(std::filesystem::path game)
    : game_(std::move(game)),
      game_files_(game_),
      world_(load_world(game_files_)),
      sources_(game_files_),
      files_(world_.source_files.size()) {
  auto add_script = [&](const auto& script) {
    for (const ScriptLine& line : script) {
      if (line.kind == ScriptLine::Kind::kCommand || line.kind == ScriptLine::Kind::kRepeat) {
        add(line.source, "script line " + quote_line(command_text(line)));
      }
    }
  };
  auto add_conditions = [&](const Conditions& conditions) {
    for (const Condition& condition : conditions) add(condition.source, "condition " + quote_line(condition.text));
  };
  auto add_choices = [&](const auto& choices, const char* kind) {
    for (const Choice& choice : choices) {
      add(choice.source, kind + quote_line(choice.label));
      add_conditions(choice.show_conditions);
      add_conditions(choice.use_conditions);
      add_script(choice.success_scripts);
      add_script(choice.failure_scripts);
    }
  };
  for (const Item& item : world_.items) add_script(item.use_scripts);
  for (const Area& area : world_.all_areas()) {
    add_choices(area.paths, "path ");
    add_choices(area.actions, "action ");
    add_conditions(area.item_conditions);
    add_script(area.drop_scripts);
    add_script(area.turn_scripts);
  }
  area_entries_.resize(world_.area_count());
  fights_.resize(world_.enemies.size());
  defeats_.resize(world_.enemies.size());
  pickups_.resize(world_.items.size());
}

void Coverage::add(const SourcePos& where, std::string what) {
  if (where.file == 0 || where.file > files_.size()) return;
  Line& line = files_[where.file - 1][sources_.line(world_, where)];
  // Pieces of one long line share it; the first names it.
  if (line.what.empty()) line.what = std::move(what);
}

Coverage::Line* Coverage::find(const SourcePos& where) {
  if (where.file == 0 || where.file > files_.size()) return nullptr;
  auto& lines = files_[where.file - 1];
  auto found = lines.find(sources_.line(world_, where));
  return found == lines.end() ? nullptr : &found->second;
}

const std::map<std::int64_t, Coverage::Line>& Coverage::lines_of(const std::string& file) const {
  static const std::map<std::int64_t, Line> kNone;
  const auto found = std::find(world_.source_files.begin(), world_.source_files.end(), file);
  if (found == world_.source_files.end()) return kNone;
  return files_[static_cast<std::size_t>(found - world_.source_files.begin())];
}

void Coverage::on_pass_start(const GameState& game) {
  if (!first_pass_) return;
  first_pass_ = false;
  const auto area = static_cast<std::size_t>(game.vars.area);
  if (area >= 1 && area <= area_entries_.size()) ++area_entries_[area - 1];
}

void Coverage::on_step(const GameState& game, TurnStep step) {
  if (step == TurnStep::kPrompt && game.subdivided_now && game.current_area().has_spot(game.vars.spot)) {
    spots_.emplace(game.vars.area, game.vars.spot);
  }
}

void Coverage::on_condition(const SourcePos& where, std::size_t index, const Words& /*words*/,
                            const ConditionValues& /*values*/, bool holds) {
  if (index == 0) {
    if (Line* line = find(where)) ++line->runs;
  } else if (!holds) {
    failed_condition_ = index;
  }
}

void Coverage::on_script_line(const ScriptLine& script_line, LineRun run) {
  if (run == LineRun::kInert) return;
  Line* line = find(script_line.source);
  if (!line) return;
  ++line->reached;
  if (run == LineRun::kGuardFailed) {
    ++line->stopped_by[failed_condition_];
  } else {
    ++line->runs;
  }
}

void Coverage::on_choice(const Choice& choice, ChoiceKind /*kind*/, bool /*allowed*/) {
  if (Line* line = find(choice.source)) ++line->runs;
}

void Coverage::on_area_change(std::int32_t /*from*/, std::int32_t to, AreaChange /*how*/) {
  if (to >= 1 && static_cast<std::size_t>(to) <= area_entries_.size()) {
    ++area_entries_[static_cast<std::size_t>(to - 1)];
  }
}

void Coverage::on_pickup(const ItemInstance& item) {
  if (const Item* record = world_.find_item(item.name())) {
    ++pickups_[static_cast<std::size_t>(record - world_.items.data())];
  }
}

void Coverage::on_fight(const LiveEnemy& target) {
  if (const Enemy* record = world_.find_enemy(target.kind->name)) {
    ++fights_[static_cast<std::size_t>(record - world_.enemies.data())];
  }
}

void Coverage::on_defeat(const LiveEnemy& enemy) {
  if (const Enemy* record = world_.find_enemy(enemy.kind->name)) {
    ++defeats_[static_cast<std::size_t>(record - world_.enemies.data())];
  }
}

std::set<std::size_t> Coverage::lying_items() const {
  std::set<std::size_t> lying;
  for (const Area& area : world_.all_areas()) {
    for (const PlacedItem& item : area.items) {
      if (const Item* record = world_.find_item(item.item->name)) {
        lying.insert(static_cast<std::size_t>(record - world_.items.data()));
      }
    }
  }
  return lying;
}

void Coverage::write_summary(std::ostream& out, bool details) const {
  std::uint64_t run = 0, total = 0;
  out << "Lines run by file:\n";
  for (std::size_t f = 0; f < files_.size(); ++f) {
    if (files_[f].empty()) continue;
    const std::uint64_t file_run = lines_run(files_[f]);
    run += file_run;
    total += files_[f].size();
    out << "  " << world_.source_files[f] << ": " << figure(file_run, files_[f].size()) << "\n";
  }
  out << "Lines run: " << figure(run, total) << "\n";

  const auto area_file = [&](std::size_t a) { return "area" + std::to_string(a + 1) + ".txt"; };
  std::size_t entered = 0, spot_total = 0;
  for (std::size_t a = 0; a < world_.area_count(); ++a) {
    entered += area_entries_[a] > 0;
    if (world_.area(a).is_subdivided) spot_total += static_cast<std::size_t>(std::max(0, world_.area(a).spot_count));
  }
  out << "Areas entered: " << entered << " of " << world_.area_count() << "\n";
  if (spot_total > 0) out << "Spots stood on: " << spots_.size() << " of " << spot_total << "\n";
  const auto fought =
      static_cast<std::size_t>(std::count_if(fights_.begin(), fights_.end(), [](auto n) { return n > 0; }));
  const auto defeated =
      static_cast<std::size_t>(std::count_if(defeats_.begin(), defeats_.end(), [](auto n) { return n > 0; }));
  out << "Enemies fought: " << fought << " of " << world_.enemies.size() << " (" << defeated << " defeated)\n";
  const std::set<std::size_t> lying = lying_items();
  std::size_t picked = 0;
  for (std::size_t i : lying) picked += pickups_[i] > 0;
  out << "Items picked up: " << picked << " of " << lying.size() << " lying in areas\n";
  if (!details) return;

  out << "\nNever run:\n";
  for (std::size_t f = 0; f < files_.size(); ++f) {
    for (const auto& [number, line] : files_[f]) {
      if (line.runs > 0) continue;
      out << "  " << world_.source_files[f] << ":" << number << ": " << line.what;
      if (line.what.starts_with("script")) {
        if (line.reached == 0) {
          out << ", never reached";
        } else {
          out << ", reached " << line.reached << (line.reached == 1 ? " time" : " times") << ", stopped by condition";
          const char* separator = " ";
          for (const auto& [condition, count] : line.stopped_by) {
            out << separator << condition << " (" << count << ")";
            separator = ", ";
          }
        }
      } else if (line.what.starts_with("condition")) {
        out << ", never tested";
      } else {
        out << ", never chosen";
      }
      out << "\n";
    }
  }
  for (std::size_t a = 0; a < world_.area_count(); ++a) {
    if (area_entries_[a] == 0) out << "  " << area_file(a) << ": never entered\n";
  }
  for (std::size_t a = 0; a < world_.area_count(); ++a) {
    const Area& area = world_.area(a);
    if (!area.is_subdivided || area_entries_[a] == 0) continue;
    // The spots between those stood on, a run of three or more as "4-9": an
    // area may have billions of spots, and the spots stood on are few.
    std::ostringstream missed;
    const auto number = static_cast<std::int32_t>(a + 1);
    std::int64_t from = 1;
    auto run_before = [&](std::int64_t next) {
      if (next - from >= 3) {
        missed << " " << from << "-" << next - 1;
      } else {
        for (std::int64_t spot = from; spot < next; ++spot) missed << " " << spot;
      }
    };
    for (auto it = spots_.lower_bound({number, 1}); it != spots_.end() && it->first == number; ++it) {
      if (it->second > area.spot_count) break;
      run_before(it->second);
      from = std::int64_t{it->second} + 1;
    }
    run_before(std::int64_t{area.spot_count} + 1);
    if (!missed.str().empty()) out << "  " << area_file(a) << ": spots never stood on:" << missed.str() << "\n";
  }
  for (std::size_t e = 0; e < world_.enemies.size(); ++e) {
    if (fights_[e] == 0) {
      out << "  enemy" << e + 1 << ".txt: " << quote_line(world_.enemies[e].name) << " never fought\n";
    }
  }
  for (std::size_t i : lying) {
    if (pickups_[i] == 0) {
      out << "  item" << i + 1 << ".txt: " << quote_line(world_.items[i].name) << " never picked up\n";
    }
  }
}

std::string Coverage::lcov() const {
  std::ostringstream out;
  for (std::size_t f = 0; f < files_.size(); ++f) {
    if (files_[f].empty()) continue;
    const std::filesystem::path file = std::filesystem::absolute(game_ / world_.source_files[f]).lexically_normal();
    out << "TN:\nSF:" << file.string() << "\n";
    for (const auto& [number, line] : files_[f]) out << "DA:" << number << "," << line.runs << "\n";
    out << "LF:" << files_[f].size() << "\nLH:" << lines_run(files_[f]) << "\nend_of_record\n";
  }
  return out.str();
}

}  // namespace vesk::kit
