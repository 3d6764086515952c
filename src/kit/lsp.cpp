// vesk-kit lsp: the language server for game files. It speaks JSON-RPC on
// standard input and output, holds the game directory of every opened file
// with the editor's unsaved texts, checks it after each pause in typing and
// answers questions about its lines and names. It never writes a file and
// never plays the game.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "base/words.hpp"
#include "content/keywords.hpp"
#include "content/script_code.hpp"
#include "kit/checker.hpp"
#include "kit/kit.hpp"
#include "kit/lsp_game.hpp"
#include "kit/lsp_protocol.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
using lsp::Analysis;
using lsp::FileOutline;
using lsp::Role;

constexpr const char* kLspUsage = "usage: vesk-kit lsp [--debounce MS]\n";
constexpr int kDefaultDebounceMs = 200;

// The semantic token types, in the order of the legend sent to the editor.
enum Token : int {
  kKeywordToken,
  kStringToken,
  kNumberToken,
  kVariableToken,
  kClassToken,
  kEnumToken,
  kCommentToken,
  kLabelToken,
  kFunctionToken
};
const char* const kTokenTypes[] = {"keyword",    "string",  "number", "variable", "class",
                                   "enumMember", "comment", "label",  "function"};

// JSON-RPC error codes.
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidRequest = -32600;

std::string dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string uri_of(const std::filesystem::path& file) {
  std::string uri = "file://";
  constexpr std::string_view kPlain = "-._~/";
  for (const char c : file.string()) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || kPlain.find(c) != std::string_view::npos) {
      uri += c;
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri;
}

std::optional<std::filesystem::path> path_of(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (!uri.starts_with(kScheme)) return std::nullopt;
  uri.remove_prefix(kScheme.size());
  std::string path;
  for (std::size_t at = 0; at < uri.size(); ++at) {
    const auto hex = [](char c) {
      return c >= '0' && c <= '9'   ? c - '0'
             : c >= 'a' && c <= 'f' ? c - 'a' + 10
             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                    : -1;
    };
    if (uri[at] == '%' && at + 2 < uri.size() + 0 && hex(uri[at + 1]) >= 0 && hex(uri[at + 2]) >= 0) {
      path += static_cast<char>(hex(uri[at + 1]) * 16 + hex(uri[at + 2]));
      at += 2;
    } else {
      path += uri[at];
    }
  }
  return std::filesystem::path(path).lexically_normal();
}

// One game directory with the files open in the editor.
struct Game {
  std::filesystem::path directory;
  std::unique_ptr<DirectoryFiles> disk;
  std::map<std::string, std::string> open;
  std::optional<Analysis> analysis;   // worked out when first asked, after each change
  std::map<std::string, json> shown;  // the diagnostics last sent for each file
  std::optional<Clock::time_point> check_due;

  const Analysis& analysed() {
    if (!analysis) {
      const OverlayFiles files(*disk, open);
      analysis.emplace(files);
    }
    return *analysis;
  }
};

// Messages read on their own thread, so that the server can wait for either a
// message or the end of a pause in typing.
class Inbox {
 public:
  void push(std::optional<json> message) {
    {
      const std::lock_guard lock(mutex_);
      messages_.push_back(std::move(message));
    }
    ready_.notify_one();
  }
  // The next message; nothing at the end of input; `timeout` when `until`
  // came first.
  std::optional<json> pop(std::optional<Clock::time_point> until, bool& timeout) {
    std::unique_lock lock(mutex_);
    timeout = false;
    if (until) {
      if (!ready_.wait_until(lock, *until, [&] { return !messages_.empty(); })) {
        timeout = true;
        return std::nullopt;
      }
    } else {
      ready_.wait(lock, [&] { return !messages_.empty(); });
    }
    std::optional<json> message = std::move(messages_.front());
    messages_.pop_front();
    return message;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::optional<json>> messages_;
};

class Server {
 public:
  Server(std::ostream& out, std::ostream& err, std::chrono::milliseconds debounce)
      : out_(out), err_(err), debounce_(debounce) {}

