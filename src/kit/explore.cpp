// The search of vesk-kit explore: copies of a game at its prompt, breadth
// first, merged by the hash of their state.
#include "kit/explore.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <streambuf>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/game.hpp"
#include "kit/coverage.hpp"
#include "kit/game_files.hpp"
#include "kit/source_map.hpp"
#include "kit/state_hash.hpp"
#include "kit/tools.hpp"
#include "kit/trace.hpp"
#include "kit/xref.hpp"
#include "state/game_state.hpp"

namespace vesk::kit {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kNumberPrompt = " (number)> ";
constexpr std::string_view kFilePrompt = "File name?> ";
// Of the answers that one command reads, the first few are tried with every
// candidate number and the later ones get the first candidate only, so that
// a script that asks in a loop cannot multiply the search without bound.
constexpr std::size_t kBranchedAnswers = 4;
constexpr std::size_t kMaxRunsPerCommand = 256;
// Every save goes to one file of the scratch copy and every load asks for a
// name that no save writes: a load never restores a game saved on another
// way of playing, so each copy stays a value apart from the disk, and the
// folder stays small, which matters since a save looks through it.
constexpr const char* kSaveName = "explore-save";
constexpr const char* kNeverSaved = "explore-unsaved";
// The step that picks up everything lying with the player; no typed line.
constexpr const char* kTakeEverything = "\n";
// The most pieces one such step picks up.
constexpr std::size_t kMaxTaken = 64;
constexpr std::uint32_t kNoParent = static_cast<std::uint32_t>(-1);

// The game's output, of which only the end is kept: enough to tell which
// prompt the game waits at when it reads.
class PromptTail : public UnbufferedOut {
 public:
  void clear() { size_ = 0; }
  bool ends_with(std::string_view end) const { return std::string_view(tail_.data(), size_).ends_with(end); }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    const auto n = static_cast<std::size_t>(count);
    if (n >= tail_.size()) {
      std::memcpy(tail_.data(), data + (n - tail_.size()), tail_.size());
      size_ = tail_.size();
      return count;
    }
    if (size_ + n > tail_.size()) {
      const std::size_t keep = tail_.size() - n;
      std::memmove(tail_.data(), tail_.data() + (size_ - keep), keep);
      size_ = keep;
    }
    std::memcpy(tail_.data() + size_, data, n);
    size_ += n;
    return count;
  }

 private:
  std::array<char, 16> tail_{};
  std::size_t size_ = 0;
};

// One line that the game read while it carried out a command.
struct Answer {
  std::string text;
  const std::vector<std::string>* choices = nullptr;  // a number prompt: the numbers to try
};

// Hears what the search needs beyond the coverage: which script line ended
// the game, which number prompt is asking, what the paths and actions did,
// and the runs that hit the jump limit.
class Watcher : public Observer {
 public:
  void on_script_line(const ScriptLine& line, LineRun run) override {
    if (run == LineRun::kJumpLimit) jump_limits.emplace(line.source.file, line.source.piece);
    if (run != LineRun::kRuns) return;
    if (line.command.op == ScriptCommand::Op::kTerminate) terminated = line.source;
    if (line.command.op == ScriptCommand::Op::kAskNumber) asking = line.command.target;
    if (line.command.op == ScriptCommand::Op::kSave || line.command.op == ScriptCommand::Op::kLoad) {
      loading = line.command.op == ScriptCommand::Op::kLoad;
    }
  }
  void on_choice(const Choice& choice, ChoiceKind /*kind*/, bool allowed) override {
    chosen.insert(&choice);
    if (allowed) succeeded.insert(&choice);
  }

  // Kept by value: the line handed to the watcher is read afresh from the
  // script's code for each run and does not outlive the call.
  std::optional<SourcePos> terminated;
  std::optional<Operand> asking;  // the variable the open number prompt sets
  bool loading = false;           // the file name asked for is of a load, not a save
  std::unordered_set<const Choice*> chosen, succeeded;
  std::set<std::pair<std::uint32_t, std::uint32_t>> jump_limits;
};

ExploreFinding finding(std::string kind, std::string text, bool fault = false) {
  return {std::move(kind), std::move(text), fault, {}};
}

// "NAME" for the first of its name, "NAME N" for the others.
std::string numbered(const std::string& name, std::int32_t number) {
  return number == 1 ? name : name + " " + std::to_string(number);
}

// The state of the current area; at the prompt it is laid out.
const AreaState* laid_out_here(const GameState& game) {
  return game.areas.if_laid_out(static_cast<std::size_t>(game.vars.area - 1));
}

