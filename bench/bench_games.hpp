// The pieces of the generated games that the loading and checking benchmarks
// share: writing a file, the catalogues every generated game starts from, and
// a fresh directory under the system's temporary directory, removed at exit.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace vesk::bench {

inline void write_file(const std::filesystem::path& file, std::string_view content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A message file, a few items (one of them a weapon that fires ammunition)
// and two enemies, one of which leaves ammunition behind.
inline void write_catalogues(const std::filesystem::path& dir) {
  write_file(dir / "msg1.txt", "The wind changes.\nSomewhere a door slams.\n");
  write_file(dir / "item1.txt", "rusty key\n");
  write_file(dir / "item2.txt", "storm lantern\nlamp\n");
  write_file(dir / "item3.txt", "short bow\nweapon 2 5 60\na_30\n");
  write_file(dir / "item4.txt", "iron knife\nweapon 1 4 80\nmelee\nattr iron\n");
  write_file(dir / "enemy1.txt", "rat\n6\n-\nbites you 1 3 50\nscratches you 1 2 60\n\nnone\n\n");
  write_file(dir / "enemy2.txt",
             "marsh wraith\n25\n-\nclaws at you 2 6 55\n\nrusty key 1 1 50\nammo short bow 1 3 40\n\nattr iron 2.0\n");
}

// A directory of its own for one generated game, named `prefix` and a random
// tag, and removed with everything in it when it goes.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& prefix) {
    std::random_device device;
    dir_ = std::filesystem::temp_directory_path() /
           (prefix + "_" + std::to_string(device()) + "_" + std::to_string(device()));
    std::filesystem::create_directories(dir_);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

}  // namespace vesk::bench
