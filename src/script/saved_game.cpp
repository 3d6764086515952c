// Saved games: a plain-text file of the player's state, the variables, the
// items lying in every area, the persistent enemies and the visited areas.
#include "script/saved_game.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <random>
#include <span>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "script/interpreter.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"
#include "state/numbering.hpp"

namespace vesk {

namespace {

namespace fs = std::filesystem;

// Asks for the file name. A name that would leave the game directory is refused.
bool ask_file(GameState& game, fs::path& file) {
  game.out() << "File name?> " << std::flush;
  std::string name;
  game.read_line(name);
  if (name.find('/') != std::string::npos) {
    game.out() << "Error: invalid file name\n";
    return false;
  }
  file = game.directory / (name + ".txt");
  return true;
}

}  // namespace

std::string saved_game_text(GameState& game) {
  const Variables& v = game.vars;
  std::string text = format_text("game %d\nca %d\nsteps %d\nh %d\nm %d\nsel %s\n", v.clock, v.area, v.day_start,
                                 v.health, v.money, game.selected_weapon.c_str());
  for (const InventoryEntry& entry : game.inventory) {
    text += format_text("inv %d %s\n", entry.quantity, entry.name().c_str());
  }
  for (std::size_t entry = 0; entry < game.ammo.size(); ++entry) {
    text += format_text("ammo %d %s\n", game.ammo[entry], game.world().ammo_weapon_name(entry).c_str());
  }
  for (std::size_t i = 0; i < v.numbered.size(); ++i) text += format_text("v%zu %d\n", i + 1, v.numbered[i]);
  for (std::size_t i = 0; i < v.strings.size(); ++i) text += format_text("s%zu %s\n", i + 1, v.strings[i].c_str());
  const std::span<const Area> areas = game.world().all_areas();
  for (std::size_t a = 0; a < areas.size(); ++a) {
    for (const ItemInstance& item : game.area_state(a).items) {
      const auto& iv = item.item_variables;
      const char* name = item.name().c_str();
      text += areas[a].is_subdivided
                  ? format_text("item %zu %d %d %d %d %s\n", a + 1, item.spot, iv[0], iv[1], iv[2], name)
                  : format_text("item %zu %d %d %d %s\n", a + 1, iv[0], iv[1], iv[2], name);
    }
  }
  for (std::size_t a = 0; a < areas.size(); ++a) {
    for (const LiveEnemy& enemy : game.area_state(a).live_enemies) {
      if (!enemy.is_persistent) continue;
      const int definite = enemy.is_definite ? 1 : 0;
      const char* name = enemy.kind->name.c_str();
      text += areas[a].is_subdivided
                  ? format_text("enemy %zu %d %d %d %s\n", a + 1, enemy.spot, enemy.health, definite, name)
                  : format_text("enemy %zu %d %d %s\n", a + 1, enemy.health, definite, name);
    }
  }
  for (std::size_t a = 0; a < areas.size(); ++a) {
    if (game.area_state(a).visited) text += format_text("vis %zu\n", a + 1);
  }
  return text;
}

namespace {

// A saved game is read a whole line at a time: the longest line "sv" writes
// (a long item name after its numbers) is far shorter.
constexpr std::size_t kSavedGameLineCapacity = 65536;

// The temporaries are named ".vesk-save-" and 16 hexadecimal digits, ".tmp".
constexpr std::string_view kTemporaryStart = ".vesk-save-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr std::size_t kTemporaryDigits = 16;

std::string temporary_name(std::uint64_t number) {
  return format_text("%.*s%016llx%.*s", static_cast<int>(kTemporaryStart.size()), kTemporaryStart.data(),
                     static_cast<unsigned long long>(number), static_cast<int>(kTemporaryEnd.size()),
                     kTemporaryEnd.data());
}

bool is_temporary_name(std::string_view name) {
  if (name.size() != kTemporaryStart.size() + kTemporaryDigits + kTemporaryEnd.size()) return false;
  if (!name.starts_with(kTemporaryStart) || !name.ends_with(kTemporaryEnd)) return false;
  const std::string_view digits = name.substr(kTemporaryStart.size(), kTemporaryDigits);
  return std::all_of(digits.begin(), digits.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A save that crashed between writing its temporary and removing it leaves
// the temporary behind. Those older than an hour are no save in progress, so
// they go; only regular files with the temporaries' own name pattern are
// touched, and a failure here never stops the save.
void remove_stale_temporaries(const fs::path& directory) {
  const auto hour_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
  std::error_code error;
  for (fs::directory_iterator entry(directory.empty() ? fs::path(".") : directory, error);
       !error && entry != fs::directory_iterator(); entry.increment(error)) {
    if (!is_temporary_name(entry->path().filename().native())) continue;
    std::error_code failed;
    if (!entry->is_regular_file(failed) || entry->is_symlink(failed)) continue;
    const fs::file_time_type written = entry->last_write_time(failed);
    if (!failed && written < hour_ago) ::unlink(entry->path().c_str());
  }
}

// The seed of the temporary names: whatever varies between runs and processes.
std::uint64_t name_seed() {
  std::uint64_t seed = static_cast<std::uint64_t>(::getpid()) << 32;
  seed ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    seed ^= (std::uint64_t{device()} << 32) | device();
  } catch (...) {
    // Without a device the clock and the process number must do.
  }
  return seed;
}

// Writes `text` to a new temporary file in `directory`, created exclusively
// so that no other file is ever touched; its path, or empty on failure, when
// nothing of it is left. The names are random, so that files left by a crash
// never stand in the way, and short, so that any save name the file system
// takes can be saved.
fs::path write_temporary(const fs::path& directory, std::string_view text) {
  std::mt19937_64 names(name_seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temporary = directory / temporary_name(names());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST || errno == EINTR) continue;
      return {};
    }
    const bool written = write_all(fd, text);
    const bool closed = ::close(fd) == 0;
    if (written && closed) return temporary;
    ::unlink(temporary.c_str());
    return {};
  }
  return {};
}

// Whether a failed link says that the file system (or the platform) makes no
// hard links at all, rather than that this one could not be made. ENOTSUP and
// EOPNOTSUPP are the same number on some systems, not on others.
bool no_hard_links(int error) {
  static constexpr std::array kErrors = {EMLINK, EPERM, ENOTSUP, EOPNOTSUPP, ENOSYS};
  return std::find(kErrors.begin(), kErrors.end(), error) != kErrors.end();
}

// Writes `text` to `file`, created here exclusively; a file left half written
// was ours, so it is removed.
NewFile write_exclusively(const fs::path& file, std::string_view text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? NewFile::kExists : NewFile::kFailed;
  const bool written = write_all(fd, text);
  const bool closed = ::close(fd) == 0;
  if (written && closed) return NewFile::kWritten;
  ::unlink(file.c_str());
  return NewFile::kFailed;
}

std::int32_t word_number(const Words& words, std::size_t index) {
  return index < words.size() ? to_int(words[index]) : 0;
}

// The area that a line names by its number (from 1), with its state; both
// nullptr when there is no such area.
struct NamedArea {
  const Area* area = nullptr;
  AreaState* state = nullptr;
};

NamedArea area_named(GameState& game, const Words& words) {
  const std::int32_t number = word_number(words, 1);
  const Area* area = game.world().nth_area(number);
  if (!area) return {};
  return {area, &game.area_state(static_cast<std::size_t>(number - 1))};
}

void restore_item(GameState& game, const Words& words) {
  const auto [area, state] = area_named(game, words);
  if (!area) return;
  const std::size_t first = area->is_subdivided ? 3 : 2;  // the first item variable
  if (words.size() < first + 4) return;
  const Item* found = game.world().find_item(words_from(words, static_cast<long>(first) + 3));
  if (!found) return;
  ItemInstance item{found};
  if (area->is_subdivided) item.spot = word_number(words, 2);
  for (std::size_t k = 0; k < 3; ++k) item.item_variables[k] = word_number(words, first + k);
  state->items.push_back(item);
}

void restore_enemy(GameState& game, const Words& words) {
  const auto [area, state] = area_named(game, words);
  if (!area || state->live_enemies.size() >= kMaxLiveEnemies) return;
  const std::size_t health = area->is_subdivided ? 3 : 2;
  if (words.size() < health + 3) return;
  const Enemy* found = game.world().find_enemy(words_from(words, static_cast<long>(health) + 2));
  if (!found) return;
  LiveEnemy enemy = LiveEnemy::of(*found);
  if (area->is_subdivided) enemy.spot = word_number(words, 2);
  enemy.health = word_number(words, health);
  enemy.is_definite = word_number(words, health + 1) != 0;
  enemy.is_persistent = true;
  state->live_enemies.push_back(enemy);
}

void restore_line(GameState& game, const Words& words) {
  if (words.size() < 2) return;
  const std::string& key = words[0];
  Variables& v = game.vars;
  if (key == "game") {
    v.clock = to_int(words[1]);
  } else if (key == "steps") {
    v.day_start = to_int(words[1]);
  } else if (key == "ca") {
    if (area_named(game, words).area) v.area = to_int(words[1]);
  } else if (key == "h") {
    v.health = to_int(words[1]);
  } else if (key == "m") {
    v.money = to_int(words[1]);
  } else if (key == "sel") {
    game.selected_weapon = cut(words_from(words, 1), kWeaponNameCapacity);
  } else if (key == "inv") {
    const Item* item = game.world().find_item(words_from(words, 2));
    if (!item) return;
    game.inventory.add(*item, 1);
    game.inventory.entries().back().quantity = to_int(words[1]);
  } else if (key == "ammo") {
    const long entry = game.world().find_ammo(words_from(words, 2));
    if (entry >= 0) game.ammo[static_cast<std::size_t>(entry)] = to_int(words[1]);
  } else if (starts_with(key, "v") && is_integer_text(std::string_view(key).substr(1))) {
    if (std::int32_t* numbered = v.numbered_variable(to_int(std::string_view(key).substr(1)))) {
      *numbered = to_int(words[1]);
    }
  } else if (key == "item") {
    restore_item(game, words);
  } else if (key == "enemy") {
    restore_enemy(game, words);
  } else if (key == "vis") {
    if (AreaState* state = area_named(game, words).state) state->visited = true;
  }
}

// Restored items are numbered by name (and spot, in a subdivided area) as the
// area files number them, and enemies by display name as placing does, so
// that they can be picked up and fought.
void number_restored(AreaState& state, const Area& area) {
  number_area_items(state.items, area.is_subdivided);
  number_by_name(state.live_enemies.all());
}

}  // namespace

