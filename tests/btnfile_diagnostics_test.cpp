#include "btnfile/diagnostics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "btnfile/loader.h"
#include "support/memory_files.h"
#include "support/sjis.h"

namespace keyvane::btnfile {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::MemoryFiles;
using ::testing::SizeIs;
using testing::Sjis;

// The diagnostics of a file given as its raw bytes, loaded as the keyboard loads it.
std::vector<Diagnostic> Diagnose(const std::string& fileBytes) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = fileBytes;
  const LoadedButtons loaded = LoadButtonFile(files, "dovaD.BTN");
  return FindDiagnostics(loaded);
}

// Lines joined with CR LF, as a file written on the handheld.
std::string File(std::initializer_list<std::string> lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// The lines of the diagnostics, in their order.
std::vector<int> Lines(const std::vector<Diagnostic>& found) {
  std::vector<int> lines;
  for (const Diagnostic& d : found) lines.push_back(d.line);
  return lines;
}

// The messages on one line of the file, in their order.
std::vector<std::string> On(const std::vector<Diagnostic>& found, int line) {
  std::vector<std::string> messages;
  for (const Diagnostic& d : found) {
    if (d.line == line) messages.push_back(d.message);
  }
  return messages;
}

// --- Lines that fit no form -------------------------------------------------------------

TEST(FormDiagnostics, UnknownCommandWordNamesTheWordAndTheCommandWords) {
  const auto found = Diagnose(File({"#MAIN", "ESC KYE ESC"}));
  EXPECT_THAT(found, SizeIs(1));
  EXPECT_THAT(On(found, 2), ElementsAre("unknown command word \"KYE\" (expected JP, KEY, REKEY, KEYTOG, BASE, EXEC); "
                                        "the button is blank and does nothing"));
}

TEST(FormDiagnostics, CommandWordsWrittenInLowerCaseAreAccepted) {
  EXPECT_THAT(Diagnose(File({"#main", "esc key esc", "x jp main", "y base main", "z rekey", "w keytog ctrl+c"})),
              IsEmpty());
}

TEST(FormDiagnostics, WrongWordCountSaysHowManyTheCommandTakes) {
  const auto found = Diagnose(File({"#MAIN", "X JP", "X BASE MAIN MAIN", "X EXEC", "KEYWAIT A B"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("JP takes exactly 3 (caption JP map), this line has 2")));
  EXPECT_THAT(On(found, 3), ElementsAre(HasSubstr("BASE takes exactly 3 (caption BASE map), this line has 4")));
  EXPECT_THAT(On(found, 4), ElementsAre(HasSubstr("EXEC takes at least 3 words")));
  EXPECT_THAT(On(found, 5), ElementsAre(HasSubstr("KEYWAIT takes exactly 2 words")));
}

TEST(FormDiagnostics, AcceptedFormsThatDoNothingAreNotReported) {
  EXPECT_THAT(Diagnose(File({"#MAIN", "X EXEC A B C", "MINIMAM", "MENUPOP X", "KEYWAIT 40", "X REKEY 1 2"})),
              IsEmpty());
}

TEST(FormDiagnostics, KeyWaitNeedsAWholeNumberFrom1To1000AndMayStandBeyondThePanels) {
  std::string map = "#MAIN\r\n";
  for (int i = 0; i < 14; ++i) map += "K KEY A\r\n";
  const auto found =
      Diagnose(map + File({"KEYWAIT 1000", "KEYWAIT 0", "KEYWAIT 1001", "#B", "KEYWAIT 4O", "KEYWAIT -5"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{17, 18, 20, 21}));
  EXPECT_THAT(On(found, 17), ElementsAre("KEYWAIT time \"0\" is not a whole number of milliseconds from 1 to 1000: "
                                         "the line is ignored, and its page holds keys as if it were not there"));
}

TEST(FormDiagnostics, CaptionAloneHasNoCommandWordButDummyAloneIsABlankOnPurpose) {
  const auto found = Diagnose(File({"#MAIN", "ESC", "DUMMY"}));
  EXPECT_EQ(Lines(found), std::vector<int>{2});
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("no command word after the caption \"ESC\"")));
}

TEST(FormDiagnostics, ForgottenCaptionIsExplained) {
  const auto found = Diagnose(File({"#MAIN", "KEY CTRL+C"}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("the first word is the caption, so \"KEY\" is taken as one")));
}

TEST(FormDiagnostics, CaptionWithABlankIsExplained) {
  const auto found = Diagnose(File({"#MAIN", "MY KANA JP MAIN"}));
  EXPECT_THAT(On(found, 2),
              ElementsAre(AllOf(HasSubstr("unknown command word \"KANA\""), HasSubstr("\"JP\" comes too late"))));
}

TEST(FormDiagnostics, UnclosedDoubleQuoteIsExplained) {
  const auto found = Diagnose(File({"#MAIN", "\"AB KEY A"}));
  EXPECT_THAT(On(found, 2), ElementsAre(AllOf(HasSubstr("'\"AB KEY A'"), HasSubstr("a double quote is never closed"))));
}

TEST(FormDiagnostics, IndentedCommentInsideAMapTakesAPosition) {
  const auto found = Diagnose(File({"#MAIN", "A KEY A", "B KEY B", "C KEY C", "   ' about D", "D KEY D"}));
  EXPECT_EQ(Lines(found), std::vector<int>{5});
  EXPECT_THAT(On(found, 5), ElementsAre(HasSubstr("right panel, row 2")));
}

TEST(FormDiagnostics, LongQuotedTextsAreCutOnACharacterBoundary) {
  // 39 ASCII bytes then a double-byte character: the cut must not split it.
  const std::string word = std::string(39, 'Q') + Sjis("あい");
  const auto found = Diagnose(File({"#MAIN", word}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("\"" + std::string(39, 'Q') + Sjis("あ") + "...\"")));
}

// --- Key fields --------------------------------------------------------------------------

TEST(KeyFieldDiagnostics, NamesTheElementThatNamesNoKey) {
  const auto found = Diagnose(File({"#MAIN", "X KEY CTRL+ZZ", "Y KEYTOG F13"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 3}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("key field \"CTRL+ZZ\": \"ZZ\" names no key")));
  EXPECT_THAT(On(found, 3), ElementsAre(HasSubstr("\"F13\" names no key")));
}

TEST(KeyFieldDiagnostics, MoreThanAHundredElementsFail) {
  std::string field = "A";
  for (int i = 1; i < 100; ++i) field += "+A";
  EXPECT_THAT(Diagnose(File({"#MAIN", "X KEY " + field})), IsEmpty());
  const auto found = Diagnose(File({"#MAIN", "X KEY " + field + "+A"}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("101 elements")));
}

TEST(KeyFieldDiagnostics, AKeyButtonThatSendsNothingIsReported) {
  const auto found = Diagnose(File({"#MAIN", "X KEY +", "Y KEYTOG ++", "Z KEY +A"}));
  EXPECT_EQ(Lines(found), std::vector<int>{2});
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("a press sends nothing")));
}

