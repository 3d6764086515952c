// vesk-kit lsp: the framing of messages, the editor's columns, and what the
// server reads each line of a game as; the protocol itself is tested from
// outside, through a client library, in tests/lsp/.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "kit/kit_test_support.hpp"
#include "kit/lsp_game.hpp"
#include "kit/lsp_protocol.hpp"

namespace vesk::testing {
namespace {

using kit::lsp::Role;

TEST(LspFraming, ReadsMessagesBackToBackAndStopsCleanlyAtTheEnd) {
  std::istringstream in(
      "Content-Length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
      "Content-Length: 7\n\n[1,2,3]");
  std::string error;
  EXPECT_EQ(kit::lsp::read_message(in, error), "{}");
  EXPECT_EQ(kit::lsp::read_message(in, error), "[1,2,3]");
  EXPECT_EQ(kit::lsp::read_message(in, error), std::nullopt);
  EXPECT_EQ(error, "");
}

TEST(LspFraming, RefusesBrokenHeadersAndShortBodies) {
  const std::pair<const char*, const char*> cases[] = {
      {"Content-Type: x\r\n\r\n{}", "message without Content-Length"},
      {"Content-Length: 12x\r\n\r\n{}", "bad Content-Length"},
      {"Content-Length: -1\r\n\r\n{}", "bad Content-Length"},
      {"Content-Length: 99999999999999999999\r\n\r\n", "bad Content-Length"},
      {"Content-Length: 10\r\n\r\n{}", "stream ended inside a message"},
      {"Content-Length: 2\r\n", "stream ended inside a header"},
  };
  for (const auto& [input, expected] : cases) {
    std::istringstream in(input);
    std::string error;
    EXPECT_EQ(kit::lsp::read_message(in, error), std::nullopt) << input;
    EXPECT_EQ(error, expected) << input;
  }
  std::istringstream long_header(std::string(2000, 'x'));
  std::string error;
  EXPECT_EQ(kit::lsp::read_message(long_header, error), std::nullopt);
  EXPECT_EQ(error, "header line too long");
}

TEST(LspFraming, WritesTheLengthInBytes) {
  std::ostringstream out;
  kit::lsp::write_message(out, "{\"a\":\"\xC3\xA9\"}");
  EXPECT_EQ(out.str(), "Content-Length: 10\r\n\r\n{\"a\":\"\xC3\xA9\"}");
}

// Editors count columns in UTF-16 units: "é" is one unit of two bytes, a
// character beyond the first plane two units of four bytes, and a stray byte
// of a file that is no UTF-8 one unit.
TEST(LspPositions, MapsColumnsToBytesAndBack) {
  const std::string line =
      "a\xC3\xA9"
      "b\xF0\x9F\x90\x9A"
      "c\xFF"
      "d";
  // a é b 🐚 c \xFF d: columns 0 1 2 3 5 6 7, bytes 0 1 3 4 8 9 10
  const std::pair<std::int64_t, std::size_t> columns[] = {{0, 0}, {1, 1}, {2, 3},  {3, 4},
                                                          {5, 8}, {6, 9}, {7, 10}, {8, 11}};
  for (const auto& [column, byte] : columns) {
    EXPECT_EQ(kit::lsp::byte_of_column(line, column), byte) << column;
    EXPECT_EQ(kit::lsp::column_of_byte(line, byte), column) << byte;
  }
  EXPECT_EQ(kit::lsp::byte_of_column(line, 100), line.size());
  EXPECT_EQ(kit::lsp::byte_of_column("x\xC3", 2), 2U) << "a sequence cut at the end counts as a byte";
}

TEST(LspPositions, SplitsLinesAtLineFeedsOnly) {
  const std::string text = "one\r\ntwo\n\nlast";
  const std::vector<std::size_t> starts = kit::lsp::line_starts(text);
  ASSERT_EQ(starts, (std::vector<std::size_t>{0, 5, 9, 10}));
  EXPECT_EQ(kit::lsp::line_text(text, starts, 0), "one\r");
  EXPECT_EQ(kit::lsp::line_text(text, starts, 2), "");
  EXPECT_EQ(kit::lsp::line_text(text, starts, 3), "last");
  EXPECT_EQ(kit::lsp::line_text(text, starts, 4), "");
}

// A subdivided area whose description has a line that the second pass reads
// again as an item line, an empty paths section written as "none", spot
// rows, a comment and a line that begins with no keyword; an enemy; an item;
// a message file whose long line the reader splits into two messages.
const Files kOutlineGame = {
    {"msg1.txt", "First.\n" + std::string(300, 'x') + "\nThird.\n"},
    {"item1.txt", "rusty key\nlamp\nd 0 msg It creaks.\n"},
    {"enemy1.txt", "rat\n5 hit points\n-\nbites you 1 4 60\n\ncheese\n\ngrapple\n"},
    {"area1.txt",
     "Cellar.\nitems lie around\n\nCellar.\n\nnone\n\npull the lever\n\n"
     "m2\n1 0 2 0 -3\n2 1 0 0 0\n\n"
     "# the lever\n"
     "action 1 cv rusty key held\n"
     "action 1 dp 0 msf 1 3\n"
     "item rusty key 2\n"
     "itme rusty key\n"},
};

std::vector<Role> roles(const kit::lsp::FileOutline& outline) {
  std::vector<Role> list;
  for (const kit::lsp::LineInfo& info : outline.lines) list.push_back(info.role);
  return list;
}

TEST(LspOutline, ReadsEachLineAsTheLoadersDo) {
  const kit::MemoryFiles files(kOutlineGame);
  const kit::lsp::Analysis analysis(files);
  const kit::lsp::FileOutline* area = analysis.file("area1.txt");
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(roles(*area), (std::vector<Role>{Role::kLongDescription, Role::kLongDescription, Role::kSectionEnd,
                                             Role::kShortDescription, Role::kSectionEnd, Role::kNone, Role::kSectionEnd,
                                             Role::kAction, Role::kSectionEnd, Role::kKeyword, Role::kSpotRow,
                                             Role::kSpotRow, Role::kBlank, Role::kComment, Role::kKeyword,
                                             Role::kKeyword, Role::kKeyword, Role::kOther}));
  EXPECT_EQ(area->lines[1].keyword, "item") << "a description line read again as a keyword line";
  EXPECT_EQ(area->lines[7].entry, 1);
  EXPECT_EQ(area->lines[11].entry, 2) << "spot number";
  EXPECT_EQ(area->lines[14].use, LineUse::kActionShow);

  const kit::lsp::FileOutline* enemy = analysis.file("enemy1.txt");
  ASSERT_NE(enemy, nullptr);
  EXPECT_EQ(roles(*enemy), (std::vector<Role>{Role::kName, Role::kHealth, Role::kSkipped, Role::kAttack,
                                              Role::kSectionEnd, Role::kLoot, Role::kSectionEnd, Role::kKeyword}));
  const kit::lsp::FileOutline* item = analysis.file("item1.txt");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(roles(*item), (std::vector<Role>{Role::kName, Role::kKeyword, Role::kKeyword}));

  // The 300-character line is messages 2 and 3; the next line is message 4.
  const kit::lsp::FileOutline* messages = analysis.file("msg1.txt");
  ASSERT_NE(messages, nullptr);
  ASSERT_EQ(messages->lines.size(), 3U);
  EXPECT_EQ(messages->lines[1].entry, 2);
  EXPECT_EQ(messages->lines[2].entry, 4);
}

TEST(LspOutline, FindsNamesAndWhereTheyAreDefined) {
  const kit::MemoryFiles files(kOutlineGame);
  const kit::lsp::Analysis analysis(files);
  // "action 1 cv rusty key held": the item's name spans bytes 12 to 21.
  const auto key = analysis.mention_at("area1.txt", 14, 15);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->kind, kit::XrefEntry::Kind::kItem);
  EXPECT_EQ(key->name, "rusty key");
  EXPECT_EQ(key->begin, 12U);
  EXPECT_EQ(key->end, 21U);
  const auto item_file = analysis.definition(*key);
  ASSERT_TRUE(item_file);
  EXPECT_EQ(item_file->file, "item1.txt");
  EXPECT_EQ(item_file->line, 0U);
  // The definition first, then the area item on spot 2 and the condition.
  std::vector<std::pair<std::string, std::size_t>> places;
  for (const kit::lsp::Place& place : analysis.references(*key)) places.emplace_back(place.file, place.line);
  EXPECT_EQ(places,
            (std::vector<std::pair<std::string, std::size_t>>{{"item1.txt", 0}, {"area1.txt", 14}, {"area1.txt", 16}}));

