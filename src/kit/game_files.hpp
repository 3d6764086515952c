// The files of a game for the kit's commands: the names in its directory and
// the content of each, read once through the game's own reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vesk::kit {

// The files of a game directory. Each is read once, when first asked for,
// and kept: the loaders, the line numbers of findings and the quotes of lines
// all work on that one reading.
class GameFiles {
 public:
  virtual ~GameFiles() = default;
  // Every entry of the directory, regular files or not.
  virtual std::vector<std::string> names() const = 0;
  // The file's content as the game reads it, or nothing where the game finds
  // no file (none there, or no regular file).
  const std::optional<std::string>& content(const std::string& name) const;
  // The size of a file that the game refused for its size (over 256 MiB), or
  // 0; known once its content has been asked for.
  std::uint64_t refused_size(const std::string& name) const {
    const auto found = refused_.find(name);
    return found == refused_.end() ? 0 : found->second;
  }

 protected:
  virtual std::optional<std::string> read(const std::string& name) const = 0;
  // Notes that `name` was refused for its size.
  void refuse(const std::string& name, std::uint64_t size) const { refused_[name] = size; }

 private:
  mutable std::map<std::string, std::optional<std::string>, std::less<>> read_;
  mutable std::map<std::string, std::uint64_t, std::less<>> refused_;
};

// A game directory on disk, read through the game's own reader.
class DirectoryFiles : public GameFiles {
 public:
  explicit DirectoryFiles(std::filesystem::path directory) : directory_(std::move(directory)) {}
  std::vector<std::string> names() const override;

 protected:
  std::optional<std::string> read(const std::string& name) const override;

 private:
  std::filesystem::path directory_;
};

// A game held in memory, file name to content; for tests and benchmarks.
class MemoryFiles : public GameFiles {
 public:
  explicit MemoryFiles(std::map<std::string, std::string> files) : files_(std::move(files)) {}
  std::vector<std::string> names() const override;

 protected:
  std::optional<std::string> read(const std::string& name) const override;

 private:
  std::map<std::string, std::string> files_;
};

// The files of a game as an editor holds them: the texts of the files open in
// it, unsaved edits and all, over the files of `base` for the rest. The base is
// read through its own cache, so a new overlay for every edit reads no file
// from the disk again.
class OverlayFiles : public GameFiles {
 public:
  OverlayFiles(const GameFiles& base, const std::map<std::string, std::string>& open) : base_(base), open_(open) {}
  std::vector<std::string> names() const override;

 protected:
  std::optional<std::string> read(const std::string& name) const override;

 private:
  const GameFiles& base_;
  const std::map<std::string, std::string>& open_;
};

}  // namespace vesk::kit
