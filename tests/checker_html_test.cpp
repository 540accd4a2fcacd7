#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "checker/html_preview.h"
#include "checker/run_checker.h"
#include "support/checker_run.h"
#include "support/memory_files.h"

namespace keyvane::checker {
namespace {

using testing::Check;
using ::testing::HasSubstr;
using testing::MemoryFiles;
using ::testing::Not;
using Json = nlohmann::ordered_json;

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// --- The data the page's script walks ----------------------------------------------------

TEST(PreviewData, EqualBytesShareAnIndexEvenWhereTheirUtf8IsTheSame) {
  // 0x80 and 0xA0 are no characters of code page 932: both read as U+FFFD, yet differ.
  const Json data = PreviewData(Check("#\x80\r\n#\xA0\r\n#APP_PAGE\r\nA.EXE BASE \x80\r\n"), "f");
  const Json& maps = data["maps"];
  ASSERT_EQ(maps.size(), 3u);
  EXPECT_EQ(data["strings"][maps[1]["name"].get<int>()], data["strings"][maps[2]["name"].get<int>()]);
  EXPECT_NE(maps[1]["name"], maps[2]["name"]);
  EXPECT_EQ(data["programPages"][0]["map"], maps[1]["name"]);
}

TEST(PreviewData, CarriesTheFileAsReadForTheEngineAndTheMapsForTheListOfPages) {
  const std::string bytes = "#\r\n#ZED\r\nA KEY A\r\n#ALPHA\r\n#J_KANA\r\n\xFFZ";
  const Json data = PreviewData(Check(bytes), "my file");
  const Json& strings = data["strings"];
  EXPECT_EQ(data["file"], "my file");
  // Base64 of the bytes: three bytes to four digits, "=" filling the last group.
  EXPECT_EQ(data["buttonFile"], "Iw0KI1pFRA0KQSBLRVkgQQ0KI0FMUEhBDQojSl9LQU5BDQr/Wg==");
  ASSERT_EQ(data["maps"].size(), 4u);  // byte order: "", ALPHA, J_KANA, ZED
  EXPECT_EQ(strings[data["maps"][1]["name"].get<int>()], "ALPHA");
  EXPECT_EQ(data["maps"][1]["line"], 4);
  EXPECT_EQ(data["maps"][1]["notes"], Json::array());
  EXPECT_THAT(data["maps"][2]["notes"][0].get<std::string>(), HasSubstr("opens the input method"));
  EXPECT_THAT(data["maps"][3]["notes"][0].get<std::string>(), HasSubstr("the first map"));
  EXPECT_EQ(data["programPages"], Json::array());

  const Json pages = PreviewData(Check("#MAIN\r\n#APP_PAGE\r\nnotepad.exe BASE MAIN\r\n"), "f");
  ASSERT_EQ(pages["programPages"].size(), 1u);
  EXPECT_EQ(pages["strings"][pages["programPages"][0]["program"].get<int>()], "NOTEPAD.EXE");
  EXPECT_EQ(pages["strings"][pages["programPages"][0]["map"].get<int>()], "MAIN");
}

// --- The page ----------------------------------------------------------------------------

TEST(HtmlPreview, DataThatLooksLikeMarkupNeitherEndsTheScriptNorChangesOnTheWay) {
  const CheckResult result = Check("#MAIN\r\n</SCRIPT><!--&X KEY A\r\n");
  const std::string html = HtmlPreview(result, "dovaD.BTN");
  std::string lower = html;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(Count(lower, "</script"), 2u);  // the data's and the page script's own
  EXPECT_EQ(Count(html, "<!--"), 0u);

  const std::string open = "<script type=\"application/json\" id=\"kv-data\">";
  const std::size_t start = html.find(open) + open.size();
  const std::string embedded = html.substr(start, html.find("</script>", start) - start);
  EXPECT_EQ(Json::parse(embedded), PreviewData(result, "dovaD.BTN"));
}

TEST(HtmlPreview, DiagnosticsWithTheirLinesComeBeforeThePanels) {
  const std::string html = HtmlPreview(Check("#MAIN\r\nA KYE <B>\r\n"), "dovaD.BTN");
  EXPECT_THAT(html, HasSubstr("<h2>1 problem</h2>"));
  EXPECT_THAT(html, HasSubstr("<li data-line=\"2\"><span class=\"kv-where\">line 2:</span> unknown command word "
                              "&quot;KYE&quot;"));
  EXPECT_LT(html.find("id=\"kv-diagnostics\""), html.find("id=\"kv-app\""));
  EXPECT_THAT(HtmlPreview(Check("#MAIN\r\nA KEY A\r\n"), "x"), HasSubstr("No problems found."));
}

TEST(HtmlPreview, FileNameIsTextEvenWhenItIsNotUtf8) {
  const std::string html = HtmlPreview(Check("#MAIN\r\n"), "<b>&\xff.btn");
  EXPECT_THAT(html, HasSubstr("<title>Keyvane preview: &lt;b&gt;&amp;\xEF\xBF\xBD.btn</title>"));
  EXPECT_THAT(html, Not(HasSubstr("<b>&")));
}

TEST(HtmlPreview, NeedsNothingBesideItself) {
  const std::string html = HtmlPreview(Check("#MAIN\r\nA KEY A\r\n"), "dovaD.BTN");
  for (const char* fetch : {"src=", "href=", "url(", "@import", "http:", "https:", "fetch(", "XMLHttpRequest"}) {
    EXPECT_THAT(html, Not(HasSubstr(fetch)));
  }
}

// --- The option --------------------------------------------------------------------------

using testing::CheckerRun;
using testing::RunWith;
using testing::WithButtonFile;

TEST(CheckerHtml, WritesThePreviewOverAnOldOneAndStillReports) {
  MemoryFiles files;
  files.files["bad.btn"] = "#MAIN\r\nA KYE A\r\n";
  files.files["out.html"] = "an old preview";
  const CheckerRun run = RunWith(files, {"--html", "out.html", "bad.btn"});
  EXPECT_EQ(run.status, kExitDiagnostics);
  EXPECT_THAT(run.out, HasSubstr("line 2: unknown command word"));
  EXPECT_EQ(files.files["out.html"], HtmlPreview(Check("#MAIN\r\nA KYE A\r\n"), "bad.btn"));
}

TEST(CheckerHtml, NoPreviewOfAFileThatCannotBeRead) {
  MemoryFiles files;
  const CheckerRun run = RunWith(files, {"--html", "out.html", "missing.btn"});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_EQ(files.files.count("out.html"), 0u);
}

// Over the button file: CheckerOutputFile (checker_run_test.cpp).
TEST(CheckerHtml, RefusesOneFileForBothPreviewAndTrace) {
  MemoryFiles files = WithButtonFile("#MAIN\r\n");
  const CheckerRun both = RunWith(files, {"--html", "x.out", "--trace", "x.out"});
  EXPECT_EQ(both.status, kExitError);
  EXPECT_THAT(both.err, HasSubstr("cannot both go to \"x.out\""));
  EXPECT_EQ(files.files.count("x.out"), 0u);
}

}  // namespace
}  // namespace keyvane::checker
