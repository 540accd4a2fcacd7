#include "btnfile/key_names.h"

#include <array>
#include <cstdio>

#include "btnfile/cp932.h"

namespace keyvane::btnfile {
namespace {

// Marks the keys a real keyboard sends with the extended mark; without it the arrows and their
// block would read as the number pad's keys of the same scan codes.
constexpr bool kExtended = true;

// clang-format off
constexpr KeyName kNamedKeys[] = {
    {"MouseLeftBtn", kMouseLeftButtonCode},
    {"MouseRightBtn", kMouseRightButtonCode},
    {"MouseMidBtn", kMouseMiddleButtonCode},
    {"BS", 0x08},
    {"BackSpace", 0x08},
    {"Tab", 0x09},
    {"Enter", 0x0D},
    {"Shift", 0x10},
    {"Ctrl", 0x11},
    {"Alt", 0x12},
    {"Pause", 0x13},
    {"Esc", 0x1B},
    {"Spc", 0x20},
    {"PageUp", 0x21, kExtended},
    {"PageDown", 0x22, kExtended},
    {"End", 0x23, kExtended},
    {"Home", 0x24, kExtended},
    {"Left", 0x25, kExtended},
    {"Up", 0x26, kExtended},
    {"Right", 0x27, kExtended},
    {"Down", 0x28, kExtended},
    {"PrintScreen", 0x2C, kExtended},
    {"Ins", 0x2D, kExtended},
    {"Del", 0x2E, kExtended},
    {"F1", 0x70},
    {"F2", 0x71},
    {"F3", 0x72},
    {"F4", 0x73},
    {"F5", 0x74},
    {"F6", 0x75},
    {"F7", 0x76},
    {"F8", 0x77},
    {"F9", 0x78},
    {"F10", 0x79},
    {"F11", 0x7A},
    {"F12", 0x7B},
    {"Add", 0x6B},
    {"Sub", 0x6D},
    {"Multi", 0x6A},
    {"Div", 0x6F, kExtended},
    {"Sep", 0x6C},
    {"Conv", 0x1C},
    {"NoConv", 0x1D},
    {"ZenHan", 0xF3},
    {"HiraKata", 0xF2},
    {"Caps", 0xF0},
    {",", 0xBC},
    {".", 0xBE},
    {"/", 0xBF},
    {"_", 0xE2},
    {";", 0xBB},
    {":", 0xBA},
    {"]", 0xDD},
    {"[", 0xDB},
    {"@", 0xC0},
    {"-", 0xBD},
    {"\\", 0xDC},
    {"^", 0xDE},
    {"WINKEY", 0x5B, kExtended},
};
// clang-format on

// Case-insensitive for ASCII letters only, so a double-byte character never matches by accident.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (cp932::AsciiUpper(a[i]) != cp932::AsciiUpper(b[i])) return false;
  }
  return true;
}

// Digits are matched by a range test without a length check: "12" names the digit 1, "9X"
// names nothing.
bool InDigitRange(std::string_view token) { return token >= "0" && token <= "9"; }

constexpr std::array<bool, 256> kExtendedCodes = [] {
  std::array<bool, 256> extended{};
  for (const KeyName& key : kNamedKeys) extended[key.code] = key.extended;
  return extended;
}();

}  // namespace

std::span<const KeyName> KeyNameTable() { return kNamedKeys; }

bool IsExtendedKey(std::uint8_t code) { return kExtendedCodes[code]; }

bool IsReadAsItsFirstDigit(std::string_view token) { return token.size() > 1 && InDigitRange(token); }

std::uint8_t LookupKeyName(std::string_view token) {
  if (InDigitRange(token)) return static_cast<std::uint8_t>(token[0]);
  if (token.size() == 1 && token >= "A" && token <= "Z") return static_cast<std::uint8_t>(token[0]);
  if (token.empty()) return 0;
  for (const KeyName& key : kNamedKeys) {
    if (cp932::AsciiUpper(key.name[0]) != cp932::AsciiUpper(token[0])) continue;  // most names differ at once
    if (EqualIgnoringCase(token, key.name)) return key.code;
  }
  return 0;
}

std::string KeyCodeText(std::uint8_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
  for (const KeyName& key : kNamedKeys) {
    if (key.code == code) return key.name;  // the first of several names, so 0x08 reads BS
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

std::string KeySequenceText(const KeySequence& keys) {
  std::string text;
  for (std::size_t i = 0; i < KeyCount(keys); ++i) {
    if (i > 0) text += '+';
    text += KeyCodeText(keys[i]);
  }
  return text;
}

}  // namespace keyvane::btnfile