// The pickup of the first thing that the last view showed lying with the
// player: an item, or else the ammunition.
std::optional<std::string> next_pickup(const GameState& game) {
  const AreaState* here = laid_out_here(game);
  if (!here) return std::nullopt;
  const std::vector<bool>& visible = game.listing.visible_items;
  for (std::size_t i = 0; i < here->items.size() && i < visible.size(); ++i) {
    const ItemInstance& item = here->items[i];
    if (visible[i] && game.is_with_player(item.spot)) return "pickup " + numbered(item.name(), item.instance_number);
  }
  for (const AmmoPile& pile : here->ammo_piles) {
    if (game.is_with_player(pile.spot)) return "pickup ammo";
  }
  return std::nullopt;
}

// The commands that the last view and the inventory offer at the prompt.
// Everything lying with the player is picked up in one step, one piece
// after another: carrying a thing is what conditions ask about, so leaving
// one behind only narrows what can follow, and trying every choice of
// things to carry would multiply the search by their subsets. An item that
// a condition asks about ("NAME held") may be dropped anywhere, which
// reaches the games without it; another only where the area has drop
// scripts, and then only the first such item, since they all run the same
// scripts. Anywhere else a dropped item only lies there to be picked up
// again, and trying every item in every area would multiply the search by
// the places items can lie.
std::vector<std::string> offered_commands(const GameState& game, const std::set<std::string, std::less<>>& tested) {
  std::vector<std::string> commands;
  const std::size_t paths = game.subdivided_now ? game.listing.exit_letters.size() : game.listing.paths.size();
  for (std::size_t n = 1; n <= paths; ++n) commands.push_back("path " + std::to_string(n));
  for (std::size_t n = 1; n <= game.listing.actions.size(); ++n) commands.push_back("action " + std::to_string(n));
  if (next_pickup(game)) commands.emplace_back(kTakeEverything);
  if (const AreaState* here = laid_out_here(game)) {
    std::set<std::string> once;
    for (const LiveEnemy& enemy : here->live_enemies) {
      std::string fight = "fight " + numbered(enemy.shown_name(), enemy.instance_number);
      if (game.is_with_player(enemy.spot) && once.insert(fight).second) commands.push_back(std::move(fight));
    }
  }
  bool drop_scripts = !game.current_area().drop_scripts.empty();
  for (const InventoryEntry& entry : game.inventory) {
    commands.push_back("use " + entry.name());
    commands.push_back("select " + entry.name());
    const bool asked_about = tested.contains(entry.name());
    if (asked_about || drop_scripts) commands.push_back("drop " + entry.name());
    // For the drop scripts, one item that no condition asks about stands
    // for all such items.
    if (!asked_about) drop_scripts = false;
  }
  return commands;
}

// The name that the cross-reference gives a plain variable, named or
// numbered; the empty text for any other operand. The value an indirect
// variable asks for goes to a variable known only in play, and ammunition
// is also filled by pickups, which no script line writes.
std::string variable_name(const Operand& operand) {
  const bool plain = operand.kind == Operand::Kind::kNamed || operand.kind == Operand::Kind::kNumbered;
  return plain ? xref_variable_name(operand) : std::string();
}

// How a search by novelty picks the states it goes on from.
enum class Novelty : std::uint8_t {
  kNone,  // every state: the full search
  // A state that makes one thing true that no state of the same progress
  // made (see progress_class). A state that carries one more thing, or has
  // one enemy fewer, is new in all it makes true, so the search goes on from
  // it: a deep ending often needs things true together that were each seen
  // before on other ways (the key, and then the burner, and then the door).
  // The player's health is left out, which each blow would make new.
  kProgress,
  kPairs,  // a state that makes one thing, or two things together, true first
};

// A measure of how far a game has got: how many entries are carried, how
// many enemies are left, how many numbered variables are set.
std::uint64_t progress_class(const GameState& game) {
  std::uint64_t left = 0;
  for (std::size_t a = 0; a < game.areas.size(); ++a) {
    if (const AreaState* area = game.areas.if_laid_out(a)) left += area->live_enemies.size();
  }
  std::uint64_t set = 0;
  for (const std::int32_t value : game.vars.numbered) set += value != 0 ? 1 : 0;
  return (game.inventory.size() * 0x10001ull ^ left << 20 ^ set << 40) * 0x9e3779b97f4a7c15ull;
}

