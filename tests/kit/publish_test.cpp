// vesk-kit publish: the page it writes, the checker's errors that stop it and
// the message without the web files.
#include <gtest/gtest.h>

#include <filesystem>

#include "kit/kit_test_support.hpp"
#include "kit/publish.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

const Files kGame = {
    {"msg1.txt", "Hello.\n"},
    {"item1.txt", "rusty key\n"},
    {"area1.txt", "Hall <&> \"one\".\r\n\r\nHall.\r\n\r\nnone\r\n\r\nlook\r\n\r\nitem rusty key\r\n"},
};

// Stand-ins for the web build's files, with every marker of the template.
const Files kWebFiles = {
    {"vesk.js", "var createVesk = 1; // \"</script>\"\n"},
    {"vesk.wasm", std::string("\0asm\x01\0\0\0", 8)},
    {"page.html", "<title>@TITLE@</title><!--@STYLE@--><h1>@TITLE@</h1><!--@GAME@--><!--@SCRIPTS@-->"},
    {"page.css", "body{}\n"},
    {"page.js", "play();\n"},
};

TEST(Publish, Base64OfEveryPaddingAndOfHighBytes) {
  EXPECT_EQ(kit::base64(""), "");
  EXPECT_EQ(kit::base64("f"), "Zg==");
  EXPECT_EQ(kit::base64("fo"), "Zm8=");
  EXPECT_EQ(kit::base64("foo"), "Zm9v");
  EXPECT_EQ(kit::base64("foob"), "Zm9vYg==");
  EXPECT_EQ(kit::base64("\xff\xfe\x00\x80"), "//4=");  // stops at the NUL of the literal
  EXPECT_EQ(kit::base64(std::string("\xff\xfe\x00\x80", 4)), "//4AgA==");
}

TEST(Publish, OneFileHoldsEverythingAndNothingEndsItsScriptsEarly) {
  GameFiles web(kWebFiles);
  GameFiles game(kGame);
  const std::string page_file = game.file("game.html");
  const KitRun run = run_kit({"publish", game.path(), "--web", web.path(), "-o", page_file});
  ASSERT_EQ(run.status, kit::kExitClean) << run.err;
  const std::string page = vesk::read_file(page_file).value_or("");
  // The title is the first line of area1.txt as the game reads it, CR gone,
  // escaped for HTML where it shows and for JSON in the game's data.
  EXPECT_NE(page.find("<title>Hall &lt;&amp;&gt; &quot;one&quot;.</title>"), std::string::npos);
  EXPECT_NE(page.find(R"({"title": "Hall \u003c&> \"one\".")"), std::string::npos);
  // The content files in base64, the saved game beside them left out.
  EXPECT_NE(page.find("\"area1.txt\": \"" + kit::base64(kGame.at("area1.txt")) + "\""), std::string::npos);
  EXPECT_NE(page.find("\"msg1.txt\": \"SGVsbG8uCg==\""), std::string::npos);
  EXPECT_NE(page.find("<script type=\"application/octet-stream\" id=\"vesk-wasm\">AGFzbQEAAAA=</script>"),
            std::string::npos);
  EXPECT_NE(page.find("<style>\nbody{}\n</style>"), std::string::npos);
  EXPECT_NE(page.find(R"(// "<\/script>")"), std::string::npos);
  EXPECT_EQ(page.find("@"), std::string::npos) << "a marker is left";
  EXPECT_EQ(page.find("src=\""), std::string::npos) << "the page refers to another file";
}

TEST(Publish, SavedGamesStayOutAndTitleOptionWins) {
  GameFiles web(kWebFiles);
  Files files = kGame;
  files["mysave.txt"] = "game 0\n";
  GameFiles game(files);
  const KitRun run =
      run_kit({"publish", "--title", "The Hall", "--web", web.path(), "-o", game.file("g.html"), game.path()});
  ASSERT_EQ(run.status, kit::kExitClean) << run.err;
  const std::string page = vesk::read_file(game.file("g.html")).value_or("");
  EXPECT_NE(page.find("<h1>The Hall</h1>"), std::string::npos);
  EXPECT_EQ(page.find("mysave.txt"), std::string::npos);
}

TEST(Publish, SiteRefersToTheEngineBesideThePage) {
  GameFiles web(kWebFiles);
  GameFiles game(kGame);
  const fs::path site = fs::path(game.path()) / "site";
  const KitRun run = run_kit({"publish", game.path(), "--web", web.path(), "--site", site.string()});
  ASSERT_EQ(run.status, kit::kExitClean) << run.err;
  for (const char* name : {"vesk.js", "vesk.wasm", "page.css", "page.js"}) {
    EXPECT_EQ(vesk::read_file(site / name), kWebFiles.at(name)) << name;
  }
  const std::string page = vesk::read_file(site / "index.html").value_or("");
  EXPECT_NE(page.find("<script src=\"vesk.js\"></script>"), std::string::npos);
  EXPECT_NE(page.find("<link rel=\"stylesheet\" href=\"page.css\">"), std::string::npos);
  EXPECT_EQ(page.find("vesk-wasm"), std::string::npos);
}

TEST(Publish, CheckErrorsStopItAndWarningsDoNot) {
  GameFiles web(kWebFiles);
  Files broken = kGame;
  broken["area1.txt"] = "Hall.\n\nHall.\n\nnone\n\nlook\n\nitem golden key\n";
  GameFiles game(broken);
  const KitRun run = run_kit({"publish", game.path(), "--web", web.path(), "-o", game.file("g.html")});
  EXPECT_EQ(run.status, kit::kExitFindings);
  EXPECT_NE(run.err.find("error:"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("nothing published"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(game.file("g.html")));
}

TEST(Publish, WithoutTheWebFilesItSaysWhatToInstall) {
  GameFiles game(kGame);
  Files partial = kWebFiles;
  partial.erase("vesk.wasm");
  GameFiles web(partial);
  const KitRun run = run_kit({"publish", game.path(), "--web", web.path(), "-o", game.file("g.html")});
  EXPECT_EQ(run.status, kit::kExitUsage);
  EXPECT_NE(run.err.find("apt-get install emscripten"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("make web"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(game.file("g.html")));
}

TEST(Publish, CommandLineMistakes) {
  GameFiles game(kGame);
  EXPECT_EQ(run_kit({"publish", game.path()}).status, kit::kExitUsage);  // neither -o nor --site
  EXPECT_EQ(run_kit({"publish", game.path(), "-o", "a.html", "--site", "d"}).status, kit::kExitUsage);
  EXPECT_EQ(run_kit({"publish", game.path(), "-o"}).status, kit::kExitUsage);
  EXPECT_EQ(run_kit({"publish", game.path(), "--frobnicate", "-o", "a.html"}).status, kit::kExitUsage);
  GameFiles empty({});
  EXPECT_NE(run_kit({"publish", empty.path(), "-o", "a.html"}).err.find("area1.txt is missing"), std::string::npos);
}

}  // namespace
}  // namespace vesk::testing