  // "msf 1 3" shows the long line's second half, which is on line 2 (from 1).
  const auto message = analysis.mention_at("area1.txt", 15, 15);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->kind, kit::XrefEntry::Kind::kMessage);
  const auto line = analysis.definition(*message);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->file, "msg1.txt");
  EXPECT_EQ(line->line, 1U);

  EXPECT_FALSE(analysis.mention_at("area1.txt", 17, 6)) << "a line the game ignores names nothing";
}

TEST(LspOutline, HoverSaysWhatTheLineIsAndWhereAVariableGoes) {
  const kit::MemoryFiles files({{"area1.txt", "Hall.\n\nHall.\n\ndoor 2 30\n\nnone\n\ns 1 = v3 0 a v3 1\n"},
                                {"area2.txt", "Yard.\n\nYard.\n\nback 1 30\n\nnone\n\ns 1 + v3 4 msg Done.\n"}});
  const kit::lsp::Analysis analysis(files);
  EXPECT_EQ(analysis.hover("area1.txt", 4, 0),
            "**area1.txt**, paths section: path 1, \"door\", leads to area 2 (area2.txt) in 30 seconds; `path 1` "
            "takes it");
  EXPECT_EQ(analysis.hover("area1.txt", 4, 5),
            "**area1.txt**, paths section: path 1, \"door\", leads to area 2 (area2.txt) in 30 seconds; `path 1` "
            "takes it\n\n---\narea `2`\n\n- written at nowhere\n- read at area1.txt:5");
  EXPECT_EQ(analysis.hover("area1.txt", 8, 6),
            "**area1.txt**, keyword line `s`\n\n- if `= v3 0`: holds when v3 equals 0\n- then `a v3 1`: adds 1 to "
            "v3\n\n---\nvariable `v3`\n\n- written at area1.txt:9\n- read at area1.txt:9, area2.txt:9");
}