class Explorer {
 public:
  Explorer(const std::filesystem::path& game, const ExploreLimits& limits,
           const std::function<void(const ExploreProgress&)>& progress)
      : limits_(limits),
        progress_(progress),
        coverage_(game),
        observers_(coverage_, watcher_),
        answers_(*this),
        out_(&tail_),
        in_(&answers_) {
    copy_game(game, scratch_.path());
    files_ = std::make_unique<DirectoryFiles>(scratch_.path());
    sources_ = std::make_unique<SourceMap>(*files_);
    world_ = std::make_shared<const World>(load_world(*files_));
    for (XrefEntry& entry : cross_reference(*world_)) {
      if (entry.kind == XrefEntry::Kind::kItem && !entry.read.empty()) held_tested_.insert(entry.name);
      if (entry.kind == XrefEntry::Kind::kVariable) xref_.emplace(entry.name, std::move(entry));
    }
    const auto read = [&](const std::string& name) {
      const auto found = xref_.find(name);
      return found != xref_.end() && !found->second.read.empty();
    };
    HashedState hashed;
    hashed.clock = read("game") || read("steps") || read("htcw");
    hashed.inventory_order = std::any_of(xref_.begin(), xref_.end(), [&](const auto& entry) {
      return entry.first.starts_with("vi") && read(entry.first);
    });
    hash_.emplace(*world_, hashed);
  }

  ExploreResult run();

 private:
  struct Record {
    std::uint64_t hash = 0;
    std::uint32_t parent = kNoParent;
    std::uint32_t step = 0;  // the lines typed into it, in steps_
    std::int32_t area = 0;   // the area where they were typed
    bool ending = false;
    bool expanded = false;
  };
  struct Node {
    Game game;
    std::uint32_t record;
  };
  struct EndingPlace {
    std::uint32_t record;
    std::string kind;       // "terminate" or "death"
    std::string where;      // the terminate line, when known
    std::int32_t area = 0;  // where the player was when the game ended
  };

  // The game's input while it carries out a command: the answers given,
  // then for each further number prompt the first candidate and for each
  // file-name prompt a fresh name; nothing once the game has ended.
  class Answers : public std::streambuf {
   public:
    explicit Answers(Explorer& explorer) : explorer_(explorer) {}
    void start(const Game& game, const std::vector<std::string>& given) {
      game_ = &game;
      given_ = &given;
      read_.clear();
      setg(nullptr, nullptr, nullptr);
    }
    const std::vector<Answer>& read() const { return read_; }

   protected:
    int_type underflow() override {
      if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
      if (!game_ || game_->ending()) return traits_type::eof();
      Answer answer;
      if (explorer_.tail_.ends_with(kNumberPrompt)) answer.choices = &explorer_.numbers_for(explorer_.watcher_.asking);
      if (read_.size() < given_->size()) {
        answer.text = (*given_)[read_.size()];
      } else if (answer.choices) {
        answer.text = answer.choices->front();
      } else if (explorer_.tail_.ends_with(kFilePrompt)) {
        answer.text = explorer_.watcher_.loading ? kNeverSaved : kSaveName;
      }
      explorer_.tail_.clear();
      line_ = answer.text + "\n";
      read_.push_back(std::move(answer));
      setg(line_.data(), line_.data(), line_.data() + line_.size());
      return traits_type::to_int_type(*gptr());
    }

   private:
    Explorer& explorer_;
    const Game* game_ = nullptr;
    const std::vector<std::string>* given_ = nullptr;
    std::vector<Answer> read_;
    std::string line_;
  };

  const std::vector<std::string>& numbers_for(const std::optional<Operand>& asking);
  void expand(Node& node, std::vector<Node>& next);
  void settle(const Node& node, std::string step, Game& child, std::vector<Node>& next);
  std::string take_everything(Game& child);
  EndingPlace ending_place(const Game& game, std::uint32_t record) const;
  std::uint32_t add_step(std::string step);
  std::vector<std::string> way_to(std::uint32_t record) const;
  void report(ExploreResult& result);
  void report_dead_ends(ExploreResult& result);
  void report_choices(ExploreResult& result);
  void report_unreached(ExploreResult& result);
  void tell_progress(std::size_t depth, bool now);
  std::string search(Novelty novelty, std::size_t budget);
  std::vector<FoundEnding> endings() const;
  bool novel(const GameState& game);

