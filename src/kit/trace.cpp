// The trace of a run, and the places of content lines.
#include "kit/trace.hpp"

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/tools.hpp"
#include "kit/walk.hpp"
#include "state/game_state.hpp"

namespace vesk::kit {

std::string command_text(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::Kind::kRepeat:
      return "repeat " + std::string(line.label);
    case ScriptLine::Kind::kLabel:
      return "repetition " + std::string(line.label);
    case ScriptLine::Kind::kCommand: {
      const Words command = script_words(line).command;
      return join_words(command, 0, word_count(command) - 1);
    }
    case ScriptLine::Kind::kSkip:
      break;
  }
  return std::string(line.text);
}

namespace {

// "rat (2)", or "rat" for a definite enemy, as the game names it.
std::string enemy_name(const LiveEnemy& enemy) {
  if (enemy.is_definite) return enemy.shown_name();
  return enemy.shown_name() + " (" + std::to_string(enemy.instance_number) + ")";
}

// Where the player stands: "area 4", in a subdivided area "area 4, spot 2"
// or "area 4, no spot".
std::string location(const GameState& game) {
  std::string text = "area " + std::to_string(game.vars.area);
  if (game.subdivided_now) {
    text += game.current_area().has_spot(game.vars.spot) ? ", spot " + std::to_string(game.vars.spot) : ", no spot";
  }
  return text;
}

const char* step_name(TurnStep step) {
  switch (step) {
    case TurnStep::kTurnScripts:
      return "turn scripts";
    case TurnStep::kView:
      return "view";
    case TurnStep::kEnemyTurn:
      return "enemy turn";
    case TurnStep::kPrompt:
      return "prompt";
    case TurnStep::kEndPass:
      break;
  }
  return "end of pass";
}

const char* change_name(AreaChange how) {
  switch (how) {
    case AreaChange::kPath:
      return "path";
    case AreaChange::kStep:
      return "step";
    case AreaChange::kScript:
      break;
  }
  return "script";
}

bool is_literal(const std::string& word) { return !word.empty() && is_integer_text(word); }

}  // namespace

void TraceWriter::begin_run(const std::string& title) {
  out_ << "# " << title << "\n";
  game_ = nullptr;
  pass_ = 0;
}

void TraceWriter::end_run(Ending ending) { event() << "end: " << ending_name(ending) << "\n"; }

std::ostream& TraceWriter::event(const SourcePos* where) {
  out_ << "[" << pass_ << "] ";
  if (where && game_) {
    const std::string place = sources_.place(game_->world(), *where);
    if (!place.empty()) out_ << place << ": ";
  }
  return out_;
}

void TraceWriter::on_pass_start(const GameState& game) {
  game_ = &game;
  ++pass_;
  event() << "pass " << pass_ << ": " << location(game) << "\n";
}

void TraceWriter::on_step(const GameState& game, TurnStep step) {
  game_ = &game;
  event() << step_name(step) << ": " << location(game) << "\n";
}

void TraceWriter::on_condition(const SourcePos& where, std::size_t index, const Words& words,
                               const ConditionValues& values, bool holds) {
  event(&where) << "condition ";
  if (index > 0) out_ << index << " ";
  out_ << quote_line(join_words(words, 0, word_count(words) - 1));
  if (values.count == 1) {
    out_ << ": " << (words[0] == "tcw" ? "weekday" : "hour") << " is " << values.values[0];
  } else if (values.count == 2) {
    const char* separator = ": ";
    for (std::size_t k = 0; k < 2; ++k) {
      if (is_literal(words[k + 1])) continue;
      out_ << separator << words[k + 1] << " is " << values.values[k];
      separator = ", ";
    }
  }
  out_ << " -> " << (holds ? "true" : "false") << "\n";
  if (!holds) failed_condition_ = index;
}

void TraceWriter::on_script_line(const ScriptLine& line, LineRun run) {
  std::ostream& out = event(&line.source);
  switch (run) {
    case LineRun::kInert:
      if (line.kind == ScriptLine::Kind::kLabel) {
        out << "label " << line.label << "\n";
      } else {
        out << "not a script line, skipped: " << quote_line(line.text) << "\n";
      }
      break;
    case LineRun::kGuardFailed:
      out << "does nothing, condition " << failed_condition_ << " is false: " << quote_line(command_text(line)) << "\n";
      break;
    case LineRun::kRuns:
      out << "runs " << quote_line(command_text(line)) << "\n";
      break;
    case LineRun::kJumps:
      out << "repeat: back to label " << line.label << "\n";
      break;
    case LineRun::kNoLabel:
      out << "repeat: no label " << line.label << " above, does nothing\n";
      break;
    case LineRun::kJumpLimit:
      out << "repeat: the jump limit is reached, the script ends\n";
      break;
  }
}

void TraceWriter::on_input(std::string_view line) { event() << "typed " << quote_line(line) << "\n"; }