void save_game(GameState& game) {
  fs::path file;
  if (!ask_file(game, file)) return;
  // Whatever has the name (a FIFO, a link to a device, a dangling link) is an
  // existing file; it is looked at, never opened.
  std::error_code missing;
  if (fs::exists(fs::symlink_status(file, missing))) {
    game.out() << "Error: file already exists\n";
    return;
  }
  switch (write_new_file(file, saved_game_text(game), ::link)) {
    case NewFile::kWritten:
      break;
    case NewFile::kExists:
      game.out() << "Error: file already exists\n";
      break;
    case NewFile::kFailed:
      game.out() << "Error: could not write file\n";
      break;
  }
}

NewFile write_new_file(const fs::path& file, std::string_view text, LinkFile link) {
  remove_stale_temporaries(file.parent_path());
  const fs::path temporary = write_temporary(file.parent_path(), text);
  if (temporary.empty()) return NewFile::kFailed;
  // Linking never replaces a file that appeared meanwhile, and the name
  // appears with the whole text behind it.
  NewFile result = NewFile::kWritten;
  if (link(temporary.c_str(), file.c_str()) != 0) {
    const int error = errno;
    if (error == EEXIST) {
      result = NewFile::kExists;
    } else if (no_hard_links(error)) {
      result = write_exclusively(file, text);
    } else {
      result = NewFile::kFailed;
    }
  }
  ::unlink(temporary.c_str());
  return result;
}

