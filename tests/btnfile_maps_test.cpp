#include <gtest/gtest.h>

#include "btnfile/loader.h"
#include "support/memory_files.h"
#include "support/sjis.h"

namespace keyvane::btnfile {
namespace {

using testing::MemoryFiles;
using testing::Sjis;

struct Loaded {
  MemoryFiles files;
  LoadedButtons buttons;
  std::string trace() const { return testing::ToCrLf(buttons.readTrace); }
};

std::unique_ptr<Loaded> Load(const std::string& fileBytes) {
  auto loaded = std::make_unique<Loaded>();
  loaded->files.files["dovaD.BTN"] = fileBytes;
  loaded->buttons = LoadButtonFile(loaded->files, "dovaD.BTN");
  return loaded;
}

const ButtonDef* At(const LoadedButtons& b, const std::string& map, int position) {
  const ButtonMap* m = FindMap(b.maps.table, map);
  if (m == nullptr || !m->positions[position]) return nullptr;
  return &*m->positions[position];
}

const std::string kHeading = "\r\n" + Sjis("読み込みファイル表示") + "\r\n";

std::string MapNameLine(const std::string& name) { return Sjis("取得マップ名=") + name + "\r\n"; }

TEST(WorkedExample, YieldsTwoMapsWithTheirDefinitions) {
  const auto loaded = Load(testing::Fixture("worked_example.BTN"));
  const LoadedButtons& b = loaded->buttons;
  ASSERT_EQ(b.maps.table.size(), 2u);
  EXPECT_EQ(b.maps.defaultMapName, "MAIN");
  EXPECT_EQ(b.maps.fallbackMapName, "MAIN");

  EXPECT_EQ(At(b, "MAIN", 0)->caption, "ESC");
  EXPECT_EQ(At(b, "MAIN", 1)->caption, "Tab");
  EXPECT_EQ(At(b, "MAIN", 2)->caption, "#");
  EXPECT_EQ(At(b, "MAIN", 2)->keys[0], 0x10);
  EXPECT_EQ(At(b, "MAIN", 3)->caption, "BS");  // the comment is cut off
  EXPECT_EQ(At(b, "MAIN", 4)->kind, ActionKind::BASE);
  EXPECT_EQ(At(b, "MAIN", 4)->target, "J_KANA");
  EXPECT_EQ(At(b, "MAIN", 4)->caption, Sjis("かな"));
  EXPECT_EQ(At(b, "MAIN", 6)->caption, "copy");
  EXPECT_EQ(At(b, "MAIN", 7)->caption, "paste");
  EXPECT_EQ(At(b, "MAIN", 9)->caption, "");
  EXPECT_EQ(At(b, "MAIN", 9)->keys[0], 0x20);
  EXPECT_EQ(At(b, "MAIN", 12)->caption, "ALT+TAB");
  EXPECT_EQ(At(b, "MAIN", 13)->kind, ActionKind::REKEY);
  EXPECT_EQ(At(b, "MAIN", 14), nullptr);

  EXPECT_EQ(At(b, "J_KANA", 0)->caption, Sjis("あ"));
  EXPECT_EQ(At(b, "J_KANA", 0)->keys[0], 'A');
  EXPECT_EQ(At(b, "J_KANA", 2)->kind, ActionKind::BASE);
  EXPECT_EQ(At(b, "J_KANA", 3)->kind, ActionKind::JP);
  EXPECT_EQ(At(b, "J_KANA", 3)->target, "MAIN");
  EXPECT_EQ(At(b, "J_KANA", 4), nullptr);  // filled from the first map when shown
}

TEST(WorkedExample, TraceEchoesHeadersWithTheirNamesInCrLf) {
  const auto loaded = Load(testing::Fixture("worked_example.BTN"));
  EXPECT_EQ(loaded->trace(), kHeading + "#MAIN\r\n" + MapNameLine("MAIN") + "#J_KANA\r\n" + MapNameLine("J_KANA"));
}

TEST(Loading, AMissingFileTracesTheHeadingAlone) {
  MemoryFiles files;
  files.files["dovaD.STS"] = "old run\r\n";
  const LoadedButtons b = LoadButtonFile(files, "dovaD.BTN");
  EXPECT_FALSE(b.fileRead);
  EXPECT_EQ(files.calls, std::vector<std::string>{"read dovaD.BTN"});  // the trace is the keyboard's
  EXPECT_EQ(testing::ToCrLf(b.readTrace), kHeading);
  EXPECT_TRUE(b.maps.table.empty());
  EXPECT_EQ(b.maps.defaultMapName, "");
}

TEST(Loading, LinesOutsideMapsAreTracedAndIgnored) {
  const auto loaded = Load("X KEY A\n#M\nA KEY A\n");
  EXPECT_EQ(loaded->trace(), kHeading + "X KEY A\r\n#M\r\n" + MapNameLine("M"));
  EXPECT_EQ(loaded->buttons.maps.table.size(), 1u);
}

TEST(Loading, PercentSignIsTracedUnchanged) {
  const auto loaded = Load("#100%\n");
  EXPECT_EQ(loaded->trace(), kHeading + "#100%\r\n" + MapNameLine("100%"));
}

TEST(MapRules, SeventeenDefinitionLinesAtMost) {
  std::string file = "#M\n";
  for (int i = 0; i < 20; ++i) file += "B" + std::to_string(i) + " KEY A\n";
  const auto loaded = Load(file);
  const LoadedButtons& b = loaded->buttons;
  EXPECT_EQ(At(b, "M", 16)->caption, "B16");
  EXPECT_EQ(loaded->trace(), kHeading + "#M\r\n" + MapNameLine("M") + "B17 KEY A\r\nB18 KEY A\r\nB19 KEY A\r\n");
}

TEST(MapRules, RepeatedNameKeepsTheLaterMapWholeAndTheFirstDefault) {
  const auto loaded = Load("#A\nX KEY A\nY KEY B\n#B\nZ KEY C\n#A\n  \nW KEY D\n");
  const LoadedButtons& b = loaded->buttons;
  ASSERT_EQ(b.maps.table.size(), 2u);
  EXPECT_EQ(At(b, "A", 0)->kind, ActionKind::NONE);  // the empty kept line is a position
  EXPECT_EQ(At(b, "A", 1)->caption, "W");
  EXPECT_EQ(At(b, "A", 2), nullptr);
  EXPECT_EQ(b.maps.defaultMapName, "A");
}

TEST(MapRules, EmptyFirstHeaderLetsTheNextHeaderBeTheFirstMap) {
  const auto loaded = Load("#\nX KEY A\n#MAIN\nY KEY B\n");
  const LoadedButtons& b = loaded->buttons;
  EXPECT_EQ(b.maps.table.size(), 2u);
  EXPECT_EQ(At(b, "", 0)->caption, "X");
  EXPECT_EQ(b.maps.defaultMapName, "MAIN");
  EXPECT_EQ(b.maps.fallbackMapName, "MAIN");
}

TEST(MapRules, HeaderRightAfterHeaderMakesAnEmptyMap) {
  const auto loaded = Load("#A\n#B\nX KEY A\n");
  const ButtonMap* a = FindMap(loaded->buttons.maps.table, "A");
  ASSERT_NE(a, nullptr);
  for (const auto& p : a->positions) EXPECT_FALSE(p.has_value());
}

TEST(MapRules, MapKeepsTheFileLineOfTheHeaderThatMadeIt) {
  const auto loaded = Load("' note\n#A\nX KEY A\n#B\n#A\n");
  EXPECT_EQ(FindMap(loaded->buttons.maps.table, "A")->headerLine, 5);
  EXPECT_EQ(FindMap(loaded->buttons.maps.table, "B")->headerLine, 4);
}

TEST(MapRules, AskingForTheFindingsChangesNoMap) {
  const auto loaded = Load(testing::Fixture("checker_mistakes.BTN"));
  ASSERT_FALSE(loaded->buttons.findings.empty());
  EXPECT_EQ(BuildMapTable(loaded->buttons.lines).table, loaded->buttons.maps.table);
}

TEST(MapRules, HeaderNamesAreUpperCasedAndKeepInnerBlanks) {
  const auto loaded = Load("#main\n# MAIN  two\n");
  EXPECT_NE(FindMap(loaded->buttons.maps.table, "MAIN"), nullptr);
  EXPECT_NE(FindMap(loaded->buttons.maps.table, " MAIN TWO"), nullptr);
}

TEST(MapRules, TableIsInUnsignedByteOrder) {
  const auto loaded = Load("#B\n#" + Sjis("カ") + "\n#A\n#AB\n#a\n");
  std::vector<std::string> names;
  for (const auto& [name, map] : loaded->buttons.maps.table) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "AB", "B", Sjis("カ")}));
}

