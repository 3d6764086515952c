// vesk-kit check: every content line that the engine drops or reads in a
// surprising way, reported like a compiler would.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/words.hpp"
#include "kit/checker.hpp"
#include "kit/kit.hpp"

namespace vesk::kit {

namespace {

constexpr std::string_view kCheckUsage =
    "usage: vesk-kit check [--json] [--ignore NAME,...] [GAME_DIR]\n"
    "       vesk-kit check --list\n";

// A text as a JSON string, by the JSON library: content files need not be
// UTF-8, and a byte that is not becomes U+FFFD, so any file gives valid JSON.
std::string json_string(std::string_view text) {
  return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string counted(std::size_t count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

}  // namespace

int run_check(const Arguments& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  std::set<std::string, std::less<>> ignored;
  std::vector<std::string> operands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--ignore" || starts_with(arg, "--ignore=")) {
      std::string list;
      if (arg == "--ignore") {
        if (i + 1 >= args.size()) {
          err << "vesk-kit check: --ignore needs a list of check names\n" << kCheckUsage;
          return kExitUsage;
        }
        list = args[++i];
      } else {
        list = arg.substr(9);
      }
      for (const std::string& name : split_words(list, ",")) {
        if (!find_check(name)) {
          err << "vesk-kit check: there is no check named \"" << name << "\" (see vesk-kit(6))\n";
          return kExitUsage;
        }
        ignored.insert(name);
      }
    } else if (arg == "--list") {
      for (const CheckInfo& check : all_checks()) {
        out << check.name << " " << grade_name(check.grade) << ": " << check.summary << "\n";
      }
      return kExitClean;
    } else if (arg == "--help" || arg == "-h") {
      out << kCheckUsage;
      return kExitClean;
    } else if (starts_with(arg, "-") && arg != "-") {
      err << "vesk-kit check: unknown option \"" << arg << "\"\n" << kCheckUsage;
      return kExitUsage;
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() > 1) {
    err << "vesk-kit check: one game directory at most\n" << kCheckUsage;
    return kExitUsage;
  }
  const std::filesystem::path directory(operands.empty() ? std::string(".") : operands.front());
  std::error_code error;
  if (!std::filesystem::is_regular_file(directory / "area1.txt", error)) {
    err << "vesk-kit check: no game in \"" << directory.string() << "\": area1.txt is missing\n";
    return kExitUsage;
  }

  std::vector<Finding> findings = check_game(DirectoryFiles(directory));
  findings.erase(std::remove_if(findings.begin(), findings.end(),
                                [&](const Finding& finding) { return ignored.count(finding.check) > 0; }),
                 findings.end());
  // File names as the author would open them from here.
  const bool here = operands.empty() || directory == ".";
  auto shown = [&](const std::string& file) { return here ? file : (directory / file).string(); };
  std::size_t counts[3] = {0, 0, 0};
  for (const Finding& finding : findings) ++counts[static_cast<int>(finding.grade)];

  if (json) {
    out << "{\"findings\": [";
    for (std::size_t k = 0; k < findings.size(); ++k) {
      const Finding& f = findings[k];
      out << (k ? ",\n  " : "\n  ") << "{\"file\": " << json_string(shown(f.file)) << ", \"line\": " << f.line
          << R"(, "grade": ")" << grade_name(f.grade) << R"(", "check": )" << json_string(f.check)
          << ", \"message\": " << json_string(f.message) << "}";
    }
    out << (findings.empty() ? "" : "\n") << "], \"errors\": " << counts[0] << ", \"warnings\": " << counts[1]
        << ", \"notes\": " << counts[2] << "}\n";
  } else {
    for (const Finding& f : findings) {
      out << shown(f.file) << ":" << f.line << ": " << grade_name(f.grade) << ": " << f.message << " [" << f.check
          << "]\n";
    }
    out << counted(counts[0], "error") << ", " << counted(counts[1], "warning") << ", " << counted(counts[2], "note")
        << "\n";
  }
  return findings.empty() ? kExitClean : kExitFindings;
}

}  // namespace vesk::kit