TEST(KeyFieldDiagnostics, NameLongerThanOneDigitCountsOnlyItsFirstDigit) {
  const auto found = Diagnose(File({"#MAIN", "X KEY CTRL+12", "Y KEY 1", "Z KEY F12", "W KEY 12+ZZ"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 5}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("\"12\" is read as the key 1")));
  EXPECT_THAT(On(found, 5), ElementsAre(HasSubstr("\"ZZ\" names no key")));  // a field that fails says only that
}

// --- Targets and map names ---------------------------------------------------------------

TEST(TargetDiagnostics, TargetThatNamesNoMapSaysWhatAPressShows) {
  const auto found = Diagnose(File({"#MAIN", "A JP KANA", "B BASE NUM", "C JP SYM", "#SYM"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 3}));
  EXPECT_THAT(On(found, 2),
              ElementsAre(AllOf(HasSubstr("JP target \"KANA\" names no map"), HasSubstr("first map, MAIN"))));
  EXPECT_THAT(On(found, 3), ElementsAre(HasSubstr("BASE target \"NUM\" names no map")));
}

TEST(TargetDiagnostics, QuotedTargetNamesNoMapAndTheQuotesAreBlamed) {
  const auto found = Diagnose(File({"#MAIN", "A JP \"MAIN\""}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("double quotes stay part of the name")));
}

TEST(TargetDiagnostics, TargetsOfAMapThatIsReplacedAreCheckedToo) {
  const auto found = Diagnose(File({"#MAIN", "A JP NOWHERE", "#MAIN", "B JP MAIN"}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("JP target \"NOWHERE\" names no map")));
}

TEST(MapNameDiagnostics, NameWithABlankCannotBeReached) {
  const auto found = Diagnose(File({"#MAIN", "#MY MAP", "# MAIN"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 3}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("map name \"MY MAP\" holds a blank")));
}

TEST(MapNameDiagnostics, HeaderAloneNamesAnUnreachableMapThatIsNotTheFirstMap) {
  const auto found = Diagnose(File({"#", "A KEY A", "#MAIN"}));
  EXPECT_EQ(Lines(found), std::vector<int>{1});
  EXPECT_THAT(On(found, 1), ElementsAre(HasSubstr("does not count as the first map")));
}