  ExploreLimits limits_;
  const std::function<void(const ExploreProgress&)>& progress_;
  Clock::time_point started_ = Clock::now();
  Clock::time_point last_progress_ = started_;
  TemporaryDirectory scratch_;
  std::unique_ptr<DirectoryFiles> files_;
  std::unique_ptr<SourceMap> sources_;
  std::shared_ptr<const World> world_;
  std::map<std::string, XrefEntry> xref_;
  std::unordered_map<std::string, std::vector<std::string>> numbers_;  // by variable name
  std::optional<StateHash> hash_;
  std::set<std::string, std::less<>> held_tested_;  // the items that conditions ask about

  Coverage coverage_;
  Watcher watcher_;
  ObserverPair observers_;
  PromptTail tail_;
  Answers answers_;
  std::ostream out_;
  std::istream in_;

  std::vector<Record> records_;
  std::unordered_map<std::uint64_t, std::uint32_t> seen_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> edges_;  // from, to
  std::vector<std::string> steps_;
  std::unordered_map<std::string, std::uint32_t> step_numbers_;
  std::vector<EndingPlace> ending_places_;
  std::set<std::int32_t> pending_bound_areas_;
  std::size_t depth_ = 0;
  bool out_of_budget_ = false;
  Novelty novelty_ = Novelty::kNone;
  std::size_t budget_ = 0;
  std::vector<std::uint64_t> state_atoms_;
  std::unordered_set<std::uint64_t> atoms_;  // what the states met have made true, in the search of width two
};

// The numbers to answer a number prompt with: 0, and each value that makes a
// condition comparing the asked variable with a literal hold.
const std::vector<std::string>& Explorer::numbers_for(const std::optional<Operand>& asking) {
  std::string name = asking ? variable_name(*asking) : std::string();
  const auto entry = name.empty() ? xref_.end() : xref_.find(name);
  auto [found, fresh] = numbers_.try_emplace(std::move(name));
  std::vector<std::string>& numbers = found->second;
  if (!fresh) return numbers;
  numbers.emplace_back("0");
  if (entry == xref_.end()) return numbers;
  for (std::int32_t value : entry->second.holding_values) {
    if (value != 0) numbers.push_back(std::to_string(value));
  }
  return numbers;
}

std::uint32_t Explorer::add_step(std::string step) {
  const auto [found, fresh] = step_numbers_.try_emplace(std::move(step), static_cast<std::uint32_t>(steps_.size()));
  if (fresh) steps_.push_back(found->first);
  return found->second;
}

std::vector<std::string> Explorer::way_to(std::uint32_t record) const {
  std::vector<std::uint32_t> chain;
  for (std::uint32_t at = record; at != kNoParent; at = records_[at].parent) chain.push_back(at);
  std::reverse(chain.begin(), chain.end());
  std::vector<std::string> typed;
  for (const std::uint32_t at : chain) {
    const std::string& step = steps_[records_[at].step];
    // Only the start types nothing, when no prompt came before the first "> ".
    if (step.empty()) continue;
    for (std::size_t from = 0;;) {
      const std::size_t end = step.find('\n', from);
      typed.push_back(step.substr(from, end == std::string::npos ? std::string::npos : end - from));
      if (end == std::string::npos) break;
      from = end + 1;
    }
  }
  return typed;
}

// The search from the first prompt, breadth-first over every state, or with
// `novelty` over only the states that make something true that no state met
// before did (an area or spot reached, an item carried, a variable's value,
// an enemy's health, ...), which reaches far into a game at little cost but
// may miss what needs several things at once; see Novelty.
std::string Explorer::search(Novelty novelty, std::size_t budget) {
  records_.clear();
  seen_.clear();
  edges_.clear();
  steps_.clear();
  step_numbers_.clear();
  ending_places_.clear();
  atoms_.clear();
  depth_ = 0;
  out_of_budget_ = false;
  novelty_ = novelty;
  budget_ = budget;

  Game root(world_, in_, out_, limits_.seed, scratch_.path());
  root.state().observer = &observers_;
  coverage_.begin_run();
  const std::vector<std::string> none;
  answers_.start(root, none);
  watcher_.terminated.reset();
  root.to_prompt();
  std::string start;
  for (const Answer& answer : answers_.read()) start += (start.empty() ? "" : "\n") + answer.text;
  Record first;
  first.step = add_step(start);
  first.area = root.state().vars.area;
  first.ending = !root.at_prompt();
  first.hash = first.ending ? 0 : (*hash_)(root);
  records_.push_back(first);
  seen_.emplace(first.hash, 0);
  if (first.ending) ending_places_.push_back(ending_place(root, 0));
  if (!first.ending && novelty != Novelty::kNone) novel(root.state());

  std::vector<Node> frontier;
  if (!first.ending) frontier.push_back({std::move(root), 0});
  std::string stopped_by;
  while (!frontier.empty() && !out_of_budget_) {
    if (depth_ >= limits_.depth) {
      stopped_by = "depth";
      break;
    }
    std::vector<Node> next;
    for (Node& node : frontier) {
      expand(node, next);
      if (out_of_budget_) break;
      records_[node.record].expanded = true;
    }
    frontier = std::move(next);
    ++depth_;
    tell_progress(depth_, false);
  }
  if (out_of_budget_) stopped_by = "states";
  return stopped_by;
}