void load_game(GameState& game) {
  fs::path file;
  if (!ask_file(game, file)) return;
  const std::optional<Lines> lines = read_lines(file, kSavedGameLineCapacity);
  if (!lines) {
    game.out() << "Error: file not found\n";
    return;
  }
  if (!is_saved_game(*lines)) {
    game.out() << "Error: not a saved game\n";
    return;
  }
  restore_game(game, *lines);
}

bool is_saved_game(const Lines& lines) {
  if (lines.empty()) return false;
  const Words words = split_words(lines.front());
  return words.size() == 2 && words[0] == "game" && is_integer_text(words[1]);
}

void restore_game(GameState& game, const Lines& lines) {
  Variables& v = game.vars;
  const std::int32_t area_before = v.area;
  v.clock = v.day_start = 0;
  v.health = 100;
  v.money = 50;
  game.selected_weapon = "strike";
  game.inventory.clear();
  for (std::size_t a = 0; a < game.areas.size(); ++a) {
    AreaState& state = game.area_state(a);
    state.visited = false;
    state.items.clear();
    state.live_enemies.clear();
  }
  for (const std::string_view line : lines) restore_line(game, split_words(line));
  for (std::size_t a = 0; a < game.areas.size(); ++a) number_restored(game.area_state(a), game.world().area(a));
  // The file holds no spot. Only a change of area makes the player enter a
  // subdivided area anew; in the same area the spot and facing stay.
  if (v.area != area_before) game.entry_spot_known = false;
}

}  // namespace vesk