  int run(std::istream& in) {
    // Reading a tied stream flushes the output, which the reader thread must
    // never touch: only this thread writes.
    in.tie(nullptr);
    Inbox inbox;
    std::thread reader([&] {
      std::string error;
      while (true) {
        std::optional<std::string> body = lsp::read_message(in, error);
        if (!body) break;
        json message = json::parse(*body, nullptr, false);
        const bool exit = message.is_object() && message.value("method", "") == "exit";
        inbox.push(std::move(message));
        if (exit) return;
      }
      if (!error.empty()) err_ << "vesk-kit lsp: " << error << "\n";
      inbox.push(std::nullopt);
    });
    int status = 1;
    while (true) {
      bool timeout = false;
      const std::optional<json> message = inbox.pop(next_check(), timeout);
      if (timeout) {
        check_due_games();
        continue;
      }
      if (!message) break;
      if (message->is_object() && message->value("method", "") == "exit") {
        status = shut_down_ ? 0 : 1;
        break;
      }
      handle(*message);
    }
    reader.join();
    return status;
  }

 private:
  void send(const json& message) { lsp::write_message(out_, dump(message)); }
  void reply(const json& id, json result) { send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}); }
  void fail(const json& id, int code, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", text}}}});
  }

  void handle(const json& message) {
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
      if (message.is_object() && message.contains("id")) fail(message["id"], kInvalidRequest, "no method");
      return;
    }
    const std::string method = message["method"];
    const json params = message.value("params", json::object());
    const bool request = message.contains("id");
    try {
      std::optional<json> result = dispatch(method, params);
      if (request) {
        if (result) {
          reply(message["id"], std::move(*result));
        } else {
          fail(message["id"], kMethodNotFound, "unknown method " + method);
        }
      }
    } catch (const json::exception& error) {
      if (request) fail(message["id"], kInvalidRequest, error.what());
    }
  }

  // The result of a request, null for a notification, or nothing for a
  // method the server does not know.
  std::optional<json> dispatch(const std::string& method, const json& params) {
    if (method == "initialize") return capabilities();
    if (method == "initialized") return nullptr;
    if (method == "shutdown") {
      shut_down_ = true;
      return nullptr;
    }
    if (method == "textDocument/didOpen") return opened(params["textDocument"]);
    if (method == "textDocument/didChange") return changed(params);
    if (method == "textDocument/didSave") return saved(params["textDocument"]);
    if (method == "textDocument/didClose") return closed(params["textDocument"]);
    if (method == "textDocument/hover") return hover(params);
    if (method == "textDocument/definition") return definition(params);
    if (method == "textDocument/references") return references(params);
    if (method == "textDocument/rename") return rename(params);
    if (method == "textDocument/documentSymbol") return symbols(params);
    if (method == "textDocument/semanticTokens/full") return tokens(params);
    if (method == "textDocument/completion") return completion(params);
    if (method == "textDocument/codeAction") return code_actions(params);
    if (method.starts_with("$/")) return nullptr;
    return std::nullopt;
  }

  json capabilities() const {
    json legend = json::array();
    for (const char* type : kTokenTypes) legend.push_back(type);
    return {{"capabilities",
             {{"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
              {"hoverProvider", true},
              {"definitionProvider", true},
              {"referencesProvider", true},
              {"renameProvider", true},
              {"documentSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
              {"completionProvider", {{"triggerCharacters", {" "}}}},
              {"semanticTokensProvider",
               {{"legend", {{"tokenTypes", legend}, {"tokenModifiers", json::array()}}}, {"full", true}}}}},
            {"serverInfo", {{"name", "vesk-kit lsp"}}}};
  }

  // The game and file name of a document; nothing for a file outside a game.
  std::pair<Game*, std::string> document(const json& text_document, bool create = false) {
    const auto path = path_of(text_document.at("uri").get<std::string>());
    if (!path) return {nullptr, {}};
    const std::filesystem::path directory = path->parent_path();
    auto found = games_.find(directory);
    if (found == games_.end()) {
      if (!create) return {nullptr, {}};
      Game game;
      game.directory = directory;
      game.disk = std::make_unique<DirectoryFiles>(directory);
      found = games_.emplace(directory, std::move(game)).first;
    }
    return {&found->second, path->filename().string()};
  }

  void edited(Game& game, bool now) {
    game.analysis.reset();
    const Clock::time_point due = now ? Clock::now() : Clock::now() + debounce_;
    game.check_due = due;
  }

  json opened(const json& text_document) {
    auto [game, name] = document(text_document, true);
    if (!game) return nullptr;
    game->open[name] = text_document.at("text").get<std::string>();
    edited(*game, true);
    return nullptr;
  }

  json changed(const json& params) {
    auto [game, name] = document(params["textDocument"]);
    if (!game) return nullptr;
    // Whole texts only: the server asks for full synchronisation.
    for (const json& change : params["contentChanges"]) game->open[name] = change.at("text").get<std::string>();
    edited(*game, false);
    return nullptr;
  }

  json saved(const json& text_document) {
    auto [game, name] = document(text_document);
    if (!game) return nullptr;
    // Files saved may have changed others on the disk too: read them afresh.
    game->disk = std::make_unique<DirectoryFiles>(game->directory);
    edited(*game, true);
    return nullptr;
  }

  json closed(const json& text_document) {
    auto [game, name] = document(text_document);
    if (!game) return nullptr;
    game->open.erase(name);
    game->disk = std::make_unique<DirectoryFiles>(game->directory);
    edited(*game, true);
    return nullptr;
  }

  std::optional<Clock::time_point> next_check() const {
    std::optional<Clock::time_point> next;
    for (const auto& [directory, game] : games_) {
      if (game.check_due && (!next || *game.check_due < *next)) next = game.check_due;
    }
    return next;
  }

  void check_due_games() {
    const Clock::time_point now = Clock::now();
    for (auto& [directory, game] : games_) {
      if (game.check_due && *game.check_due <= now) {
        game.check_due.reset();
        publish(game);
      }
    }
  }

  // Checks the game as the editor holds it and sends the diagnostics of each
  // file whose list changed since it was last sent, so that a change in one
  // file of a large game sends one list, not one for every file with a note.
  void publish(Game& game) {
    const OverlayFiles files(*game.disk, game.open);
    std::map<std::string, json> by_file;
    std::map<std::string, std::vector<std::size_t>> starts_of;
    for (const Finding& finding : check_game(files)) {
      const std::optional<std::string>& content = files.content(finding.file);
      const std::string_view text = content ? std::string_view(*content) : std::string_view();
      auto starts = starts_of.find(finding.file);
      if (starts == starts_of.end()) starts = starts_of.emplace(finding.file, lsp::line_starts(text)).first;
      const std::size_t line = finding.line > 0 ? static_cast<std::size_t>(finding.line - 1) : 0;
      const std::string_view line_text = lsp::line_text(text, starts->second, line);
      const int severity = finding.grade == Grade::kError ? 1 : finding.grade == Grade::kWarning ? 2 : 3;
      json& list = by_file[finding.file];
      if (list.is_null()) list = json::array();
      list.push_back(
          {{"range", range(line, 0, line, lsp::column_of_byte(line_text, without_line_end(line_text).size()))},
           {"severity", severity},
           {"code", finding.check},
           {"source", "vesk-kit"},
           {"message", finding.message}});
    }
    // Open files hear that they have no findings, the rest only that their
    // findings are gone.
    for (const auto& [file, text] : game.open) by_file.try_emplace(file, json::array());
    for (const auto& [file, list] : game.shown) by_file.try_emplace(file, json::array());
    for (auto& [file, list] : by_file) {
      const auto shown = game.shown.find(file);
      if (shown != game.shown.end() && shown->second == list) continue;
      send_diagnostics(game, file, list);
      game.shown[file] = std::move(list);
    }
    std::erase_if(game.shown, [&](const auto& entry) { return entry.second.empty() && !game.open.count(entry.first); });
  }

  void send_diagnostics(const Game& game, const std::string& file, json list) {
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", uri_of(game.directory / file)}, {"diagnostics", std::move(list)}}}});
  }

  // A decimal number as the content files write one: a sign, then digits.
  static bool is_number_word(std::string_view word) {
    if (!word.empty() && (word.front() == '-' || word.front() == '+')) word.remove_prefix(1);
    return !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
  }

  static json position(std::size_t line, std::int64_t character) { return {{"line", line}, {"character", character}}; }
  static json range(std::size_t line, std::int64_t from, std::size_t end_line, std::int64_t to) {
    return {{"start", position(line, from)}, {"end", position(end_line, to)}};
  }

  // The game, file, outline, line and byte of a request's position.
  struct At {
    Game* game = nullptr;
    std::string file;
    const FileOutline* outline = nullptr;
    std::size_t line = 0;
    std::size_t byte = 0;
  };

  At at(const json& params) {
    At where;
    auto [game, name] = document(params["textDocument"]);
    if (!game) return where;
    where.game = game;
    where.file = name;
    where.outline = game->analysed().file(name);
    const json& position = params["position"];
    where.line = position.at("line").get<std::size_t>();
    if (where.outline && where.line < where.outline->lines.size()) {
      where.byte = lsp::byte_of_column(where.outline->line(where.line), position.at("character").get<std::int64_t>());
    } else {
      where.outline = nullptr;
    }
    return where;
  }

  json location(const Game& game, const Analysis& analysis, const lsp::Place& place) const {
    const FileOutline* outline = analysis.file(place.file);
    const std::string_view text = outline ? outline->line(place.line) : std::string_view();
    return {{"uri", uri_of(game.directory / place.file)},
            {"range", range(place.line, lsp::column_of_byte(text, place.begin), place.line,
                            lsp::column_of_byte(text, place.end))}};
  }

  json hover(const json& params) {
    const At where = at(params);
    if (!where.outline) return nullptr;
    const std::string text = where.game->analysed().hover(where.file, where.line, where.byte);
    if (text.empty()) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
  }

  json definition(const json& params) {
    const At where = at(params);
    if (!where.outline) return nullptr;
    const Analysis& analysis = where.game->analysed();
    const auto mention = analysis.mention_at(where.file, where.line, where.byte);
    if (!mention) return nullptr;
    const auto place = analysis.definition(*mention);
    if (!place) return nullptr;
    return location(*where.game, analysis, *place);
  }

  json references(const json& params) {
    const At where = at(params);
    json list = json::array();
    if (!where.outline) return list;
    const Analysis& analysis = where.game->analysed();
    const auto mention = analysis.mention_at(where.file, where.line, where.byte);
    if (!mention) return list;
    for (const lsp::Place& place : analysis.references(*mention)) {
      list.push_back(location(*where.game, analysis, place));
    }
    return list;
  }

  json rename(const json& params) {
    const At where = at(params);
    if (!where.outline) return nullptr;
    const Analysis& analysis = where.game->analysed();
    const auto mention = analysis.mention_at(where.file, where.line, where.byte);
    // Labels alone: a label is one word and lives in one file, so a new name
    // changes nothing else.
    if (!mention || mention->kind != XrefEntry::Kind::kLabel) return nullptr;
    const std::string name = params.at("newName").get<std::string>();
    if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos) return nullptr;
    json changes = json::object();
    for (const lsp::Place& place : analysis.references(*mention)) {
      json edit = location(*where.game, analysis, place);
      const std::string uri = edit["uri"];
      changes[uri].push_back({{"range", edit["range"]}, {"newText", name}});
    }
    return {{"changes", changes}};
  }

  json symbols(const json& params) {
    auto [game, name] = document(params["textDocument"]);
    json list = json::array();
    if (!game) return list;
    const FileOutline* outline = game->analysed().file(name);
    if (!outline) return list;
    // Each run of lines of one role is a section, from its first line to its
    // last (the blank lines between sections belong to none); keyword lines
    // and entries are its children.
    std::optional<std::size_t> section;
    Role section_role = Role::kOther;
    std::size_t first = 0;
    std::size_t last = 0;
    auto close = [&] {
      if (!section) return;
      const std::string_view text = outline->line(last);
      list[*section]["range"] = range(first, 0, last, lsp::column_of_byte(text, text.size()));
      list[*section]["selectionRange"] = range(first, 0, first, 0);
    };
    for (std::size_t line = 0; line < outline->lines.size(); ++line) {
      const lsp::LineInfo& info = outline->lines[line];
      if (info.role == Role::kBlank || info.role == Role::kSectionEnd || info.role == Role::kComment) continue;
      const Role group = info.role == Role::kSpotRow || info.role == Role::kOther ? Role::kKeyword : info.role;
      if (!section || group != section_role) {
        close();
        list.push_back({{"name", section_name(group)}, {"kind", 3}, {"children", json::array()}});
        section = list.size() - 1;
        section_role = group;
        first = line;
      }
      last = line;
      const std::string_view text = outline->line(line);
      const std::string label = entry_name(info, text);
      if (!label.empty()) {
        const json whole = range(line, 0, line, lsp::column_of_byte(text, text.size()));
        list[*section]["children"].push_back(
            {{"name", label}, {"kind", entry_kind(info)}, {"range", whole}, {"selectionRange", whole}});
      }
    }
    close();
    return list;
  }

  static const char* section_name(Role role) {
    switch (role) {
      case Role::kName:
        return "name";
      case Role::kLongDescription:
        return "long description";
      case Role::kShortDescription:
        return "short description";
      case Role::kPath:
      case Role::kNone:
        return "paths";
      case Role::kAction:
        return "actions";
      case Role::kHealth:
        return "health";
      case Role::kSkipped:
        return "unread line";
      case Role::kAttack:
        return "attacks";
      case Role::kLoot:
        return "loot";
      case Role::kMessage:
        return "messages";
      default:
        return "keyword lines";
    }
  }

  static int entry_kind(const lsp::LineInfo& info) {
    switch (info.role) {
      case Role::kPath:
      case Role::kAction:
        return 12;  // function
      case Role::kSpotRow:
        return 20;  // key
      case Role::kMessage:
        return 15;  // string
      default:
        return 7;  // property
    }
  }

  static std::string entry_name(const lsp::LineInfo& info, std::string_view text) {
    const std::string shown = join_words(word_views(text), 0, 99);
    switch (info.role) {
      case Role::kPath:
        return "path " + std::to_string(info.entry) + ": " + shown;
      case Role::kAction:
        return "action " + std::to_string(info.entry) + ": " + shown;
      case Role::kSpotRow:
        return "spot " + std::to_string(info.entry);
      case Role::kMessage:
        return "line " + std::to_string(info.entry) + (shown.empty() ? "" : ": " + shown);
      case Role::kKeyword:
      case Role::kAttack:
      case Role::kLoot:
      case Role::kName:
      case Role::kHealth:
        return shown.empty() ? std::string(info.keyword) : shown;
      default:
        return {};
    }
  }

  json tokens(const json& params) {
    auto [game, name] = document(params["textDocument"]);
    json data = json::array();
    if (!game) return {{"data", data}};
    const Analysis& analysis = game->analysed();
    const FileOutline* outline = analysis.file(name);
    if (!outline) return {{"data", data}};
    std::set<std::string_view> commands;
    for (const CommandWord& word : command_words()) commands.insert(word.word);
    std::size_t last_line = 0;
    std::int64_t last_start = 0;
    auto emit = [&](std::size_t line, std::string_view text, std::size_t begin, std::size_t end, int type) {
      if (end <= begin) return;
      const std::int64_t start = lsp::column_of_byte(text, begin);
      const std::int64_t length = lsp::column_of_byte(text, end) - start;
      data.push_back(line - last_line);
      data.push_back(line == last_line ? start - last_start : start);
      data.push_back(length);
      data.push_back(type);
      data.push_back(0);
      last_line = line;
      last_start = start;
    };
    for (std::size_t line = 0; line < outline->lines.size(); ++line) {
      const lsp::LineInfo& info = outline->lines[line];
      const std::string_view text = outline->line(line);
      const std::size_t size = without_line_end(text).size();
      switch (info.role) {
        case Role::kComment:
          emit(line, text, 0, size, kCommentToken);
          continue;
        case Role::kLongDescription:
        case Role::kShortDescription:
        case Role::kMessage:
        case Role::kAction:
        case Role::kSkipped:
        case Role::kNone:
          emit(line, text, 0, size, kStringToken);
          continue;
        case Role::kName:
          emit(line, text, 0, size, kClassToken);
          continue;
        case Role::kOther:
        case Role::kBlank:
        case Role::kSectionEnd:
          continue;
        default:
          break;
      }
      const std::vector<lsp::Mention> mentions = analysis.mentions(name, line);
      const std::vector<lsp::WordSpan> words = lsp::word_spans(text);
      const bool list_line = info.use && *info.use >= LineUse::kPathShow && *info.use <= LineUse::kActionFailure;
      for (std::size_t k = 0; k < words.size(); ++k) {
        const std::size_t begin = words[k].begin;
        const std::size_t end = begin + without_line_end(words[k].text).size();
        const std::string_view word = text.substr(begin, end - begin);
        const auto in = std::find_if(mentions.begin(), mentions.end(),
                                     [&](const lsp::Mention& m) { return begin >= m.begin && end <= m.end; });
        int type = -1;
        if (k == 0 && info.role == Role::kKeyword) {
          type = kKeywordToken;
        } else if (in != mentions.end()) {
          type = in->kind == XrefEntry::Kind::kItem || in->kind == XrefEntry::Kind::kEnemy     ? kClassToken
                 : in->kind == XrefEntry::Kind::kLabel                                         ? kLabelToken
                 : in->kind == XrefEntry::Kind::kArea || in->kind == XrefEntry::Kind::kMessage ? kNumberToken
                                                                                               : kVariableToken;
          if (in->kind == XrefEntry::Kind::kMessage && word == "msf") type = kFunctionToken;
        } else if (list_line && k == 2) {
          type = kEnumToken;
        } else if (is_number_word(word)) {
          type = kNumberToken;
        } else if (commands.count(word)) {
          type = kFunctionToken;
        } else if (info.role == Role::kPath) {
          type = kStringToken;
        }
        if (type >= 0) emit(line, text, begin, end, type);
      }
    }
    return {{"data", data}};
  }

  json completion(const json& params) {
    const At where = at(params);
    json items = json::array();
    if (!where.outline) return items;
    const Analysis& analysis = where.game->analysed();
    const std::string_view text = where.outline->line(where.line);
    const std::vector<lsp::WordSpan> words = lsp::word_spans(text.substr(0, where.byte));
    const bool fresh_word = where.byte == 0 || text[where.byte - 1] == ' ';
    const std::size_t index = words.empty() ? 0 : words.size() - (fresh_word ? 0 : 1);
    auto add = [&](std::string_view label, int kind, const char* detail) {
      items.push_back({{"label", std::string(label)}, {"kind", kind}, {"detail", detail}});
    };
    if (index == 0) {
      auto keywords = [&](const auto& table) {
        for (const auto& keyword : table) add(keyword.word(), 14, "keyword");
      };
      switch (where.outline->kind) {
        case lsp::FileKind::kArea:
          keywords(kAreaKeywords);
          break;
        case lsp::FileKind::kItem:
          keywords(kItemKeywords);
          break;
        case lsp::FileKind::kEnemy:
          keywords(kEnemyKeywords);
          break;
        default:
          break;
      }
      return items;
    }
    if (index == 2 && (words[0].text == "path" || words[0].text == "action")) {
      constexpr const char* kListDetails[] = {"condition for listing it", "condition for taking it",
                                              "script when the conditions hold", "script when they do not"};
      for (std::size_t k = 0; k < kListCodes.size(); ++k) add(kListCodes[k], 12, kListDetails[k]);
      return items;
    }
    for (const Item& item : analysis.world().items) add(item.name, 7, "item");
    for (const Enemy& enemy : analysis.world().enemies) add(enemy.name, 8, "enemy");
    for (const CommandWord& word : command_words()) add(word.word, 3, "command");
    for (const std::string_view named : kNamedVariableNames) add(named, 6, "variable");
    return items;
  }

  json code_actions(const json& params) {
    json actions = json::array();
    auto [game, name] = document(params["textDocument"]);
    if (!game) return actions;
    const Analysis& analysis = game->analysed();
    const FileOutline* outline = analysis.file(name);
    if (!outline) return actions;
    for (const json& diagnostic : params["context"].value("diagnostics", json::array())) {
      const std::string message = diagnostic.value("message", "");
      const std::size_t hint = message.find("; did you mean \"");
      const std::size_t first = message.find('"');
      if (hint == std::string::npos || first == std::string::npos || first >= hint) continue;
      const std::size_t wrong_end = message.find('"', first + 1);
      const std::size_t right_begin = hint + std::string_view("; did you mean \"").size();
      const std::size_t right_end = message.find('"', right_begin);
      if (wrong_end == std::string::npos || right_end == std::string::npos) continue;
      const std::string wrong = message.substr(first + 1, wrong_end - first - 1);
      const std::string right = message.substr(right_begin, right_end - right_begin);
      const std::size_t line = diagnostic["range"]["start"].value("line", std::size_t{0});
      if (line >= outline->lines.size() || wrong.empty()) continue;
      const std::string_view text = outline->line(line);
      const std::size_t at = text.rfind(wrong);
      if (at == std::string_view::npos) continue;
      const json edit = {
          {"range", range(line, lsp::column_of_byte(text, at), line, lsp::column_of_byte(text, at + wrong.size()))},
          {"newText", right}};
      std::string title = "Change ";
      title += quote_text(wrong);
      title += " to ";
      title += quote_text(right);
      actions.push_back({{"title", title},
                         {"kind", "quickfix"},
                         {"diagnostics", json::array({diagnostic})},
                         {"isPreferred", true},
                         {"edit", {{"changes", {{uri_of(game->directory / name), json::array({edit})}}}}}});
    }
    return actions;
  }

  std::ostream& out_;
  std::ostream& err_;
  std::chrono::milliseconds debounce_;
  std::map<std::filesystem::path, Game> games_;
  bool shut_down_ = false;
};

}  // namespace

int run_lsp(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err) {
  int debounce = kDefaultDebounceMs;
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--debounce" && k + 1 < args.size() && whole_number(args[k + 1], debounce) && debounce >= 0) {
      ++k;
    } else if (args[k] == "--stdio") {
      // Editors' clients add it to say how they talk; standard streams are all there is.
    } else if (args[k] == "--help" || args[k] == "-h") {
      out << kLspUsage;
      return kExitClean;
    } else {
      err << "vesk-kit lsp: unknown option \"" << args[k] << "\"\n" << kLspUsage;
      return kExitUsage;
    }
  }
  Server server(out, err, std::chrono::milliseconds(debounce));
  return server.run(in);
}

}  // namespace vesk::kit