std::vector<FoundEnding> Explorer::endings() const {
  std::vector<FoundEnding> found;
  for (const EndingPlace& place : ending_places_) {
    found.push_back({place.kind, place.area, place.where, way_to(place.record)});
  }
  return found;
}

// First the two searches by novelty, on an eighth and a quarter of the budget, for the
// endings that lie deep; then the full search, on the rest, for everything
// else. Only the full search tells dead ends. Of the ways to an ending that
// more than one search found, the shortest is kept.
ExploreResult Explorer::run() {
  std::vector<FoundEnding> deep;
  std::size_t first_states = 0;
  for (const Novelty novelty : {Novelty::kProgress, Novelty::kPairs}) {
    search(novelty, std::max<std::size_t>(1, limits_.states / (novelty == Novelty::kProgress ? 8 : 4)));
    first_states += records_.size();
    for (FoundEnding& ending : endings()) deep.push_back(std::move(ending));
  }
  const std::string stopped_by = search(Novelty::kNone, limits_.states - std::min(limits_.states - 1, first_states));
  tell_progress(depth_, true);

  ExploreResult result;
  result.seed = limits_.seed;
  result.states = first_states + records_.size();
  result.depth = depth_;
  result.stopped_by = stopped_by;
  result.seconds = std::chrono::duration<double>(Clock::now() - started_).count();
  std::size_t bytes = records_.capacity() * sizeof(Record) + edges_.capacity() * sizeof(edges_[0]) +
                      seen_.bucket_count() * sizeof(void*) + seen_.size() * (sizeof(std::uint64_t) * 2 + 16);
  for (const std::string& step : steps_) bytes += 2 * (step.capacity() + sizeof(std::string)) + 16;
  result.bytes_per_state = bytes / std::max<std::size_t>(1, records_.size());
  result.endings = endings();
  for (FoundEnding& ending : deep) {
    const auto same = [&](const FoundEnding& other) {
      return other.kind == ending.kind && other.area == ending.area && other.where == ending.where;
    };
    const auto found = std::find_if(result.endings.begin(), result.endings.end(), same);
    if (found == result.endings.end()) {
      result.endings.push_back(std::move(ending));
    } else if (ending.typed.size() < found->typed.size()) {
      *found = std::move(ending);
    }
  }
  report(result);
  return result;
}

// Whether the state makes something true that no state met before did; it
// notes all that it makes true.
bool Explorer::novel(const GameState& game) {
  std::vector<std::uint64_t>& atoms = state_atoms_;
  atoms.clear();
  const auto atom = [&](std::uint64_t kind, std::uint64_t a, std::uint64_t b = 0) {
    atoms.push_back((((kind * 0x9e3779b97f4a7c15ull) ^ a) * 0xff51afd7ed558ccdull ^ b) * 0xc4ceb9fe1a85ec53ull);
  };
  const auto bits = [](std::int32_t value) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(value)); };
  const auto address = [](const void* pointer) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
  };
  atom(1, bits(game.vars.area), game.subdivided_now ? bits(game.vars.spot) : 0);
  for (const InventoryEntry& entry : game.inventory) atom(2, address(entry.item.kind), bits(entry.quantity));
  for (std::size_t v = 0; v < game.vars.numbered.size(); ++v) atom(3, v, bits(game.vars.numbered[v]));
  for (std::size_t v = 0; v < game.vars.strings.size(); ++v) atom(4, v, std::hash<std::string>{}(game.vars.strings[v]));
  for (std::size_t w = 0; w < game.ammo.size(); ++w) atom(5, w, bits(game.ammo[w]));
  atom(6, std::hash<std::string>{}(game.selected_weapon));
  atom(7, bits(game.vars.money));
  if (novelty_ == Novelty::kPairs) atom(10, bits(game.vars.health));
  for (std::size_t a = 0; a < game.areas.size(); ++a) {
    const AreaState* area = game.areas.if_laid_out(a);
    if (!area) continue;
    atom(8, a, area->items.size() << 20 | area->live_enemies.size());
    for (const LiveEnemy& enemy : area->live_enemies) atom(9, a << 32 ^ address(enemy.kind), bits(enemy.health));
  }
  bool fresh = false;
  if (novelty_ == Novelty::kProgress) {
    const std::uint64_t progress = progress_class(game);
    for (const std::uint64_t a : atoms) fresh = atoms_.insert(a ^ progress).second || fresh;
    return fresh;
  }
  // Each thing true, and each two things true together.
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    fresh = atoms_.insert(atoms[i]).second || fresh;
    for (std::size_t j = i + 1; j < atoms.size(); ++j) {
      fresh = atoms_.insert((atoms[i] ^ (atoms[j] * 0x9e3779b97f4a7c15ull)) + atoms[j]).second || fresh;
    }
  }
  return fresh;
}

