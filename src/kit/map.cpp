// vesk-kit map: the command that writes the world's graph as DOT text or,
// through Graphviz, as SVG.
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "content/world.hpp"
#include "kit/kit.hpp"
#include "kit/map_dot.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

namespace {

namespace fs = std::filesystem;

}  // namespace

int run_map(const Arguments& args, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> directory;
  std::optional<fs::path> output;
  bool svg = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--svg") {
      svg = true;
    } else if (args[i] == "-o" && i + 1 < args.size()) {
      output = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && !directory) {
      directory = args[i];
    } else {
      err << "usage: vesk-kit map [GAME_DIR] [-o FILE] [--svg]\n";
      return kExitUsage;
    }
  }
  const fs::path game = directory.value_or(".");
  const World world = load_world(game);
  if (!world.has_areas()) {
    err << "vesk-kit: no game in " << game << ": area1.txt is missing\n";
    return kExitUsage;
  }
  std::string text = world_map(world);
  if (svg) {
    std::optional<std::string> rendered = render_svg(text, err);
    if (!rendered) return kExitUsage;
    text = std::move(*rendered);
  }
  if (!output) {
    out << text;
    return kExitClean;
  }
  std::ofstream file(*output, std::ios::binary);
  file << text;
  if (!file.flush()) {
    err << "vesk-kit: cannot write " << *output << "\n";
    return kExitUsage;
  }
  return kExitClean;
}

}  // namespace vesk::kit
