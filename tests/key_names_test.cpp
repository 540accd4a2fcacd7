#include <gtest/gtest.h>

#include "btnfile/key_names.h"

namespace keyvane::btnfile {
namespace {

TEST(LookupKeyName, NamesIgnoreCase) {
  EXPECT_EQ(LookupKeyName("enter"), 0x0D);
  EXPECT_EQ(LookupKeyName("ENTER"), 0x0D);
  EXPECT_EQ(LookupKeyName("Enter"), 0x0D);
  EXPECT_EQ(LookupKeyName("winkey"), 0x5B);
  EXPECT_EQ(LookupKeyName("BS"), 0x08);
  EXPECT_EQ(LookupKeyName("backspace"), 0x08);
  EXPECT_EQ(LookupKeyName("MOUSELEFTBTN"), 0x01);
  EXPECT_EQ(LookupKeyName("ZENHAN"), 0xF3);
}

TEST(LookupKeyName, SingleCapitalLettersOnly) {
  EXPECT_EQ(LookupKeyName("A"), 0x41);
  EXPECT_EQ(LookupKeyName("Z"), 0x5A);
  EXPECT_EQ(LookupKeyName("a"), 0);
  EXPECT_EQ(LookupKeyName("AB"), 0);
}

TEST(LookupKeyName, DigitRangeHasNoLengthCheck) {
  EXPECT_EQ(LookupKeyName("7"), 0x37);
  EXPECT_EQ(LookupKeyName("12"), 0x31);
  EXPECT_EQ(LookupKeyName("9"), 0x39);
  EXPECT_EQ(LookupKeyName("9X"), 0);
  EXPECT_EQ(LookupKeyName("0"), 0x30);
}

TEST(LookupKeyName, FunctionKeysAreNamesNotLetters) {
  EXPECT_EQ(LookupKeyName("F1"), 0x70);
  EXPECT_EQ(LookupKeyName("F10"), 0x79);
  EXPECT_EQ(LookupKeyName("F12"), 0x7B);
  EXPECT_EQ(LookupKeyName("F13"), 0);
}

TEST(LookupKeyName, PunctuationOfTheJapaneseLayout) {
  EXPECT_EQ(LookupKeyName(","), 0xBC);
  EXPECT_EQ(LookupKeyName("_"), 0xE2);
  EXPECT_EQ(LookupKeyName(":"), 0xBA);
  EXPECT_EQ(LookupKeyName("\\"), 0xDC);
  EXPECT_EQ(LookupKeyName("^"), 0xDE);
}

TEST(LookupKeyName, NothingIsTrimmed) {
  EXPECT_EQ(LookupKeyName(""), 0);
  EXPECT_EQ(LookupKeyName(" TAB"), 0);
  EXPECT_EQ(LookupKeyName("\"TAB\""), 0);
}

TEST(LookupKeyName, EveryTableNameFindsItsOwnCode) {
  for (const KeyName& key : KeyNameTable()) EXPECT_EQ(LookupKeyName(key.name), key.code) << key.name;
  EXPECT_EQ(KeyNameTable().size(), 59u);
}

std::vector<int> Codes(const KeyFieldResult& r) {
  const std::size_t n = btnfile::KeyCount(r.keys);
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
  EXPECT_EQ(unknown.keys, btnfile::KeySequence{});
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
  EXPECT_EQ(btnfile::KeyCount(full.keys), 100u);
  EXPECT_EQ(ParseKeyField(Repeat("A", 101)).status, KeyFieldResult::Status::TooManyElements);
  // Empty elements count towards the limit.
  EXPECT_EQ(ParseKeyField("+" + Repeat("A", 100)).status, KeyFieldResult::Status::TooManyElements);
}

}  // namespace
}  // namespace keyvane::btnfile