void Explorer::tell_progress(std::size_t depth, bool now) {
  if (!progress_) return;
  const Clock::time_point time = Clock::now();
  if (!now && time - last_progress_ < std::chrono::milliseconds(200)) return;
  last_progress_ = time;
  progress_({records_.size(), depth, std::chrono::duration<double>(time - started_).count()});
}

void Explorer::expand(Node& node, std::vector<Node>& next) {
  for (const std::string& command : offered_commands(node.game.state(), held_tested_)) {
    std::vector<std::vector<std::string>> todo(1);
    for (std::size_t runs = 0; !todo.empty() && runs < kMaxRunsPerCommand; ++runs) {
      const std::vector<std::string> given = std::move(todo.back());
      todo.pop_back();
      Game child = node.game;
      child.attach(in_, out_);
      tail_.clear();
      answers_.start(child, given);
      watcher_.terminated.reset();
      watcher_.asking.reset();
      std::string step = command == kTakeEverything ? take_everything(child) : command;
      const std::vector<Answer>& read = answers_.read();
      if (command != kTakeEverything) child.enter(command);
      if (command != kTakeEverything) {
        for (const Answer& answer : read) step += "\n" + answer.text;
      }
      for (std::size_t q = given.size(); q < read.size() && q < kBranchedAnswers; ++q) {
        if (!read[q].choices) continue;
        for (const std::string& number : *read[q].choices) {
          if (number == read[q].text) continue;
          std::vector<std::string>& other = todo.emplace_back();
          for (std::size_t k = 0; k < q; ++k) other.push_back(read[k].text);
          other.push_back(number);
        }
      }
      settle(node, std::move(step), child, next);
      if (out_of_budget_) return;
    }
    if (progress_ && (records_.size() & 1023) == 0) tell_progress(depth_, false);
  }
}

// Picks up what lies with the player, piece by piece, for as long as each
// pickup takes something; each line typed is followed by the answers it read.
std::string Explorer::take_everything(Game& child) {
  std::string step;
  const auto lying = [](const GameState& game) {
    const AreaState* here = laid_out_here(game);
    return here ? here->items.size() + here->ammo_piles.size() : 0;
  };
  for (std::size_t taken = 0; taken < kMaxTaken && child.at_prompt(); ++taken) {
    const std::optional<std::string> line = next_pickup(child.state());
    if (!line) break;
    const std::size_t before = lying(child.state());
    const std::size_t answered = answers_.read().size();
    child.enter(*line);
    step += (step.empty() ? "" : "\n") + *line;
    for (std::size_t k = answered; k < answers_.read().size(); ++k) step += "\n" + answers_.read()[k].text;
    if (lying(child.state()) >= before) break;
  }
  return step;
}

