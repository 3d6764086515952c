// vesk-kit publish: a game as a web page that plays it, one self-contained
// HTML file or a folder of files for a web host.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>

#include "kit/kit.hpp"

namespace vesk::kit {

// What a published page is made of: the engine's web build and the page's
// own files, as `make web` builds them and `make install` installs them.
struct WebFiles {
  std::string engine_script;  // vesk.js
  std::string engine_wasm;    // vesk.wasm
  std::string page_html;      // page.html, the template
  std::string page_style;     // page.css
  std::string page_script;    // page.js
};

// How the page is put together: everything inlined in one file, or the page
// with the engine, the style and the script beside it.
enum class PageLayout { kOneFile, kSite };

// The page for a game whose content files (name to bytes) are `game`, titled
// `title`.
std::string published_page(const WebFiles& web, const std::map<std::string, std::string>& game, std::string_view title,
                           PageLayout layout);

// `bytes` in base64, with padding and without line breaks.
std::string base64(std::string_view bytes);

int run_publish(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace vesk::kit