TEST(MapNameDiagnostics, RepeatedNamePointsToTheDiscardedMap) {
  const auto found = Diagnose(File({"#MAIN", "A KEY A", "#main", "B KEY B", "#MAIN"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{3, 5}));
  EXPECT_THAT(On(found, 3), ElementsAre(HasSubstr("map \"MAIN\" is defined again: the map of that name at line 1")));
  EXPECT_THAT(On(found, 5), ElementsAre(HasSubstr("at line 3")));
}

// --- Lines outside maps and positions that are never used ---------------------------------

TEST(StructureDiagnostics, LinesBeforeTheFirstHeaderAreIgnoredButBlankOnesAreHarmless) {
  const auto found = Diagnose(File({"ESC KEY ESC", "   ' indented", "#MAIN"}));
  EXPECT_EQ(Lines(found), std::vector<int>{1});
  EXPECT_THAT(On(found, 1), ElementsAre(HasSubstr("before the first map header")));
}

TEST(StructureDiagnostics, DefinitionLinesFifteenToSeventeenAreNeverShownAndLaterOnesIgnored) {
  std::string file = "#MAIN\r\n";
  for (int i = 1; i <= 19; ++i) file += "K" + std::to_string(i) + " KEY A\r\n";
  file += "#NEXT\r\nA KEY A\r\n";
  const auto found = Diagnose(file);
  EXPECT_EQ(Lines(found), (std::vector<int>{16, 17, 18, 19, 20}));
  EXPECT_THAT(On(found, 16), ElementsAre(HasSubstr("definition line 15 of map \"MAIN\" is never shown")));
  EXPECT_THAT(On(found, 19), ElementsAre(HasSubstr("already has its 17 definition lines: this line is ignored")));
}

TEST(StructureDiagnostics, NoMapAtAllIsAboutTheWholeFile) {
  for (const std::string& file : {std::string(), File({"' only a comment"}), File({"ESC KEY ESC"})}) {
    const auto found = Diagnose(file);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front().line, 0);
    EXPECT_THAT(found.front().message, HasSubstr("no map at all"));
  }
}

// --- How the file was read ---------------------------------------------------------------

TEST(ReadingDiagnostics, LineCutAt1022BytesIsReportedOnceWithItsFileLine) {
  const std::string longLine = "C KEY A " + std::string(2100, 'B');  // three pieces
  const auto found = Diagnose(File({"#MAIN", longLine, "D KEY D"}));
  // Every piece is blamed on the one line of the file; the cut comes first, and once.
  EXPECT_EQ(Lines(found), std::vector<int>(found.size(), 2));
  const std::vector<std::string> messages = On(found, 2);
  ASSERT_FALSE(messages.empty());
  EXPECT_THAT(messages.front(), HasSubstr("longer than 1022 bytes"));
  EXPECT_EQ(std::ranges::count_if(messages, [](const std::string& m) { return m.find("1022") != m.npos; }), 1);
}

TEST(ReadingDiagnostics, LineOfExactly1022BytesIsNotCut) {
  const std::string line = "C KEY A" + std::string(1015, ' ');  // trailing blanks are trimmed away
  ASSERT_EQ(line.size(), 1022u);
  EXPECT_THAT(Diagnose("#MAIN\n" + line + "\n"), IsEmpty());
}

TEST(ReadingDiagnostics, ApostropheBetweenDoubleQuotesIsReportedBeforeWhatItLeaves) {
  const auto found = Diagnose(File({"#MAIN", "\"IT'S\" KEY A", "B KEY B ' a comment"}));
  EXPECT_THAT(On(found, 2), ElementsAre(HasSubstr("apostrophe starts a comment even between double quotes"),
                                        HasSubstr("no command word after the caption '\"IT'")));
  EXPECT_THAT(On(found, 3), IsEmpty());
}

TEST(ReadingDiagnostics, CharactersCodePage932LacksAreToldOnceALineWhereTheKeyboardReadsThem) {
  const std::string longLine = "😀" + std::string(1100, 'B') + "😀 KEY A";  // one in each piece
  const auto found =
      Diagnose(File({"#MAIN", "😀 KEY A", "' 😀 in a comment", "B😀é KEY B ' 😀", longLine}) + "\x1a😀 after the end\r\n");
  EXPECT_EQ(Lines(found), (std::vector<int>{2, 4, 5, 5, 5}));
  EXPECT_THAT(On(found, 2), ElementsAre(Sjis("a character that code page 932 lacks (U+1F600): the keyboard reads 〓 "
                                             "in its place")));
  EXPECT_THAT(On(found, 4), ElementsAre(Sjis("2 characters that code page 932 lacks (the first: U+1F600): the "
                                             "keyboard reads 〓 in place of each")));
  EXPECT_THAT(On(found, 5), ElementsAre(HasSubstr("longer than 1022 bytes"), HasSubstr("2 characters"),
                                        HasSubstr("no command word")));
  // Bytes that form no character: a stray byte under a UTF-8 mark, half a surrogate pair in UTF-16.
  const std::string noCharacter = "(bytes that are no character of the file's encoding)";
  EXPECT_THAT(On(Diagnose("\xEF\xBB\xBF#MAIN\r\nA\x80 KEY A\r\n"), 2), ElementsAre(HasSubstr(noCharacter)));
  EXPECT_THAT(On(Diagnose(std::string("\xFF\xFE#\0M\0\r\0\n\0\x3D\xD8 \0K\0E\0Y\0 \0A\0", 24)), 2),
              ElementsAre(HasSubstr(noCharacter)));
}