// The hover reads a script line as the engine does: a label's conditions
// are never tested, a count the words cannot fill skips the line, and an
// item's use script knows no labels.
TEST(LspOutline, HoverReadsScriptLinesAsTheEngineDoes) {
  const kit::MemoryFiles files({{"area1.txt",
                                 "Hall.\n\nHall.\n\nnone\n\nnone\n\ns 1 = v3 0 repetition top\ns 2 = v3 0 msg Hi.\n"
                                 "s 1 = v3 0 repeat top\n"},
                                {"item1.txt", "rope\nd 0 repetition top\n"}});
  const kit::lsp::Analysis analysis(files);
  EXPECT_EQ(analysis.hover("area1.txt", 8, 0), "**area1.txt**, keyword line `s`\n\n- labels this line \"top\"");
  EXPECT_EQ(analysis.hover("area1.txt", 9, 0),
            "**area1.txt**, keyword line `s`\n\ntoo few words for its condition count: the line never runs");
  EXPECT_EQ(analysis.hover("area1.txt", 10, 0),
            "**area1.txt**, keyword line `s`\n\n- if `= v3 0`: holds when v3 equals 0\n- jumps back to the label "
            "\"top\"");
  EXPECT_EQ(analysis.hover("item1.txt", 1, 0),
            "**item1.txt**, keyword line `d`\n\n- then `repetition top`: does nothing");
}

TEST(LspServer, AnswersInitializeAndShutsDownOnRequest) {
  const auto frame = [](const nlohmann::json& message) {
    const std::string body = message.dump();
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  };
  const std::string input = frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}}) +
                            frame({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "nosuch"}}) +
                            frame({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "shutdown"}}) +
                            frame({{"jsonrpc", "2.0"}, {"method", "exit"}});
  const KitRun run = run_kit({"lsp"}, input);
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream replies(run.out);
  std::string error;
  const auto first = kit::lsp::read_message(replies, error);
  ASSERT_TRUE(first) << error;
  EXPECT_TRUE(nlohmann::json::parse(*first)["result"]["capabilities"]["hoverProvider"].get<bool>());
  const auto second = kit::lsp::read_message(replies, error);
  ASSERT_TRUE(second) << error;
  EXPECT_EQ(nlohmann::json::parse(*second)["error"]["code"], -32601);
  const auto third = kit::lsp::read_message(replies, error);
  ASSERT_TRUE(third) << error;
  EXPECT_TRUE(nlohmann::json::parse(*third)["result"].is_null());

  // Input that ends without "exit", or "exit" before "shutdown", is an unclean end.
  EXPECT_EQ(run_kit({"lsp"}, frame({{"jsonrpc", "2.0"}, {"method", "exit"}})).status, 1);
  EXPECT_EQ(run_kit({"lsp"}, "").status, 1);
  EXPECT_EQ(run_kit({"lsp", "--debounce", "x"}).status, 2);
}

}  // namespace
}  // namespace vesk::testing
