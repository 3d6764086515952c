// vesk-kit publish: checks a game, then writes the page that plays it in a web
// browser, with the engine's web build and the game's content files inside.
#include "kit/publish.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <system_error>
#include <vector>

#include "base/lines.hpp"
#include "base/words.hpp"
#include "kit/checker.hpp"
#include "kit/tools.hpp"

#ifndef VESK_WEB_BUILD_DIR
#define VESK_WEB_BUILD_DIR ""
#endif
#ifndef VESK_WEB_INSTALL_DIR
#define VESK_WEB_INSTALL_DIR ""
#endif

namespace vesk::kit {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPublishUsage =
    "usage: vesk-kit publish [--title TITLE] [--web DIR] (-o FILE.html | --site DIR) [GAME_DIR]\n";

// Text for HTML element content and attribute values.
std::string html_text(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A JSON string that can stand inside a script element: "<" is escaped, so
// no "</script" can end the element early.
std::string json_text(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || c == '<') {
      out += format_text("\\u%04x", byte);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Script text inlined in a script element, where "</script" would end it.
// The engine's and the page's scripts hold it at most inside strings, where
// "<\/script" means the same.
std::string inline_script(std::string_view script) {
  std::string out(script);
  for (std::size_t at = out.find("</script"); at != std::string::npos; at = out.find("</script", at + 2)) {
    out.insert(at + 1, "\\");
  }
  return out;
}

void replace_all(std::string& text, std::string_view marker, std::string_view by) {
  for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + by.size())) {
    text.replace(at, marker.size(), by);
  }
}

// The web files from `directory`, or nothing when one is missing.
std::optional<WebFiles> read_web_files(const fs::path& directory) {
  WebFiles web;
  const std::pair<const char*, std::string*> files[] = {
      {"vesk.js", &web.engine_script}, {"vesk.wasm", &web.engine_wasm}, {"page.html", &web.page_html},
      {"page.css", &web.page_style},   {"page.js", &web.page_script},
  };
  for (const auto& [name, content] : files) {
    std::optional<std::string> bytes = read_file(directory / name);
    if (!bytes) return std::nullopt;
    *content = std::move(*bytes);
  }
  return web;
}

// Where the web files are looked for: the web build of this source tree
// (make web), then where make install put them.
std::vector<fs::path> web_file_places() {
  std::vector<fs::path> places;
  for (const std::string_view place : {std::string_view(VESK_WEB_BUILD_DIR), std::string_view(VESK_WEB_INSTALL_DIR)}) {
    if (!place.empty()) places.emplace_back(place);
  }
  return places;
}

bool write_page(const fs::path& file, std::string_view content, std::ostream& err) {
  if (write_file(file, content)) return true;
  err << "vesk-kit publish: cannot write " << file.string() << "\n";
  return false;
}

}  // namespace

std::string base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3f] : '=';
    }
  }
  return out;
}

std::string published_page(const WebFiles& web, const std::map<std::string, std::string>& game, std::string_view title,
                           PageLayout layout) {
  // The game goes in as data for the page's script: its title (which also
  // keeps its saves apart from other games' in the browser) and its files.
  std::string data = "{\"title\": " + json_text(title) + ", \"files\": {";
  bool first = true;
  for (const auto& [name, bytes] : game) {
    data += (first ? "\n  " : ",\n  ") + json_text(name) + ": \"" + base64(bytes) + "\"";
    first = false;
  }
  data += "}}";

  std::string page = web.page_html;
  replace_all(page, "@TITLE@", html_text(title));
  replace_all(page, "<!--@GAME@-->", R"(<script type="application/json" id="vesk-game">)" + data + "</script>");
  if (layout == PageLayout::kOneFile) {
    replace_all(page, "<!--@STYLE@-->", "<style>\n" + web.page_style + "</style>");
    replace_all(page, "<!--@SCRIPTS@-->",
                R"(<script type="application/octet-stream" id="vesk-wasm">)" + base64(web.engine_wasm) +
                    "</script>\n<script>\n" + inline_script(web.engine_script) + "</script>\n<script>\n" +
                    inline_script(web.page_script) + "</script>");
  } else {
    replace_all(page, "<!--@STYLE@-->", R"(<link rel="stylesheet" href="page.css">)");
    replace_all(page, "<!--@SCRIPTS@-->",
                R"(<script src="vesk.js"></script>)"
                "\n"
                R"(<script src="page.js"></script>)");
  }
  return page;
}