void Explorer::settle(const Node& node, std::string step, Game& child, std::vector<Node>& next) {
  const bool ended = child.ending().has_value();
  if (!ended && !child.at_prompt()) return;
  const std::uint32_t from = node.record;
  EndingPlace place;
  std::uint64_t hash = 0;
  if (ended) {
    // Endings are told apart by how and where the game ended, so that the
    // shortest way to each is kept.
    place = ending_place(child, 0);
    hash = std::hash<std::string>{}(place.kind + " " + std::to_string(place.area) + " " + place.where) ^
           0x5bd1e9955bd1e995ull;
  } else {
    hash = (*hash_)(child);
    if (child.state().pending_messages.size() >= kMaxPendingMessages) {
      pending_bound_areas_.insert(child.state().vars.area);
    }
  }
  if (hash == records_[from].hash) return;
  if (records_.size() >= budget_ && !seen_.contains(hash)) {
    out_of_budget_ = true;
    return;
  }
  const auto [found, fresh] = seen_.try_emplace(hash, static_cast<std::uint32_t>(records_.size()));
  edges_.emplace_back(from, found->second);
  if (!fresh) return;
  Record record;
  record.hash = hash;
  record.parent = from;
  record.step = add_step(std::move(step));
  record.area = node.game.state().vars.area;
  record.ending = ended;
  records_.push_back(record);
  if (ended) {
    place.record = found->second;
    ending_places_.push_back(std::move(place));
  } else if (novelty_ == Novelty::kNone || novel(child.state())) {
    next.push_back({std::move(child), found->second});
  }
}

// A game that ended with the player alive was ended by a script's
// "terminate", even one that ran a few commands before its turn passed.
Explorer::EndingPlace Explorer::ending_place(const Game& game, std::uint32_t record) const {
  EndingPlace place{record, game.state().vars.health < 1 && !watcher_.terminated ? "death" : "terminate", "",
                    game.state().vars.area};
  if (watcher_.terminated) place.where = sources_->place(*world_, *watcher_.terminated);
  return place;
}

void Explorer::report(ExploreResult& result) {
  report_dead_ends(result);
  report_unreached(result);
  report_choices(result);
  for (const auto& [file, piece] : watcher_.jump_limits) {
    result.findings.push_back(
        finding("jump-limit", sources_->place(*world_, SourcePos{file, piece}) +
                                  ": a run of the script hits the jump limit of 1000000 backward jumps"));
  }
  for (std::int32_t area : pending_bound_areas_) {
    result.findings.push_back(
        finding("pending-bound", "area" + std::to_string(area) + ".txt: the pending messages reach their bound of " +
                                     std::to_string(kMaxPendingMessages) + " and later ones are dropped"));
  }
}

// A state is live when an ending that wins (a "terminate", or any ending in a
// game where none terminates) can be reached from it, or when the search
// stopped before it had tried everything from it. Each dead state whose way
// in comes from a live one is where the game was lost.
void Explorer::report_dead_ends(ExploreResult& result) {
  const std::size_t n = records_.size();
  const auto terminates = [](const EndingPlace& place) { return place.kind == "terminate"; };
  const bool any_terminate = std::any_of(ending_places_.begin(), ending_places_.end(), terminates);
  std::vector<char> live(n, 0);
  std::vector<std::uint32_t> queue;
  for (const EndingPlace& place : ending_places_) {
    if (!any_terminate || terminates(place)) {
      live[place.record] = 1;
      queue.push_back(place.record);
    }
  }
  for (std::uint32_t r = 0; r < n; ++r) {
    if (!records_[r].ending && !records_[r].expanded && !live[r]) {
      live[r] = 1;
      queue.push_back(r);
    }
  }
  // The edges by their end, to walk them backwards.
  std::vector<std::uint32_t> start(n + 1, 0);
  for (const auto& edge : edges_) ++start[edge.second + 1];
  for (std::size_t r = 0; r < n; ++r) start[r + 1] += start[r];
  std::vector<std::uint32_t> sources(edges_.size());
  std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
  for (const auto& edge : edges_) sources[fill[edge.second]++] = edge.first;
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const std::uint32_t r = queue[k];
    for (std::uint32_t e = start[r]; e < start[r + 1]; ++e) {
      if (!live[sources[e]]) {
        live[sources[e]] = 1;
        queue.push_back(sources[e]);
      }
    }
  }
  const std::string lost = any_terminate ? "the game cannot be won" : "no ending can be reached";
  std::set<std::pair<std::int32_t, std::uint32_t>> told;  // area, step
  for (std::uint32_t r = 0; r < n; ++r) {
    const Record& record = records_[r];
    if (record.ending || live[r]) continue;
    if (record.parent != kNoParent && !live[record.parent]) continue;
    if (!told.emplace(record.area, record.step).second) continue;
    ExploreFinding finding{"dead-end", "", true, way_to(r)};
    if (record.parent == kNoParent) {
      finding.text = "from the start " + lost;
    } else {
      const std::string& step = steps_[record.step];
      finding.text = "after ";
      for (std::size_t from = 0; from <= step.size();) {
        std::size_t end = step.find('\n', from);
        if (end == std::string::npos) end = step.size();
        finding.text += (from == 0 ? "" : ", ") + quote_text(std::string_view(step).substr(from, end - from));
        from = end + 1;
      }
      finding.text += " in area " + std::to_string(record.area) + " " + lost;
    }
    result.findings.push_back(std::move(finding));
  }
}

