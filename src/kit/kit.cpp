// vesk-kit's command line: the subcommand names and the usage text.
#include "kit/kit.hpp"
#include "kit/publish.hpp"

#include <istream>
#include <ostream>
#include <string_view>

namespace vesk::kit {

namespace {

constexpr std::string_view kUsage =
    "usage: vesk-kit COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  check [GAME_DIR]    report every content line the engine drops or reads\n"
    "                      in a surprising way\n"
    "  map [GAME_DIR]      draw the world as a Graphviz graph\n"
    "  play [GAME_DIR]     play with a fixed seed and record a walkthrough\n"
    "  xref [GAME_DIR] [NAME]\n"
    "                      where each variable, item, enemy, label, area and\n"
    "                      message line is written and read\n"
    "  replay [GAME_DIR] FILE.walk...\n"
    "                      replay walkthroughs and compare their transcripts;\n"
    "                      --trace FILE and --coverage show inside the runs\n"
    "  explore [GAME_DIR]  play every path from the start: the endings, the dead\n"
    "                      ends and what no play reaches\n"
    "  publish [GAME_DIR] -o FILE.html | --site DIR\n"
    "                      write a web page that plays the game\n"
    "  lsp                 the language server for editors, on standard input\n"
    "                      and output\n"
    "\n"
    "See vesk-kit(6) for the options of each command.\n";

// The subcommands by name; a new one is one more row.
struct Command {
  std::string_view name;
  int (*run)(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err);
};

constexpr Command kCommands[] = {
    {"check", [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_check(a, o, e); }},
    {"map", [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_map(a, o, e); }},
    {"xref", [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_xref(a, o, e); }},
    {"play", run_play},
    {"replay", [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_replay(a, o, e); }},
    {"explore",
     [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_explore(a, o, e); }},
    {"publish",
     [](const Arguments& a, std::istream&, std::ostream& o, std::ostream& e) { return run_publish(a, o, e); }},
    {"lsp", run_lsp},
};

}  // namespace

int run(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  const std::string& command = args.front();
  const Arguments rest(args.begin() + 1, args.end());
  for (const Command& known : kCommands) {
    if (known.name == command) return known.run(rest, in, out, err);
  }
  if (command == "help" || command == "--help" || command == "-h") {
    out << kUsage;
    return kExitClean;
  }
  err << "vesk-kit: unknown command \"" << command << "\"\n" << kUsage;
  return kExitUsage;
}

}  // namespace vesk::kit
