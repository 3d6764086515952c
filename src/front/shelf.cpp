// Shelves of bookmarks: in memory, and as files in a directory.
#include "front/shelf.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>

#include "base/lines.hpp"
#include "front/bookmark.hpp"

namespace vesk::front {

namespace fs = std::filesystem;

bool MemoryShelf::put(const std::string& name, const std::string& text, std::string& /*error*/) {
  kept_[name] = text;
  return true;
}

std::optional<std::string> MemoryShelf::get(const std::string& name) const {
  const auto found = kept_.find(name);
  if (found == kept_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> MemoryShelf::names() const {
  std::vector<std::string> names;
  for (const auto& [name, text] : kept_) names.push_back(name);
  return names;
}

namespace {

constexpr std::string_view kExtension = ".bookmark";

}  // namespace

bool write_whole_file(const fs::path& file, std::string_view text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = write_all(fd, text);
  return ::close(fd) == 0 && written;
}

bool DirectoryShelf::put(const std::string& name, const std::string& text, std::string& error) {
  std::error_code made;
  fs::create_directories(directory_, made);
  if (made) {
    error = "cannot make " + directory_.string() + ": " + made.message() + ".";
    return false;
  }
  const fs::path file = directory_ / (name + std::string(kExtension));
  std::random_device device;
  for (int attempt = 0; attempt < 20; ++attempt) {
    const fs::path temporary = directory_ / ("." + name + "." + std::to_string(device()) + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    const bool written = write_all(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), file.c_str()) == 0) return true;
    const int failure = errno;
    ::unlink(temporary.c_str());
    error = "cannot write " + file.string() + ": " + std::strerror(failure) + ".";
    return false;
  }
  error = "cannot write in " + directory_.string() + ": " + std::strerror(errno) + ".";
  return false;
}

std::optional<std::string> DirectoryShelf::get(const std::string& name) const {
  return read_file(directory_ / (name + std::string(kExtension)));
}

std::vector<std::string> DirectoryShelf::names() const {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(directory_, error); !error && entry != fs::directory_iterator();
       entry.increment(error)) {
    const std::string file = entry->path().filename().string();
    if (!file.ends_with(kExtension)) continue;
    const std::string name = file.substr(0, file.size() - kExtension.size());
    if (front::is_bookmark_name(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vesk::front
