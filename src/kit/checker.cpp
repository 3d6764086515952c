// The content checker: its working context, the checks of the game's files,
// and the findings of every part put in place and order.
#include "kit/checker.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/diagnostics.hpp"
#include "content/keywords.hpp"
#include "content/world.hpp"
#include "kit/check_context.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

// ---------------------------------------------------------------------------
// Reporting.

std::string did_you_mean(const std::string& suggestion) {
  return suggestion.empty() ? std::string() : "; did you mean " + quote_text(suggestion) + "?";
}

void Context::add(std::size_t file, std::size_t piece, Check check, std::string message) {
  pending.push_back(PendingFinding{file, piece, check, std::move(message)});
}

Context::Context(const World& w, Recorder& r) : world(w), rec(r), area_facts(w.area_count()) {
  for (const Item& item : world.items) item_names.add(item.name);
  for (const Enemy& enemy : world.enemies) enemy_names.add(enemy.name);
  for (std::size_t entry = 0; entry < world.ammo.size(); ++entry) weapon_names.add(world.ammo_weapon_name(entry));
  for (std::size_t a = 0; a < rec.areas.size(); ++a) area_by_file.emplace(rec.areas[a].file, a);
}

void Context::add_for_name(const std::string& name, Check check, std::string message) {
  FileInfo info;
  info.name = name;
  const NumberedName numbered = parse_numbered_name(name);
  info.stem = numbered.stem;
  info.number = numbered.number;
  rec.files.push_back(std::move(info));
  add(rec.files.size() - 1, 0, check, std::move(message));
}

std::string Context::piece_text(std::size_t file, std::size_t piece) const {
  const Lines& lines = rec.files[file].lines;
  return piece < lines.size() ? lines[piece] : std::string();
}

const AreaTrace* Context::area_of_file(std::size_t file) const {
  auto it = area_by_file.find(file);
  return it == area_by_file.end() ? nullptr : &rec.areas[it->second];
}

std::string Context::item_hint(std::string_view name) { return did_you_mean(item_names.nearest(std::string(name))); }
std::string Context::enemy_hint(std::string_view name) { return did_you_mean(enemy_names.nearest(std::string(name))); }
std::string Context::weapon_hint(std::string_view name) {
  std::string hint = did_you_mean(weapon_names.nearest(std::string(name)));
  if (hint.empty() && world.find_item(name)) {
    return "; the item " + quote_text(name) +
           R"( is no weapon that fires ammunition (a "weapon" line without "melee"))";
  }
  return hint;
}

// ---------------------------------------------------------------------------
// File checks.

void check_files(Context& ctx, const GameFiles& files) {
  std::map<std::string, std::int32_t> loaded;
  for (const FileInfo& file : ctx.rec.files) {
    if (!file.stem.empty()) loaded[file.stem] = std::max(loaded[file.stem], file.number);
    const auto f = static_cast<std::size_t>(&file - ctx.rec.files.data());
    if (file.pieces == 0) {
      ctx.add(f, 0, Check::kEmptyFile,
              "the file is empty" +
                  std::string(file.stem == "area" ? ", so the area has no description, no paths and no actions"
                                                  : ", so it adds an empty record") +
                  "; fill it in or remove it and renumber the files after it");
    }
    for (std::size_t piece : file.long_pieces) {
      if (piece > 0 &&
          std::find(file.long_pieces.begin(), file.long_pieces.end(), piece - 1) != file.long_pieces.end()) {
        continue;
      }
      ctx.add(f, piece, Check::kTextCut,
              "the line is longer than 254 characters, and the game reads it in pieces of 254, each piece as a line "
              "of its own" +
                  std::string(file.stem == "msg" ? " (later messages move up in the numbering)" : "") +
                  "; break it into shorter lines");
    }
  }
  // The first unread file of each kind after a gap.
  std::map<std::string, std::pair<std::int32_t, std::string>> unread;
  for (const std::string& name : files.names()) {
    const NumberedName numbered = parse_numbered_name(name);
    if (numbered.stem.empty()) continue;
    if (numbered.number == loaded[numbered.stem] + 1 && !files.content(name) && files.refused_size(name) > 0) {
      ctx.add_for_name(name, Check::kTooLarge,
                       format_text("the file holds %llu bytes, and the game reads no file over 256 MiB, so it counts "
                                   "as missing and no %s file from here on is read; split what it holds",
                                   static_cast<unsigned long long>(files.refused_size(name)), numbered.stem.c_str()));
      continue;
    }
    if (numbered.number == loaded[numbered.stem] + 1 && !files.content(name)) {
      ctx.add_for_name(name, Check::kNotAFile,
                       "the game reads regular files only, and this is none (or cannot be read), so it counts as "
                       "missing and no " +
                           numbered.stem + " file from here on is read; make it a plain file");
      continue;
    }
    if (numbered.number <= loaded[numbered.stem] + 1) continue;
    auto [it, fresh] = unread.emplace(numbered.stem, std::make_pair(numbered.number, name));
    if (!fresh && numbered.number < it->second.first) it->second = {numbered.number, name};
  }
  for (const auto& [stem, first] : unread) {
    const std::string missing = stem + std::to_string(loaded[stem] + 1) + ".txt";
    std::string message = format_text(
        "the game reads %s files from %s1.txt up to the first missing number, and %s is missing, so this file and "
        "every later %s file are never read; renumber the files without a gap",
        stem.c_str(), stem.c_str(), missing.c_str(), stem.c_str());
    ctx.add_for_name(first.second, Check::kNumberingGap, std::move(message));
  }
}

