#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "btnfile/button_def.h"

// The names a key field may give a key, and the virtual-key codes they stand for. Digits and
// single capital letters name their own keys; the other names are matched ignoring case.
namespace keyvane::btnfile {

// The codes a key field gives the mouse buttons: a press clicks them instead of sending a key.
inline constexpr std::uint8_t kMouseLeftButtonCode = 0x01;
inline constexpr std::uint8_t kMouseRightButtonCode = 0x02;
inline constexpr std::uint8_t kMouseMiddleButtonCode = 0x04;

constexpr bool IsMouseButtonCode(std::uint8_t code) {
  return code == kMouseLeftButtonCode || code == kMouseRightButtonCode || code == kMouseMiddleButtonCode;
}

struct KeyName {
  const char* name;
  std::uint8_t code;
  bool extended = false;  // a keyboard sends the key with the extended mark
};

// The named keys, in lookup order (digits and single capital letters are matched before these).
std::span<const KeyName> KeyNameTable();

// Whether the key of a named code is sent with the extended mark, as a keyboard sends it.
bool IsExtendedKey(std::uint8_t code);

// The virtual-key code a key-field token names, or 0 when it names none.
std::uint8_t LookupKeyName(std::string_view token);

// A token longer than one character that LookupKeyName reads as the digit it starts with ("12" is 1).
bool IsReadAsItsFirstDigit(std::string_view token);

// One key by its file name: 0x11 is "Ctrl", 0x43 is "C"; a code without a name is "0x07".
std::string KeyCodeText(std::uint8_t code);

// The keys of a sequence by their file names, joined by "+": 0x11 0x43 is "Ctrl+C".
std::string KeySequenceText(const KeySequence& keys);

}  // namespace keyvane::btnfile