int run_publish(const Arguments& args, std::ostream& out, std::ostream& err) {
  std::optional<std::string> title;
  std::optional<fs::path> output;
  std::optional<fs::path> site;
  std::optional<fs::path> web_directory;
  std::vector<std::string> operands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takes_value = arg == "--title" || arg == "-o" || arg == "--site" || arg == "--web";
    if (takes_value && i + 1 >= args.size()) {
      err << "vesk-kit publish: " << arg << " needs a value\n" << kPublishUsage;
      return kExitUsage;
    }
    if (arg == "--title") {
      title = args[++i];
    } else if (arg == "-o") {
      output = args[++i];
    } else if (arg == "--site") {
      site = args[++i];
    } else if (arg == "--web") {
      web_directory = args[++i];
    } else if (arg == "--help" || arg == "-h") {
      out << kPublishUsage;
      return kExitClean;
    } else if (starts_with(arg, "-") && arg != "-") {
      err << "vesk-kit publish: unknown option \"" << arg << "\"\n" << kPublishUsage;
      return kExitUsage;
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() > 1 || output.has_value() == site.has_value()) {
    err << "vesk-kit publish: one game directory at most, and either -o FILE.html or --site DIR\n" << kPublishUsage;
    return kExitUsage;
  }
  const fs::path directory(operands.empty() ? std::string(".") : operands.front());
  std::error_code error;
  if (!fs::is_regular_file(directory / "area1.txt", error)) {
    err << "vesk-kit publish: no game in \"" << directory.string() << "\": area1.txt is missing\n";
    return kExitUsage;
  }

  // A game is published only when the checker finds no error in it; its
  // warnings and notes are shown, and left to the author.
  // The files are read once, for the check and the page alike.
  const DirectoryFiles game_files(directory);
  std::size_t errors = 0;
  for (const Finding& f : check_game(game_files)) {
    err << (directory / f.file).string() << ":" << f.line << ": " << grade_name(f.grade) << ": " << f.message << " ["
        << f.check << "]\n";
    if (f.grade == Grade::kError) ++errors;
  }
  if (errors > 0) {
    err << "vesk-kit publish: vesk-kit check found " << errors << (errors == 1 ? " error" : " errors")
        << "; nothing published\n";
    return kExitFindings;
  }

  std::optional<WebFiles> web;
  const std::vector<fs::path> places = web_directory ? std::vector<fs::path>{*web_directory} : web_file_places();
  for (const fs::path& place : places) {
    if ((web = read_web_files(place))) break;
  }
  if (!web) {
    err << "vesk-kit publish: the engine's web files (vesk.js, vesk.wasm, page.html, page.css, page.js) are not";
    for (const fs::path& place : places) err << " in " << place.string();
    err << (places.empty() ? " installed" : "") << ".\n"
        << "Build them with 'make web' (it needs emscripten: sudo apt-get install emscripten) and install them "
           "with 'make install', or name their directory with --web DIR.\n";
    return kExitUsage;
  }

  // Every content file that the game can read; the checker has found none
  // that it cannot in the numbering.
  std::map<std::string, std::string> game;
  for (const std::string& name : game_files.names()) {
    const std::optional<std::string>& bytes = game_files.content(name);
    if (is_content_file_name(name) && bytes) game.emplace(name, *bytes);
  }
  if (!title) {
    // The first line of the first area, as the game reads it.
    const Lines lines = split_lines(game_files.content("area1.txt").value_or(std::string()));
    title = !lines.empty() ? lines.front() : std::string("vesk");
    // Its line end, LF or CR LF, is no part of it.
    while (!title->empty() && (title->back() == '\n' || title->back() == '\r')) title->pop_back();
  }

  if (output) {
    return write_page(*output, published_page(*web, game, *title, PageLayout::kOneFile), err) ? kExitClean : kExitUsage;
  }
  fs::create_directories(*site, error);
  const std::pair<const char*, const std::string*> files[] = {{"vesk.js", &web->engine_script},
                                                              {"vesk.wasm", &web->engine_wasm},
                                                              {"page.css", &web->page_style},
                                                              {"page.js", &web->page_script}};
  for (const auto& [name, content] : files) {
    if (!write_page(*site / name, *content, err)) return kExitUsage;
  }
  return write_page(*site / "index.html", published_page(*web, game, *title, PageLayout::kSite), err) ? kExitClean
                                                                                                      : kExitUsage;
}

}  // namespace vesk::kit