void TraceWriter::on_outcome(const Outcome& outcome) {
  std::ostream& out = event() << "outcome: ";
  switch (outcome.kind()) {
    case Outcome::Kind::kNoTurn:
      out << "no turn\n";
      break;
    case Outcome::Kind::kTurn:
      out << "a turn passes\n";
      break;
    case Outcome::Kind::kPath:
      out << "move by path " << outcome.path() << " of area " << outcome.area() << "\n";
      break;
    case Outcome::Kind::kStep:
      out << "step in direction " << outcome.direction() << "\n";
      break;
  }
}

void TraceWriter::on_invalid_entry() { event() << "entry invalid\n"; }

void TraceWriter::on_choice(const Choice& choice, ChoiceKind kind, bool allowed) {
  event(&choice.source) << (kind == ChoiceKind::kPath ? "path " : "action ") << quote_line(choice.label) << " chosen, "
                        << (allowed ? "its conditions hold" : "a condition is false") << "\n";
}

void TraceWriter::on_area_change(std::int32_t from, std::int32_t to, AreaChange how) {
  event() << "area " << from << " -> " << to << " (" << change_name(how) << ")\n";
}

void TraceWriter::on_pickup(const ItemInstance& item) { event() << "picked up " << quote_line(item.name()) << "\n"; }

void TraceWriter::on_arrival(const LiveEnemy& enemy) { event() << "arrives: " << enemy_name(enemy) << "\n"; }

void TraceWriter::on_attack(const LiveEnemy& enemy, const Attack& attack, bool hit, std::int32_t damage) {
  event() << "attack: " << enemy_name(enemy) << " " << quote_line(attack.text) << ", ";
  if (hit) {
    out_ << "hit for " << damage << "\n";
  } else {
    out_ << "miss\n";
  }
}

void TraceWriter::on_fight(const LiveEnemy& target) { event() << "fight: " << enemy_name(target) << "\n"; }

void TraceWriter::on_defeat(const LiveEnemy& enemy) { event() << "defeated: " << enemy_name(enemy) << "\n"; }

// ---------------------------------------------------------------------------

void ObserverPair::on_pass_start(const GameState& game) {
  first_.on_pass_start(game);
  second_.on_pass_start(game);
}
void ObserverPair::on_step(const GameState& game, TurnStep step) {
  first_.on_step(game, step);
  second_.on_step(game, step);
}
void ObserverPair::on_condition(const SourcePos& where, std::size_t index, const Words& words,
                                const ConditionValues& values, bool holds) {
  first_.on_condition(where, index, words, values, holds);
  second_.on_condition(where, index, words, values, holds);
}
void ObserverPair::on_script_line(const ScriptLine& line, LineRun run) {
  first_.on_script_line(line, run);
  second_.on_script_line(line, run);
}
void ObserverPair::on_input(std::string_view line) {
  first_.on_input(line);
  second_.on_input(line);
}
void ObserverPair::on_outcome(const Outcome& outcome) {
  first_.on_outcome(outcome);
  second_.on_outcome(outcome);
}
void ObserverPair::on_invalid_entry() {
  first_.on_invalid_entry();
  second_.on_invalid_entry();
}
void ObserverPair::on_choice(const Choice& choice, ChoiceKind kind, bool allowed) {
  first_.on_choice(choice, kind, allowed);
  second_.on_choice(choice, kind, allowed);
}
void ObserverPair::on_area_change(std::int32_t from, std::int32_t to, AreaChange how) {
  first_.on_area_change(from, to, how);
  second_.on_area_change(from, to, how);
}
void ObserverPair::on_pickup(const ItemInstance& item) {
  first_.on_pickup(item);
  second_.on_pickup(item);
}
void ObserverPair::on_arrival(const LiveEnemy& enemy) {
  first_.on_arrival(enemy);
  second_.on_arrival(enemy);
}
void ObserverPair::on_attack(const LiveEnemy& enemy, const Attack& attack, bool hit, std::int32_t damage) {
  first_.on_attack(enemy, attack, hit, damage);
  second_.on_attack(enemy, attack, hit, damage);
}
void ObserverPair::on_fight(const LiveEnemy& target) {
  first_.on_fight(target);
  second_.on_fight(target);
}
void ObserverPair::on_defeat(const LiveEnemy& enemy) {
  first_.on_defeat(enemy);
  second_.on_defeat(enemy);
}

bool open_trace(const std::filesystem::path& file, const std::filesystem::path& game, std::ofstream& out,
                std::optional<TraceWriter>& trace, std::ostream& err) {
  out.open(file, std::ios::binary | std::ios::trunc);
  if (!out) {
    err << "vesk-kit: cannot write " << file << "\n";
    return false;
  }
  trace.emplace(game, out);
  return true;
}

}  // namespace vesk::kit
