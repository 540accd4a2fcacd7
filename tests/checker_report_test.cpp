#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "btnfile/cp932.h"
#include "checker/html_preview.h"
#include "checker/json_report.h"
#include "checker/plain_report.h"
#include "checker/run_checker.h"
#include "support/checker_run.h"
#include "support/memory_files.h"
#include "support/sjis.h"

namespace keyvane::checker {
namespace {

using testing::Check;
using testing::Fixture;
using ::testing::HasSubstr;
using testing::MemoryFiles;
using ::testing::Not;
using testing::Recode;
using testing::Sjis;
using testing::WithButtonFile;

std::string Plain(const std::string& fileBytes) { return PlainReport(Check(fileBytes), "dovaD.BTN"); }

nlohmann::json Json(const std::string& fileBytes) { return nlohmann::json::parse(JsonReport(Check(fileBytes))); }

// --- The plain report --------------------------------------------------------------------

TEST(PlainReport, LaysOutRowsWithTheLeftButtonBeforeTheRightOne) {
  const std::string report = Plain("#MAIN\nTAABB KEY TAB\nCCOOPPYY KEY CTRL+C\nUP KEY UP\nX JP MAIN\n");
  EXPECT_THAT(report, HasSubstr("       left panel       right panel\n"
                                "  1    [Tab] KEY Tab    [copy] KEY Ctrl+C\n"
                                "  2    [UP]  KEY Up     [X]    JP MAIN\n"));
  EXPECT_THAT(report, HasSubstr("dovaD.BTN: 1 map; the panels start with map MAIN."));
}

TEST(PlainReport, ShowsJapaneseAsUtf8AndAlignsByTerminalColumns) {
  const std::string report = Plain(Sjis("#J_KANA\nかな KEY A\n英 KEY B\nカナ KEY C\nX KEY D\n"));
  EXPECT_THAT(report, HasSubstr("#J_KANA  (line 1; the first map: the panels start here; Japanese input"));
  // かな is four columns wide, ｶﾅ (half-width after the caption rules) two.
  EXPECT_THAT(report, HasSubstr("  1    [かな] KEY A    [英] KEY B\n"));
  EXPECT_THAT(report, HasSubstr("  2    [ｶﾅ]   KEY C    [X]  KEY D\n"));
}

TEST(PlainReport, MarksButtonsThatComeFromTheFirstMap) {
  const std::string report = Plain("#MAIN\nA KEY A\nB KEY B\nC KEY C\n#NUM\n1 KEY 1\n");
  EXPECT_THAT(report, HasSubstr("#NUM  (line 5)\n"));
  EXPECT_THAT(report, HasSubstr("  1    [1] KEY 1    *[B] KEY B\n"
                                "  2   *[C] KEY C     []\n"));
}

TEST(PlainReport, ButtonThatFitsNoFormIsBlankAndNotFilledFromTheFirstMap) {
  const std::string report = Plain("#MAIN\nA KEY A\nB KEY B\n#NUM\nX KYE 1\n");
  EXPECT_THAT(report, HasSubstr("#NUM  (line 4)\n       left panel    right panel\n  1    []           *[B] KEY B\n"));
}

TEST(PlainReport, SaysWhatEachKindDoes) {
  const std::string report =
      Plain("#MAIN\nA BASE MAIN\nB REKEY\nC KEYTOG CTRL+C\nD EXEC \"NOTE PAD.EXE\"\nMINIMAM\nE KEY +\nMENUPOP\n");
  EXPECT_THAT(report, HasSubstr("BASE MAIN"));
  EXPECT_THAT(report, HasSubstr("[B] REKEY\n"));
  EXPECT_THAT(report, HasSubstr("KEYTOG Ctrl+C (holds Ctrl+C down until pressed again)"));
  EXPECT_THAT(report, HasSubstr("EXEC NOTE PAD.EXE (starts NOTE PAD.EXE)"));
  EXPECT_THAT(report, HasSubstr("[MINIMAM] MINIMAM (makes the panels a small tab; a tap on it brings them back)"));
  EXPECT_THAT(report, HasSubstr("KEY (no keys)"));
  EXPECT_THAT(report, HasSubstr("[MENUPOP] MENUPOP (opens the notification icon's menu beside the button)"));
}

TEST(Reports, TellHowLongEachMapHoldsItsKeys) {
  const std::string file = "#MAIN\nA KEY A\nKEYWAIT 40\n#GAME\nB KEY B\nKEYWAIT 200\n#NUM\n1 KEY 1\n";
  const std::string plain = Plain(file);
  EXPECT_THAT(plain, HasSubstr("#GAME  (line 4; keys stay down 200 ms)\n"));
  EXPECT_THAT(plain, HasSubstr("#NUM  (line 7; keys stay down 40 ms, as on the first map)\n"));
  EXPECT_THAT(plain, HasSubstr("[KEYWAIT] KEYWAIT 40 (keys of this page stay down 40 ms)"));
  const nlohmann::json json = Json(file);
  EXPECT_EQ(json["maps"][0]["name"], "GAME");
  EXPECT_EQ(json["maps"][0]["key_hold_ms"], 200);
  EXPECT_EQ(json["maps"][1]["key_hold_ms"], 40);
  EXPECT_EQ(json["maps"][2]["key_hold_ms"], 40);
  EXPECT_EQ(json["maps"][1]["positions"][1]["hold_ms"], 40);
  EXPECT_FALSE(Json("#MAIN\nA KEY A\n")["maps"][0].contains("key_hold_ms"));
}

TEST(PlainReport, PositionsFourteenToSixteenOnlyWhenSet) {
  std::string file = "#MAIN\n";
  for (int i = 0; i < 15; ++i) file += "K" + std::to_string(i) + " KEY A\n";
  const std::string report = Plain(file);
  EXPECT_THAT(report, HasSubstr("  definition line 15, never shown or run:  [K14] KEY A\n"));
  EXPECT_THAT(report, Not(HasSubstr("definition line 16")));
}

TEST(PlainReport, ListsProblemsWithTheirLinesOrSaysThereAreNone) {
  EXPECT_THAT(Plain("#MAIN\nA KEY A\n"), HasSubstr("\nNo problems found.\n"));
  const std::string report = Plain(Sjis("#MAIN\nかな KYE A\n"));
  EXPECT_THAT(report, HasSubstr("\n1 problem:\n  line 2: unknown command word \"KYE\""));
  EXPECT_THAT(Plain(""), HasSubstr("dovaD.BTN: 0 maps, no first map: every button is blank.\n\n1 problem:\n"
                                   "  dovaD.BTN: no map at all"));
}

TEST(PlainReport, ShowsTheProgramTableInPlaceOfItsPanels) {
  const std::string report = Plain("#MAIN\n#APP_PAGE\nfirefox.exe BASE WEB\nEDIT.EXE BASE MAIN\n#WEB\n");
  EXPECT_THAT(report, HasSubstr("#APP_PAGE  (line 2; the page each program brings when it comes to the front)\n"
                                "  line 3    FIREFOX.EXE  BASE WEB\n"
                                "  line 4    EDIT.EXE     BASE MAIN\n"
                                "  any other program: the default page from before the first switch by program "
                                "comes back\n"));
  EXPECT_THAT(report, Not(HasSubstr("[FIREFOX.EXE]")));
}

TEST(Reports, ShowTheRepeatTableAndWhichButtonsRepeat) {
  const std::string file = "#MAIN\nB KEY BS\nL KEY SHIFT+LEFT\nA KEY A\n#KEY_REPEAT\nBS\nSHIFT+LEFT 250 20\n";
  const std::string report = Plain(file);
  EXPECT_THAT(report, HasSubstr("#KEY_REPEAT  (line 5; the KEY buttons of these keys repeat while held)\n"
                                "  line 6    BS: after 500 ms, 30 a second\n"
                                "  line 7    Shift+Left: after 250 ms, 20 a second\n"));
  EXPECT_THAT(report, HasSubstr("[B] KEY BS (repeats while held: after 500 ms, 30 a second)"));
  EXPECT_THAT(report, HasSubstr("  2    [A] KEY A   "));
  const nlohmann::json main = Json(file)["maps"][1];  // KEY_REPEAT sorts before MAIN
  EXPECT_EQ(main["positions"][1]["repeat"], nlohmann::json::parse(R"({"delay_ms":250,"per_second":20})"));
  EXPECT_FALSE(main["positions"][2].contains("repeat"));
}

TEST(DisplayWidth, CountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth("abc"), 3u);
  EXPECT_EQ(DisplayWidth("かな漢字"), 8u);
  EXPECT_EQ(DisplayWidth("ｶﾅ"), 2u);
  EXPECT_EQ(DisplayWidth("ＡＢ"), 4u);
  EXPECT_EQ(DisplayWidth("←↑"), 2u);  // ambiguous width, drawn narrow by most terminals
  EXPECT_EQ(PadToWidth("かな", 6), "かな  ");
}

// --- The JSON report ---------------------------------------------------------------------

TEST(JsonReport, HasExactlyTheDocumentedMembers) {
  const nlohmann::json doc = Json("#MAIN\nA KEY A\n#NUM\n1 KEY 1\n");
  std::vector<std::string> members;
  for (const auto& item : doc.items()) members.push_back(item.key());
  EXPECT_EQ(members, (std::vector<std::string>{"default_map", "diagnostics", "fallback_map", "maps"}));
  EXPECT_EQ(doc["default_map"], "MAIN");
  EXPECT_EQ(doc["fallback_map"], "MAIN");
  ASSERT_EQ(doc["maps"].size(), 2u);
  EXPECT_EQ(doc["maps"][0]["name"], "MAIN");  // table order: unsigned byte order of names
  EXPECT_EQ(doc["maps"][1]["name"], "NUM");
  EXPECT_EQ(doc["maps"][0].size(), 2u);
  EXPECT_EQ(doc["maps"][0]["positions"].size(), 17u);
  EXPECT_TRUE(doc["diagnostics"].is_array());
}

TEST(JsonReport, ProgramTableOnlyForAFileThatHasOne) {
  const nlohmann::json doc = Json("#MAIN\n#APP_PAGE\nfirefox.exe BASE MAIN\nX JP MAIN\n");
  EXPECT_EQ(doc["program_pages"], nlohmann::json::parse(R"([{"program": "FIREFOX.EXE", "map": "MAIN", "line": 3}])"));
  EXPECT_FALSE(Json("#MAIN\n#APP_PAGE\n").contains("program_pages"));
}

TEST(JsonReport, PositionsHoldTheDefinitionsAsParsedAndNullWhenEmpty) {
  const nlohmann::json doc =
      Json(Sjis("#MAIN\nCOPY KEY CTRL+C\nかな BASE J_KANA\nX KEY CTRL+ZZ\nP EXEC \"a.exe\" -v http://x/Y\n"));
  const nlohmann::json& positions = doc["maps"][0]["positions"];
  EXPECT_EQ(positions[0], nlohmann::json::parse(R"({"caption":"COPY","kind":"KEY","keys":[17,67],"target":""})"));
  EXPECT_EQ(positions[1], nlohmann::json::parse(R"({"caption":"かな","kind":"BASE","keys":[],"target":"J_KANA"})"));
  // A line that fits no form keeps its parsed caption; the panels show it blank.
  EXPECT_EQ(positions[2], nlohmann::json::parse(R"({"caption":"X","kind":"NONE","keys":[],"target":""})"));
  // EXEC's program and arguments as written, not upper-cased.
  EXPECT_EQ(positions[3]["target"], "a.exe");
  EXPECT_EQ(positions[3]["arguments"], "-v http://x/Y");
  EXPECT_TRUE(positions[4].is_null());
  EXPECT_TRUE(positions[16].is_null());
}

TEST(JsonReport, DiagnosticsCarryLineAndMessage) {
  const nlohmann::json doc = Json("#MAIN\nA KYE A\n");
  ASSERT_EQ(doc["diagnostics"].size(), 1u);
  EXPECT_EQ(doc["diagnostics"][0]["line"], 2);
  EXPECT_THAT(doc["diagnostics"][0]["message"].get<std::string>(), HasSubstr("unknown command word \"KYE\""));
}

TEST(JsonReport, BytesThatDoNotConvertBecomeReplacementCharacters) {
  // 0x85 0x40 is an unassigned double-byte code; 0x80 is no character at all.
  const nlohmann::json doc = Json("#M\x85\x40\x80\nA KEY A\n");
  EXPECT_EQ(doc["maps"][0]["name"], "M\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(JsonReport, NoMapsGiveEmptyNames) {
  const nlohmann::json doc = Json("");
  EXPECT_EQ(doc["default_map"], "");
  EXPECT_EQ(doc["fallback_map"], "");
  EXPECT_TRUE(doc["maps"].empty());
  EXPECT_EQ(doc["diagnostics"][0]["line"], 0);
}

// --- A file in another encoding than code page 932 ---------------------------------------

TEST(Reports, NameAnEncodingOtherThanCodePage932AndShowTheSameMapsAndTrace) {
  const std::string text = "#MAIN\r\n再 KEY A\r\nかな JP J_KANA\r\n漢字 KEY B\r\n#J_KANA\r\nあ KEY A\r\n";
  const auto run = [](const std::string& bytes, const std::vector<std::string>& args) {
    MemoryFiles files = WithButtonFile(bytes);
    testing::CheckerRun run = testing::RunWith(files, args);
    EXPECT_EQ(run.status, kExitClean);
    return std::pair(run.out, files.files["out.sts"]);
  };
  const auto [cp932Json, cp932Trace] = run(Sjis(text), {"--json", "--trace", "out.sts", "dovaD.BTN"});
  nlohmann::json expected = nlohmann::json::parse(cp932Json);
  EXPECT_FALSE(expected.contains("encoding"));
  EXPECT_EQ(expected["maps"][1]["positions"][0]["caption"], "再");  // MAIN after J_KANA
  for (const auto& [bytes, name] : std::vector<std::pair<std::string, std::string>>{
           {text, "UTF-8"},
           {"\xEF\xBB\xBF" + text, "UTF-8 with a byte-order mark"},
           {"\xFF\xFE" + Recode(text, "UTF-16LE"), "UTF-16 LE with a byte-order mark"}}) {
    SCOPED_TRACE(name);
    const auto [json, trace] = run(bytes, {"--json", "--trace", "out.sts", "dovaD.BTN"});
    nlohmann::json doc = nlohmann::json::parse(json);
    EXPECT_EQ(doc["encoding"], name);
    doc.erase("encoding");
    EXPECT_EQ(doc, expected);
    EXPECT_EQ(trace, cp932Trace);  // the lines as the keyboard reads them: code page 932
    const std::string note = "The file is " + name + "; the keyboard reads it converted to code page 932.";
    EXPECT_THAT(run(bytes, {"dovaD.BTN"}).first, HasSubstr("the panels start with map MAIN.\n" + note + "\nA button"));
    EXPECT_THAT(HtmlPreview(Check(bytes), "dovaD.BTN"), HasSubstr("<p id=\"kv-encoding\">" + note + "</p>\n</header>"));
  }
  EXPECT_THAT(run(Sjis(text), {"dovaD.BTN"}).first, Not(HasSubstr("The file is")));
  EXPECT_THAT(HtmlPreview(Check(Sjis(text)), "dovaD.BTN"), Not(HasSubstr("kv-encoding")));
}

// The report as a JSON library prints the same document with an indent of 2: the reference
// for the report's bytes, which the report writes without building the document.
std::string LibraryPrinted(const CheckResult& result) {
  using Ordered = nlohmann::ordered_json;
  auto definition = [](const btnfile::ButtonDef& def) {
    Ordered keys = Ordered::array();
    for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) keys.push_back(def.keys[i]);
    return Ordered{{"caption", cp932::ToUtf8(def.caption)},
                   {"kind", btnfile::ActionKindName(def.kind)},
                   {"keys", std::move(keys)},
                   {"target", cp932::ToUtf8(def.target)}};
  };
  Ordered doc;
  if (result.loaded.encoding != btnfile::FileEncoding::Cp932) {
    doc["encoding"] = btnfile::EncodingName(result.loaded.encoding);
  }
  doc["default_map"] = cp932::ToUtf8(result.loaded.maps.defaultMapName);
  doc["fallback_map"] = cp932::ToUtf8(result.loaded.maps.fallbackMapName);
  doc["maps"] = Ordered::array();
  for (const auto& [name, map] : result.loaded.maps.table) {
    Ordered positions = Ordered::array();
    for (const auto& p : map.positions) positions.push_back(p ? definition(*p) : Ordered(nullptr));
    doc["maps"].push_back(Ordered{{"name", cp932::ToUtf8(name)}, {"positions", std::move(positions)}});
  }
  doc["diagnostics"] = Ordered::array();
  for (const btnfile::Diagnostic& d : result.diagnostics) {
    doc["diagnostics"].push_back(Ordered{{"line", d.line}, {"message", cp932::ToUtf8(d.message)}});
  }
  return doc.dump(2) + "\n";
}

TEST(JsonReport, SameBytesAsAJsonLibraryPrints) {
  const std::string quotesAndControls = "#MAIN\n\"A\\B\" KEY A\nC\x01\x1F\x7F\"D KYE E\n\"\b\f\r\" JP \"\\\"\n#\n";
  for (const std::string& file :
       {Fixture("checker_mistakes.BTN"), Fixture("worked_example.BTN"), Fixture("page_cycle.BTN"), std::string(),
        std::string("no map\n"), quotesAndControls, std::string("#M\x85\x40\x80\x82\xA0\nA KEY A\n"),
        std::string("#MAIN\n漢字 KEY A\n")}) {
    const CheckResult result = Check(file);
    EXPECT_EQ(JsonReport(result), LibraryPrinted(result)) << file;
    std::ostringstream written;
    WriteJsonReport(result, written);
    EXPECT_EQ(written.str(), LibraryPrinted(result)) << file;
  }
}

// --- Whole reports of the file full of mistakes, against reviewed copies -------------------

std::string FixturePath(const std::string& name) { return std::string(KEYVANE_SOURCE_DIR) + "/tests/fixtures/" + name; }

// Set KEYVANE_UPDATE_GOLDEN=1 to rewrite the expected outputs after a deliberate change.
void ExpectGolden(const std::string& actual, const std::string& goldenName) {
  if (std::getenv("KEYVANE_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(FixturePath(goldenName), std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, Fixture(goldenName)) << "compare with tests/fixtures/" << goldenName;
}

std::string RunOnMistakes(const std::vector<std::string>& args, int expectedStatus) {
  MemoryFiles files = WithButtonFile(Fixture("checker_mistakes.BTN"));
  const testing::CheckerRun run = testing::RunWith(files, args);
  EXPECT_EQ(run.status, expectedStatus);
  EXPECT_EQ(run.err, "");
  return run.out;
}

TEST(GoldenReports, PlainReportOfTheFileFullOfMistakes) {
  ExpectGolden(RunOnMistakes({}, kExitDiagnostics), "checker_mistakes.txt");
}

TEST(GoldenReports, JsonReportOfTheFileFullOfMistakes) {
  ExpectGolden(RunOnMistakes({"--json"}, kExitDiagnostics), "checker_mistakes.json");
}

}  // namespace
}  // namespace keyvane::checker