void Explorer::report_unreached(ExploreResult& result) {
  const World& world = coverage_.world();
  const auto file_of = [](const char* kind, std::size_t index) { return kind + std::to_string(index + 1) + ".txt"; };
  for (std::size_t a = 0; a < world.area_count(); ++a) {
    if (coverage_.area_entries(a) == 0) {
      result.findings.push_back(finding("never-entered", file_of("area", a) + ": the area is never entered", true));
      continue;
    }
    const Area& area = world.area(a);
    if (!area.is_subdivided || area.spot_count < 1) continue;
    // The spots stood on are few beside the spots an area may have.
    const auto number = static_cast<std::int32_t>(a + 1);
    std::int64_t stood = 0;
    std::string missed;
    std::int64_t next = 1;
    const auto miss_up_to = [&](std::int64_t end) {
      for (; next < end && missed.size() < 60; ++next) missed += " " + std::to_string(next);
      next = end + 1;
    };
    const auto& spots = coverage_.spots();
    for (auto it = spots.lower_bound({number, 1}); it != spots.end() && it->first == number; ++it) {
      if (it->second > area.spot_count) break;
      ++stood;
      miss_up_to(it->second);
    }
    miss_up_to(std::int64_t{area.spot_count} + 1);
    if (stood < area.spot_count) {
      result.findings.push_back(finding("spots", file_of("area", a) + ": " + std::to_string(area.spot_count - stood) +
                                                     " of " + std::to_string(area.spot_count) +
                                                     " spots never stood on:" + missed +
                                                     (missed.size() >= 60 ? " ..." : "")));
    }
  }
  for (std::size_t e = 0; e < world.enemies.size(); ++e) {
    if (coverage_.fights(e) == 0) {
      result.findings.push_back(
          finding("never-fought", file_of("enemy", e) + ": " + quote_line(world.enemies[e].name) + " is never fought"));
    }
  }
  for (std::size_t i : coverage_.lying_items()) {
    if (coverage_.pickups(i) == 0) {
      result.findings.push_back(finding(
          "never-picked-up", file_of("item", i) + ": " + quote_line(world.items[i].name) + " is never picked up"));
    }
  }
  for (std::size_t f = 0; f < coverage_.files().size(); ++f) {
    for (const auto& [line, tally] : coverage_.files()[f]) {
      if (tally.runs > 0 || !tally.what.starts_with("script")) continue;
      result.findings.push_back(
          finding("never-run", world.source_files[f] + ":" + std::to_string(line) + ": " + tally.what + " never runs"));
    }
  }
}

// The paths and actions of the areas entered that were never chosen, or
// whose use conditions never held, with the variables those conditions read
// that nothing in the game writes.
void Explorer::report_choices(ExploreResult& result) {
  const auto tell = [&](const Choice& choice, const char* kind) {
    const bool chosen = watcher_.chosen.contains(&choice);
    if (chosen && watcher_.succeeded.contains(&choice)) return;
    std::string text = sources_->place(*world_, choice.source) + ": " + kind + " " + quote_line(choice.label);
    if (!chosen) {
      result.findings.push_back(finding("never-chosen", text + " is never chosen"));
      return;
    }
    text += " is chosen but its conditions never hold";
    std::set<std::string> unwritten;
    for (const Condition& condition : choice.use_conditions) {
      for (const Operand* operand : {&condition.test.left, &condition.test.right}) {
        const auto entry = xref_.find(variable_name(*operand));
        if (entry != xref_.end() && entry->second.written.empty()) unwritten.insert(entry->first);
      }
    }
    for (const std::string& name : unwritten) text += "; they read " + name + ", which nothing writes";
    result.findings.push_back(finding("never-succeeded", text));
  };
  for (std::size_t a = 0; a < world_->area_count(); ++a) {
    if (coverage_.area_entries(a) == 0) continue;
    for (const Path& path : world_->area(a).paths) tell(path, "path");
    for (const Action& action : world_->area(a).actions) tell(action, "action");
  }
}

}  // namespace

ExploreResult explore(const std::filesystem::path& game, const ExploreLimits& limits,
                      const std::function<void(const ExploreProgress&)>& progress) {
  Explorer explorer(game, limits, progress);
  return explorer.run();
}

}  // namespace vesk::kit
