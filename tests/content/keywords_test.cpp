// The keyword tables and the one rule that tells keyword lines from others in
// every kind of content file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/keywords.hpp"

namespace {

// The faults a loader reported, as "piece fault subject".
class Faults : public vesk::LoadDiagnostics {
 public:
  void begin_file(std::string_view /*file_name*/, const vesk::Lines& /*lines*/) override {}
  void fault(std::size_t piece, vesk::LineFault fault, std::string_view subject) override {
    heard.push_back(std::to_string(piece) + " " + std::to_string(static_cast<int>(fault)) + " " + std::string(subject));
  }
  void kept(std::size_t /*piece*/, vesk::LineUse /*use*/, std::int32_t /*entry*/) override {}
  std::vector<std::string> heard;
};

std::string heard(vesk::LineFault fault, const std::string& subject) {
  return "0 " + std::to_string(static_cast<int>(fault)) + " " + subject;
}

TEST(Keywords, FlagsAreWholeLinesAndOtherKeywordsBeginLines) {
  const auto effect = [](std::string_view line) {
    const auto* found = vesk::find_keyword(vesk::kAreaKeywords, line);
    return found ? std::string(found->word()) : std::string("none");
  };
  EXPECT_EQ(effect("dark\n"), "dark");
  EXPECT_EQ(effect("dark"), "none");  // a last line without its line end
  EXPECT_EQ(effect("darkness\n"), "none");
  EXPECT_EQ(effect("s 0 msg hi\n"), "s");
  EXPECT_EQ(effect("swimming pool\n"), "none");
  EXPECT_EQ(effect("items\n"), "item");  // a prefix is enough
  // The first keyword in the table's order wins.
  EXPECT_EQ(vesk::find_keyword(vesk::kItemKeywords, "lamp weapon 1 2 3\n")->effect, vesk::ItemEffect::kLamp);
  EXPECT_EQ(vesk::keyword_words(vesk::kEnemyKeywords), (std::vector<std::string>{"grapple", "attr"}));
}

TEST(Keywords, TrapsUnknownLinesAndNearFlags) {
  const auto report = [](bool in_keyword_part, std::string_view line) {
    Faults faults;
    vesk::report_keyword_line(&faults, 0, in_keyword_part, vesk::kAreaKeywords,
                              vesk::find_keyword(vesk::kAreaKeywords, line), line);
    return faults.heard;
  };
  using vesk::LineFault;
  using Heard = std::vector<std::string>;
  EXPECT_EQ(report(false, "item of a description\n"), (Heard{heard(LineFault::kKeywordTrap, "item")}));
  EXPECT_EQ(report(false, "A plain line.\n"), Heard{});
  EXPECT_EQ(report(true, "item key\n"), Heard{});
  EXPECT_EQ(report(true, "dark \n"), (Heard{heard(LineFault::kNearKeyword, "dark")}));
  EXPECT_EQ(report(true, "m2"), (Heard{heard(LineFault::kNearKeyword, "m2")}));
  EXPECT_EQ(report(true, "itme key\n"), (Heard{heard(LineFault::kUnknownKeyword, "")}));
  for (const char* quiet : {"\n", "  \t\n", "# a comment\n"}) EXPECT_EQ(report(true, quiet), Heard{}) << quiet;
}

}  // namespace