TEST(MapRules, ProgramTableHoldsTheFirstLineOfEachProgramAsWrittenAndARepeatedHeaderReplacesIt) {
  const auto loaded =
      Load("#MAIN\n#APP_PAGE\napple.exe BASE MAIN\nAPPLE.EXE BASE EDIT\nX JP MAIN\nEDIT.EXE BASE EDIT\n");
  const ProgramPageTable& table = loaded->buttons.maps.programPages;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].program, "APPLE.EXE");  // no caption rule: the doubled P stays
  EXPECT_EQ(table[0].map, "MAIN");
  EXPECT_EQ(table[0].line, 3);
  EXPECT_EQ(table[1].program, "EDIT.EXE");
  EXPECT_EQ(FindProgramPage(table, "EDIT.EXE"), &table[1]);
  EXPECT_EQ(FindProgramPage(table, "CMD.EXE"), nullptr);

  const auto replaced = Load("#MAIN\n#APP_PAGE\nA.EXE BASE MAIN\n#APP_PAGE\nB.EXE BASE MAIN\n");
  ASSERT_EQ(replaced->buttons.maps.programPages.size(), 1u);
  EXPECT_EQ(replaced->buttons.maps.programPages[0].program, "B.EXE");
}

TEST(MapRules, DefinitionsStayInPlaceAfterLaterInserts) {
  MapTable table;
  ButtonDef key;
  key.caption = "X";
  key.kind = ActionKind::KEY;
  table["M"].positions[0] = key;
  const ButtonDef* before = &*table["M"].positions[0];
  for (int i = 0; i < 100; ++i) table["N" + std::to_string(i)];
  EXPECT_EQ(&*FindMap(table, "M")->positions[0], before);
}

}  // namespace
}  // namespace keyvane::btnfile
