// The files of a game, each read once: from a directory through the game's
// own reader, or from memory.
#include "kit/game_files.hpp"

#include <filesystem>
#include <set>

#include "base/lines.hpp"

namespace vesk::kit {

const std::optional<std::string>& GameFiles::content(const std::string& name) const {
  auto found = read_.find(name);
  if (found == read_.end()) found = read_.emplace(name, read(name)).first;
  return found->second;
}

std::vector<std::string> DirectoryFiles::names() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory_, error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::optional<std::string> DirectoryFiles::read(const std::string& name) const {
  std::uint64_t too_large = 0;
  std::optional<std::string> content = read_file(directory_ / name, &too_large);
  if (too_large > 0) refuse(name, too_large);
  return content;
}

std::vector<std::string> MemoryFiles::names() const {
  std::vector<std::string> names;
  for (const auto& [name, content] : files_) names.push_back(name);
  return names;
}

std::optional<std::string> MemoryFiles::read(const std::string& name) const {
  auto it = files_.find(name);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

// The directory's names and those of files open but not yet saved.
std::vector<std::string> OverlayFiles::names() const {
  std::vector<std::string> names = base_.names();
  std::set<std::string, std::less<>> known(names.begin(), names.end());
  for (const auto& [name, text] : open_) {
    if (known.insert(name).second) names.push_back(name);
  }
  return names;
}

std::optional<std::string> OverlayFiles::read(const std::string& name) const {
  const auto open = open_.find(name);
  if (open != open_.end()) return open->second;
  return base_.content(name);
}

}  // namespace vesk::kit
