// The game: the one object that owns the state of a game being played, and the
// turn loop that runs it pass by pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "content/world.hpp"
#include "core/random.hpp"
#include "inventory/inventory.hpp"

namespace vesk {

// How a game ended; the program maps it to an exit status.
enum class Ending {
  kQuit,        // the player typed "quit"
  kInputEnded,  // standard input ended at the prompt
  kGameOver,    // death or the "terminate" script command
  kNoGame,      // the directory holds no area1.txt
};

// The game variables that scripts reach by name.
struct Variables {
  std::int32_t game = 0;   // the clock in seconds
  std::int32_t steps = 0;  // the clock value at which the current day began
  std::int32_t htcw = 8;
  std::int32_t ca = 1;  // current area, always a valid area number
  std::int32_t prev = 0;
  std::int32_t a2 = -1;  // the player's spot in a subdivided area
  std::int32_t air = 100;
  std::int32_t air2 = 0;
  std::int32_t dt1 = 0;
  std::int32_t dt2 = 0;
  std::int32_t h = 100;
  std::int32_t m = 50;
  std::string damage_cause1;
  std::string damage_cause2;
  std::vector<std::int32_t> numbered;  // v1, v2, ...
  std::vector<std::string> strings;    // s1, s2, ...
};

// The damage numbers of the selected weapon, rewritten by every attack.
struct WeaponProfile {
  std::int32_t min_damage = 1;
  std::int32_t max_damage = 10;
  std::int32_t hit_chance = 50;
};

// Turn results of the commands: no turn passed (the prompt comes again), a
// turn passed without a move; above 0, a move.
inline constexpr std::int32_t kNoTurn = -1;
inline constexpr std::int32_t kTurn = 0;

inline constexpr std::size_t kPendingMessageCapacity = 1019;
inline constexpr std::size_t kWeaponNameCapacity = 126;
inline constexpr std::size_t kDamageCauseCapacity = 126;

class Game {
 public:
  // `directory` is where saved games are written and read.
  Game(World world, std::istream& in, std::ostream& out, std::uint32_t seed, std::filesystem::path directory = ".");
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Runs the turn loop until the game ends. A game that ends by quitting,
  // death or "terminate" reads two characters of input before returning.
  Ending run();

  Area& current_area() { return world.areas[static_cast<std::size_t>(vars.ca - 1)]; }
  // Answers an entry that names nothing: "Entry invalid." and no turn.
  std::int32_t invalid_entry();
  // Expands `text` and queues it for the area view.
  void add_pending_message(std::string_view text);
  // Reads one line of at most 254 characters, cut at its line end; false at
  // the end of the input.
  bool read_line(std::string& line);

  World world;
  Variables vars;
  Inventory inventory;
  std::string selected_weapon = "strike";
  WeaponProfile weapon;
  Random rng;
  std::istream& in;
  std::ostream& out;
  std::filesystem::path directory;

  bool view_due = true;
  bool game_over = false;
  std::int32_t last_noted_area = 1;
  bool has_lamp = false;
  bool has_armor = false;
  bool grappled = false;
  std::int32_t current_water_level = 0;
  bool subdivided_now = false;
  bool entry_spot_known = false;
  std::int32_t facing = -1;

  // What the last area view listed: the direction letters of a subdivided
  // spot, and the path and action numbers (1-based) behind each listed number.
  std::string path_letters;
  std::vector<std::size_t> path_numbering;
  std::vector<std::size_t> action_numbering;
  std::int32_t current_weekday = 0;
  std::int32_t current_hour = 0;

  // The item whose item variables the "vi" operands of conditions read: an
  // inventory entry, or an item of the current area.
  struct ItemRef {
    enum class Place { kNone, kInventory, kArea } place = Place::kNone;
    std::size_t index = 0;
  };
  ItemRef current_item;
  const Item* current_item_record();

  // The path that the path command chose: the area it was given in and the
  // path's number there.
  struct PathChoice {
    std::int32_t area = 1;
    std::size_t path = 1;
  };
  PathChoice chosen_path;

  // One run of a script makes at most this many backward jumps, so that a
  // faulty loop cannot hold the game for ever.
  long jump_limit = 1000000;

  std::vector<std::string> pending_messages;
  std::string input_line;
  std::int32_t turn_result = -1;

 private:
  void run_pass_start();
  void show_due_view();
  void run_prompt_loop();
  void end_pass();
  void take_lasting_damage(std::int32_t strength, const std::string& cause);
  void dispatch();
  void end_program();

  // Messages queued before the prompt of the previous pass opened; the next
  // pass drops exactly these, so messages queued by commands survive into
  // the view that follows them.
  std::size_t pending_shown_ = 0;
  bool input_ended_ = false;
  bool quit_ = false;
};

// Starts a game from the content files in `directory`: prints the banner,
// loads the world and plays it with input `in`, output `out` and the random
// generator seeded with `seed`.
Ending play(const std::filesystem::path& directory, std::istream& in, std::ostream& out, std::uint32_t seed);

}  // namespace vesk