TEST(ReadingDiagnostics, LineNumbersCountEveryLineOfTheFile) {
  const std::string file = "' comment\r\n\r\n#MAIN\n\nA KEY A\r\n   \r\nB KYE B\r\n";
  EXPECT_EQ(Lines(Diagnose(file)), (std::vector<int>{6, 7}));
}

// --- The right-click page cycle -----------------------------------------------------------

TEST(RightButtonPageDiagnostics, CaptionChangedByTheCaptionRulesNeverMatches) {
  const auto found = Diagnose(File({"#MAIN", "#ALL", "#RIGHT_BTN_PAGE", "ALL JP MAIN", "MAIN JP ALL"}));
  EXPECT_EQ(Lines(found), std::vector<int>{4});
  EXPECT_THAT(On(found, 4), ElementsAre(HasSubstr("turn \"ALL\" into \"Al\", which is no map name")));
}

TEST(RightButtonPageDiagnostics, FullWidthCaptionIsReportedUnlessItsHalfWidthFormIsAMapName) {
  EXPECT_EQ(Lines(Diagnose(File({"#MAIN", Sjis("#カナ"), "#RIGHT_BTN_PAGE", Sjis("カナ JP MAIN")}))),
            std::vector<int>{4});
  EXPECT_THAT(Diagnose(File({"#MAIN", Sjis("#ｶﾅ"), "#RIGHT_BTN_PAGE", Sjis("カナ JP MAIN")})), IsEmpty());
}

TEST(RightButtonPageDiagnostics, OnlyThePageCycleMapIsChecked) {
  EXPECT_THAT(Diagnose(File({"#MAIN", "ALL JP MAIN", "#RIGHT_BTN_PAGE", "DUMMY JP MAIN"})), IsEmpty());
}

// --- The program table ----------------------------------------------------------------------

TEST(ProgramPageDiagnostics, MissingMapRepeatedProgramAndOtherFormsAreToldByLine) {
  const auto found = Diagnose(
      File({"#MAIN", "#EDIT", "#APP_PAGE", "notepad.exe BASE EDIT", "FIREFOX.EXE BASE WEB", "NOTEPAD.EXE BASE MAIN",
            "CMD.EXE JP MAIN", "CMD.EXE", "  ' an indented note", "APPLE.EXE BASE MAIN", "X.EXE BASE MAIN MAIN"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{5, 6, 7, 8, 11}));
  EXPECT_THAT(On(found, 5),
              ElementsAre("APP_PAGE gives \"FIREFOX.EXE\" the map \"WEB\", which does not exist: when that "
                          "program comes to the front the panels show the buttons of the first map, "
                          "MAIN, instead"));
  EXPECT_THAT(On(found, 6), ElementsAre("program \"NOTEPAD.EXE\" already has its page at line 4: the first line wins, "
                                        "this one is never used"));
  EXPECT_THAT(On(found, 7), ElementsAre(HasSubstr("a line of APP_PAGE is written program BASE map")));
  EXPECT_THAT(On(found, 8), ElementsAre(HasSubstr("a line of APP_PAGE is written program BASE map")));
  EXPECT_THAT(On(found, 11), ElementsAre(HasSubstr("a line of APP_PAGE is written program BASE map")));
}

TEST(Diagnostics, AreOrderedByLine) {
  const auto found = Diagnose(File({"X", "#MAIN", "A JP NOWHERE", "#MAIN", "B KYE B"}));
  EXPECT_EQ(Lines(found), (std::vector<int>{1, 3, 4, 5}));
}

TEST(Diagnostics, NoneForAFileThatCannotBeRead) {
  MemoryFiles files;
  EXPECT_THAT(FindDiagnostics(LoadButtonFile(files, "dovaD.BTN")), IsEmpty());
}

}  // namespace
}  // namespace keyvane::btnfile
