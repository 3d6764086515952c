// Shelves: where a front end keeps its bookmarks, by name.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::front {

// Where a front end keeps its bookmarks, by name.
class Shelf {
 public:
  virtual ~Shelf() = default;
  // Keeps `text` under `name` in place of what was there; false, with the
  // reason in `error`, when it cannot.
  virtual bool put(const std::string& name, const std::string& text, std::string& error) = 0;
  virtual std::optional<std::string> get(const std::string& name) const = 0;
  // The names kept, in order.
  virtual std::vector<std::string> names() const = 0;
};

// Bookmarks that last as long as the shelf: for replays and tests.
class MemoryShelf : public Shelf {
 public:
  bool put(const std::string& name, const std::string& text, std::string& error) override;
  std::optional<std::string> get(const std::string& name) const override;
  std::vector<std::string> names() const override;

 private:
  std::map<std::string, std::string> kept_;
};

// Bookmarks as files NAME.bookmark in a directory, made when the first is
// kept; each is written whole to a temporary file and then renamed over the
// old one, so that a bookmark is never seen half written.
class DirectoryShelf : public Shelf {
 public:
  explicit DirectoryShelf(std::filesystem::path directory) : directory_(std::move(directory)) {}
  bool put(const std::string& name, const std::string& text, std::string& error) override;
  std::optional<std::string> get(const std::string& name) const override;
  std::vector<std::string> names() const override;

 private:
  std::filesystem::path directory_;
};

// Writes `text` to `file`, made or emptied first; false when that fails.
bool write_whole_file(const std::filesystem::path& file, std::string_view text);

}  // namespace vesk::front
