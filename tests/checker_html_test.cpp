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

const Json& MapNamed(const Json& data, const std::string& name) {
  for (const Json& map : data["maps"]) {
    if (data["strings"][map["name"].get<int>()] == name) return map;
  }
  throw std::runtime_error("no map " + name);
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// --- The data the page's script walks ----------------------------------------------------

TEST(PreviewData, EqualBytesShareAnIndexEvenWhereTheirUtf8IsTheSame) {
  // 0x80 and 0xA0 are no characters of code page 932: both read as U+FFFD, yet differ.
  const Json data = PreviewData(Check("#MAIN\r\nMAIN JP SUB\r\n\x80 KEY A\r\n\xA0 KEY B\r\n#SUB\r\n"), "f");
  const Json& main = MapNamed(data, "MAIN");
  const Json& positions = main["positions"];
  EXPECT_EQ(positions[0]["caption"], main["name"]);
  EXPECT_EQ(positions[0]["target"], MapNamed(data, "SUB")["name"]);
  EXPECT_EQ(data["strings"][positions[1]["caption"].get<int>()], data["strings"][positions[2]["caption"].get<int>()]);
  EXPECT_NE(positions[1]["caption"], positions[2]["caption"]);
}

TEST(PreviewData, OnlyTheAliasSpelledInMixedCaseIsTheAlias) {
  const Json data = PreviewData(Check("#MAIN\r\n***DEEFFAAUULLTTMAAPP*** JP X\r\nX JP ***DefaultMap***\r\n"), "f");
  const Json& positions = MapNamed(data, "MAIN")["positions"];
  EXPECT_EQ(data["strings"][data["alias"].get<int>()], "***DefaultMap***");
  EXPECT_EQ(positions[0]["caption"], data["alias"]);  // the caption rules spell it exactly
  EXPECT_NE(positions[1]["target"], data["alias"]);   // a target is upper-cased: another name
}

TEST(PreviewData, DefinitionsCarryKindKeysTargetAndTheirCaptionEvenWithoutAction) {
  const Json data = PreviewData(Check("#MAIN\r\nCCOOPPYY KEY CTRL+C\r\nX FOO\r\nG BASE MAIN\r\n"), "f");
  const Json& positions = MapNamed(data, "MAIN")["positions"];
  ASSERT_EQ(positions.size(), 14u);
  EXPECT_EQ(data["strings"][positions[0]["caption"].get<int>()], "copy");
  EXPECT_EQ(positions[0]["kind"], "KEY");
  EXPECT_EQ(positions[0]["keys"], (Json{"Ctrl", "C"}));
  EXPECT_EQ(positions[0]["action"], "KEY Ctrl+C");
  // A line without action still has its caption: the right-click cycle compares it.
  EXPECT_EQ(positions[1]["kind"], "NONE");
  EXPECT_EQ(data["strings"][positions[1]["caption"].get<int>()], "X");
  EXPECT_EQ(positions[1]["action"], "");
  EXPECT_EQ(positions[2]["action"], "BASE MAIN");
  EXPECT_TRUE(positions[3].is_null());
}

TEST(PreviewData, NamesTheFirstAndDefaultMapAndTheMapsTheKeyboardLooksUp) {
  const Json data = PreviewData(Check("#\r\n#ZED\r\nA KEY A\r\n#ALPHA\r\n"), "my file");
  const Json& strings = data["strings"];
  EXPECT_EQ(data["file"], "my file");
  EXPECT_EQ(strings[data["firstMap"].get<int>()], "ZED");
  EXPECT_EQ(strings[data["defaultMap"].get<int>()], "ZED");
  EXPECT_EQ(strings[data["rightClickMap"].get<int>()], "RIGHT_BTN_PAGE");
  EXPECT_EQ(strings[data["slideMap"].get<int>()], "SLIDE_CMD");
  ASSERT_EQ(data["maps"].size(), 3u);  // byte order: "", ALPHA, ZED
  EXPECT_EQ(strings[data["maps"][1]["name"].get<int>()], "ALPHA");
  EXPECT_EQ(data["maps"][1]["line"], 4);
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

TEST(CheckerHtml, RefusesToWriteOverTheButtonFileOrTheTrace) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = "#MAIN\r\n";
  const CheckerRun over = RunWith(files, {"--html", "dovaD.BTN", "dovaD.BTN"});
  EXPECT_EQ(over.status, kExitError);
  EXPECT_THAT(over.err, HasSubstr("is the button file itself"));
  EXPECT_EQ(files.files["dovaD.BTN"], "#MAIN\r\n");
  const CheckerRun both = RunWith(files, {"--html", "x.out", "--trace", "x.out"});
  EXPECT_EQ(both.status, kExitError);
  EXPECT_THAT(both.err, HasSubstr("cannot both go to \"x.out\""));
  EXPECT_EQ(files.files.count("x.out"), 0u);
}

TEST(CheckerHtml, UnwritablePreviewIsAnError) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = "#MAIN\r\nA KEY A\r\n";
  files.unwritable.insert("out.html");
  const CheckerRun run = RunWith(files, {"--html=out.html"});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_THAT(run.err, HasSubstr("cannot write the preview file \"out.html\""));
}

}  // namespace
}  // namespace keyvane::checker
