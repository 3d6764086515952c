// The console's side of the comforts: the bookmarks' place and transcript files.
#include "kit/comforts.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "front/bookmark.hpp"

namespace vesk::kit {

namespace fs = std::filesystem;

std::optional<fs::path> bookmark_directory(const fs::path& game, const char* xdg_data_home, const char* home) {
  fs::path base;
  if (xdg_data_home && *xdg_data_home && fs::path(xdg_data_home).is_absolute()) {
    base = fs::path(xdg_data_home) / "vesk";
  } else if (home && *home) {
    base = fs::path(home) / ".local" / "share" / "vesk";
  } else {
    return std::nullopt;
  }
  std::error_code error;
  fs::path full = fs::weakly_canonical(fs::absolute(game, error), error);
  if (error) full = fs::absolute(game);
  std::string name = full.filename().string();
  if (name.empty()) name = "game";
  front::Digest where;
  where.add(full.string());
  return base / (name + "-" + where.text().substr(0, 8));
}

std::unique_ptr<std::ostream> open_transcript_file(const std::string& name, std::string& error) {
  auto file = std::make_unique<std::ofstream>(name, std::ios::binary | std::ios::trunc);
  if (!*file) {
    error = std::strerror(errno) + std::string(".");
    return nullptr;
  }
  return file;
}

}  // namespace vesk::kit
