#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

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
}

TEST(LookupKeyName, OnlyNamesLongerThanOneDigitAreReadAsTheirFirstDigit) {
  EXPECT_TRUE(IsReadAsItsFirstDigit("12"));
  EXPECT_TRUE(IsReadAsItsFirstDigit("0A"));
  EXPECT_FALSE(IsReadAsItsFirstDigit("1"));
  EXPECT_FALSE(IsReadAsItsFirstDigit("9X"));  // names nothing at all
  EXPECT_FALSE(IsReadAsItsFirstDigit("F12"));
}

TEST(IsExtendedKey, TheArrowsTheirBlockTheWindowsKeyAndTheKeypadSlash) {
  for (const char* name : {"PageUp", "PageDown", "End", "Home", "Left", "Up", "Right", "Down", "PrintScreen", "Ins",
                           "Del", "WINKEY", "Div"}) {
    EXPECT_TRUE(IsExtendedKey(LookupKeyName(name))) << name;
  }
  for (const char* name : {"Enter", "Ctrl", "Alt", "Shift", "BS", "Esc", "F1", "Add", "A", "1", "ZenHan", "/"}) {
    EXPECT_FALSE(IsExtendedKey(LookupKeyName(name))) << name;
  }
  for (const KeyName& key : KeyNameTable()) EXPECT_EQ(IsExtendedKey(key.code), key.extended) << key.name;
}

TEST(KeyCodeText, UsesTheFileNamesOfTheKeys) {
  KeySequence keys{};
  const std::uint8_t codes[] = {0x11, 0x10, 0x1B, 0x08, 0x33, 0x5A, 0x01, 0xE2};
  std::copy(std::begin(codes), std::end(codes), keys.begin());
  EXPECT_EQ(KeySequenceText(keys), "Ctrl+Shift+Esc+BS+3+Z+MouseLeftBtn+_");
  EXPECT_EQ(KeySequenceText(KeySequence{}), "");
  EXPECT_EQ(KeyCodeText(0x07), "0x07");  // a code without a name
}

}  // namespace
}  // namespace keyvane::btnfile
