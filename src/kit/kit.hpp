// vesk-kit: the authors' companion program. Each subcommand is a function of
// its arguments and streams, so tests run it in process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vesk::kit {

// Exit statuses shared by the subcommands.
inline constexpr int kExitClean = 0;     // nothing found, or the run matched
inline constexpr int kExitFindings = 1;  // findings reported, or a replay differed
inline constexpr int kExitUsage = 2;     // no game, or the command line is wrong

using Arguments = std::vector<std::string>;

// Runs `vesk-kit ARGS...` (the program name not included).
int run(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err);

// The subcommands; each gets the arguments after its name.
int run_check(const Arguments& args, std::ostream& out, std::ostream& err);
int run_map(const Arguments& args, std::ostream& out, std::ostream& err);
int run_play(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err);
int run_replay(const Arguments& args, std::ostream& out, std::ostream& err);
int run_xref(const Arguments& args, std::ostream& out, std::ostream& err);
int run_lsp(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err);
int run_explore(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace vesk::kit
