// Small games written to temporary directories for the vesk-kit tests.
#pragma once

#include <map>
#include <sstream>
#include <string>

#include "kit/kit.hpp"
#include "kit/tools.hpp"

namespace vesk::testing {

using Files = std::map<std::string, std::string>;  // file name to content

// A game directory that lives as long as the object.
class GameFiles {
 public:
  explicit GameFiles(const Files& files) {
    for (const auto& [name, content] : files) write(name, content);
  }
  void write(const std::string& name, const std::string& content) { kit::write_file(dir_.path() / name, content); }
  std::string path() const { return dir_.path().string(); }
  std::string file(const std::string& name) const { return dir_.path() / name; }

 private:
  kit::TemporaryDirectory dir_;
};

// The result of one vesk-kit command run in process.
struct KitRun {
  int status = 0;
  std::string out;
  std::string err;
};

inline KitRun run_kit(const kit::Arguments& args, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  KitRun run;
  run.status = kit::run(args, in, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace vesk::testing
