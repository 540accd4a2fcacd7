#include <gtest/gtest.h>

#include "btnfile/map_parser.h"
#include "support/parsed_definition.h"
#include "support/sjis.h"

namespace keyvane::btnfile {
namespace {

using testing::ParsedDefinition;
using testing::Sjis;
using Words = std::vector<std::string_view>;

TEST(SplitWords, BlanksInsideQuotesDoNotSeparate) {
  EXPECT_EQ(SplitWords("\"A B\" KEY X", ' '), (Words{"\"A B\"", "KEY", "X"}));
}

TEST(SplitWords, EmptyWordsBetweenSeparatorsButNotAtTheEnd) {
  EXPECT_EQ(SplitWords("A++B", '+'), (Words{"A", "", "B"}));
  EXPECT_EQ(SplitWords("+A", '+'), (Words{"", "A"}));
  EXPECT_EQ(SplitWords("A+", '+'), (Words{"A"}));
  EXPECT_EQ(SplitWords("", '+'), Words{});
  EXPECT_EQ(SplitWords("++", '+'), (Words{"", ""}));
}

TEST(MakeCaption, EqualCapitalPairsBecomeOneLowerCaseLetter) {
  EXPECT_EQ(MakeCaption("TAABB"), "Tab");
  EXPECT_EQ(MakeCaption("CCOOPPYY"), "copy");
  EXPECT_EQ(MakeCaption("ALL"), "Al");
  EXPECT_EQ(MakeCaption("AAA"), "aA");
  EXPECT_EQ(MakeCaption("AAAA"), "aa");
  EXPECT_EQ(MakeCaption("ABBA"), "AbA");
  EXPECT_EQ(MakeCaption("11"), "11");
}

TEST(MakeCaption, LettersArePairedInAlphabeticalPasses) {
  // The A pass runs before the B pass: BAAB keeps its Bs apart, and a pair made by
  // an earlier pass's lower-case letter cannot pair again.
  EXPECT_EQ(MakeCaption("BAAB"), "BaB");
  EXPECT_EQ(MakeCaption("BBAAA"), "baA");
}

TEST(MakeCaption, ShpIsTheHashSign) {
  EXPECT_EQ(MakeCaption("?SHP"), "#");
  EXPECT_EQ(MakeCaption("?SHPP"), "?SHp");  // only the exact word becomes "#"
}

TEST(MakeCaption, FullWidthFormsBecomeHalfWidth) {
  EXPECT_EQ(MakeCaption(Sjis("ＡＢＣ")), "ABC");
  EXPECT_EQ(MakeCaption(Sjis("ＡＡ")), "AA");  // full-width letters are not paired
  EXPECT_EQ(MakeCaption(Sjis("カナ")), Sjis("ｶﾅ"));
  EXPECT_EQ(MakeCaption(Sjis("ガ")), Sjis("ｶﾞ"));
  EXPECT_EQ(MakeCaption(Sjis("かな")), Sjis("かな"));
  EXPECT_EQ(MakeCaption(Sjis("＆")), "&");
}

TEST(MakeCaption, TrailByteOfADoubleByteCharacterNeverPairs) {
  // ア is 0x83 0x41: its trail byte is "A" and must not pair with the A after it.
  EXPECT_EQ(MakeCaption(Sjis("アA")), Sjis("ｱ") + "A");
}

std::vector<int> Codes(const KeyFieldResult& r) {
  const std::size_t n = KeyCount(r.keys);
  return std::vector<int>(r.keys.begin(), r.keys.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(KeyField, ChordsInWrittenOrder) {
  EXPECT_EQ(Codes(ParseKeyField("CTRL+C")), (std::vector<int>{0x11, 0x43}));
  EXPECT_EQ(Codes(ParseKeyField("SHIFT+ALT+TAB")), (std::vector<int>{0x10, 0x12, 0x09}));
  EXPECT_EQ(Codes(ParseKeyField("CTRL+MOUSELEFTBTN")), (std::vector<int>{0x11, 0x01}));
  EXPECT_EQ(Codes(ParseKeyField("SHIFT+3")), (std::vector<int>{0x10, 0x33}));
}

TEST(KeyField, EmptyElementsAreSkipped) {
  EXPECT_EQ(Codes(ParseKeyField("CTRL++")), (std::vector<int>{0x11}));
  EXPECT_EQ(Codes(ParseKeyField("A++B")), (std::vector<int>{0x41, 0x42}));
  EXPECT_EQ(Codes(ParseKeyField("+A")), (std::vector<int>{0x41}));
  EXPECT_EQ(Codes(ParseKeyField("A+")), (std::vector<int>{0x41}));
  const KeyFieldResult onlyPlus = ParseKeyField("++");
  EXPECT_TRUE(onlyPlus.ok());
  EXPECT_TRUE(Codes(onlyPlus).empty());
}

TEST(KeyField, FailuresSayWhy) {
  const KeyFieldResult unknown = ParseKeyField("CTRL+F13");
  EXPECT_EQ(unknown.status, KeyFieldResult::Status::UnknownName);
  EXPECT_EQ(unknown.badToken, "F13");
  EXPECT_EQ(unknown.keys, KeySequence{});
  EXPECT_EQ(ParseKeyField("").status, KeyFieldResult::Status::NoElements);
  EXPECT_EQ(ParseKeyField("\"A+B\"").status, KeyFieldResult::Status::UnknownName);
}

std::string Repeat(const std::string& token, int count) {
  std::string field = token;
  for (int i = 1; i < count; ++i) field += "+" + token;
  return field;
}

TEST(KeyField, HundredElementsFillTheWholeSequence) {
  const KeyFieldResult full = ParseKeyField(Repeat("A", 100));
  ASSERT_TRUE(full.ok());
  EXPECT_EQ(KeyCount(full.keys), 100u);
  EXPECT_EQ(ParseKeyField(Repeat("A", 101)).status, KeyFieldResult::Status::TooManyElements);
  // Empty elements count towards the limit.
  EXPECT_EQ(ParseKeyField("+" + Repeat("A", 100)).status, KeyFieldResult::Status::TooManyElements);
}

struct LineCase {
  const char* line;
  ActionKind kind;
  const char* caption;
  const char* target;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class ParseButtonLineForms : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseButtonLineForms, GivesKindCaptionAndTarget) {
  const LineCase& c = GetParam();
  const ButtonDef def = ParsedDefinition(c.line);
  EXPECT_EQ(def.kind, c.kind) << c.line;
  EXPECT_EQ(def.caption, c.caption) << c.line;
  EXPECT_EQ(def.target, c.target) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, ParseButtonLineForms,
    ::testing::Values(
        LineCase{"GO JP MAP", ActionKind::JP, "GO", "MAP"}, LineCase{"X JP", ActionKind::NONE, "X", ""},
        LineCase{"X JP A B", ActionKind::NONE, "X", ""}, LineCase{"X KEY A", ActionKind::KEY, "X", ""},
        LineCase{"X KEY A B", ActionKind::NONE, "X", ""}, LineCase{"X REKEY", ActionKind::REKEY, "X", ""},
        LineCase{"X REKEY 1 2 3", ActionKind::REKEY, "X", ""}, LineCase{"X KEYTOG SHIFT", ActionKind::KEYTOG, "X", ""},
        LineCase{"X BASE J_KANA", ActionKind::BASE, "X", "J_KANA"},
        LineCase{"X EXEC A B C", ActionKind::EXEC, "X", "A"},
        LineCase{"X EXEC \"C:\\A B.EXE\"", ActionKind::EXEC, "X", "C:\\A B.EXE"},
        LineCase{"X EXEC \"ONLYSTART", ActionKind::EXEC, "X", "ONLYSTART"},
        LineCase{"X EXEC", ActionKind::NONE, "X", ""}, LineCase{"MINIMAM", ActionKind::MINIMAM, "MINIMAM", ""},
        LineCase{"MINIMAM A B C", ActionKind::MINIMAM, "MINIMAM", ""}, LineCase{"M MINIMAM", ActionKind::NONE, "M", ""},
        LineCase{"MINIMAM JP MAP", ActionKind::JP, "MINIMAM", "MAP"},
        LineCase{"MENUPOP", ActionKind::MENUPOP, "MENUPOP", ""},
        LineCase{"KEYWAIT A", ActionKind::KEYWAIT, "KEYWAIT", ""}, LineCase{"KEYWAIT", ActionKind::NONE, "KEYWAIT", ""},
        LineCase{"KEYWAIT A B", ActionKind::NONE, "KEYWAIT", ""}, LineCase{"DUMMY JP MAP", ActionKind::JP, "", "MAP"},
        LineCase{"DUMMY", ActionKind::NONE, "", ""}, LineCase{"?SHP JP MAP", ActionKind::JP, "#", "MAP"},
        LineCase{"\"A B\" KEY C", ActionKind::KEY, "\"A B\"", ""}, LineCase{"", ActionKind::NONE, "", ""}));

TEST(ParseButtonLine, KeyFieldIsParsedIntoTheSequence) {
  const ButtonDef def = ParsedDefinition("X KEY CTRL+C");
  EXPECT_EQ(def.keys[0], 0x11);
  EXPECT_EQ(def.keys[1], 0x43);
  EXPECT_EQ(def.keys[2], 0);
  EXPECT_EQ(ParsedDefinition("X KEYTOG SHIFT+ALT").keys[1], 0x12);
}

TEST(ParseButtonLine, FailedKeyFieldMakesTheLineNoneWithZeroKeys) {
  const ButtonDef def = ParsedDefinition("X KEY CTRL+ZZ");
  EXPECT_EQ(def.kind, ActionKind::NONE);
  EXPECT_EQ(def.caption, "X");
  EXPECT_EQ(def.keys, KeySequence{});
}

TEST(ParseButtonLine, KeyFieldOfOnlyPlusSignsIsAnEmptyKey) {
  const ButtonDef def = ParsedDefinition("X KEY +");
  EXPECT_EQ(def.kind, ActionKind::KEY);
  EXPECT_EQ(KeyCount(def.keys), 0u);
}

TEST(ParseButtonLine, OtherKindsKeepNoKeys) {
  EXPECT_EQ(ParsedDefinition("X JP A").keys, KeySequence{});
  EXPECT_EQ(ParsedDefinition("KEYWAIT A").keys, KeySequence{});
}

}  // namespace
}  // namespace keyvane::btnfile