// ---------------------------------------------------------------------------
// Assembly: locations to physical lines, suppression, sorting.

namespace {

bool file_order(const FileInfo& a, const FileInfo& b) {
  return std::tie(a.stem, a.number, a.name) < std::tie(b.stem, b.number, b.name);
}

}  // namespace

std::vector<Finding> check_game(const GameFiles& files) {
  Recorder rec;
  const World world = load_world([&](const std::string& name) { return files.content(name); }, &rec);
  Context ctx(world, rec);
  report_loader_faults(ctx);
  check_files(ctx, files);
  check_scripts(ctx);
  check_records(ctx);
  check_world(ctx);

  // Pieces whose line is explained by a finding of its own: a line of the
  // first part read as a keyword line, and the later pieces of a long line.
  std::set<std::pair<std::size_t, std::size_t>> explained;
  for (const RawFault& fault : rec.faults) {
    if (fault.fault == LineFault::kKeywordTrap && rec.files[fault.file].stem == "area") {
      explained.emplace(fault.file, fault.piece);
    }
  }
  for (std::size_t f = 0; f < rec.files.size(); ++f) {
    for (std::size_t piece : rec.files[f].long_pieces) explained.emplace(f, piece + 1);
  }

  std::map<std::size_t, std::vector<std::int64_t>> line_maps;
  std::vector<std::pair<const FileInfo*, Finding>> located;
  std::set<std::tuple<std::size_t, std::size_t, Check, std::string>> seen;
  for (PendingFinding& found : ctx.pending) {
    const bool own = found.check == Check::kKeywordTrap || found.check == Check::kTextCut;
    if (!own && explained.count({found.file, found.piece})) continue;
    if (!seen.emplace(found.file, found.piece, found.check, found.message).second) continue;
    const FileInfo& file = rec.files[found.file];
    auto map = line_maps.find(found.file);
    if (map == line_maps.end()) {
      map = line_maps.emplace(found.file, physical_lines(files.content(file.name).value_or(std::string()))).first;
    }
    const std::vector<std::int64_t>& lines = map->second;
    const std::int64_t line =
        found.piece < lines.size() ? lines[found.piece] : static_cast<std::int64_t>(found.piece) + 1;
    const CheckInfo& check = check_info(found.check);
    located.emplace_back(&file,
                         Finding{file.name, line, check.grade, std::string(check.name), std::move(found.message)});
  }
  std::stable_sort(located.begin(), located.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return file_order(*a.first, *b.first);
    return a.second.line < b.second.line;
  });
  std::vector<Finding> findings;
  findings.reserve(located.size());
  for (auto& entry : located) findings.push_back(std::move(entry.second));
  return findings;
}

}  // namespace vesk::kit
