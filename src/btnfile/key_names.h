#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/button_def.h"

namespace keyvane::btnfile {

struct KeyName {
  const char* name;
  std::uint8_t code;
};

// The named keys, in lookup order (digits and single capital letters are matched before these).
std::span<const KeyName> KeyNameTable();

// The virtual-key code a key-field token names, or 0 when it names none.
std::uint8_t LookupKeyName(std::string_view token);

// A token longer than one character that LookupKeyName reads as the digit it starts with ("12" is 1).
bool IsReadAsItsFirstDigit(std::string_view token);

// How a key field was understood.
struct KeyFieldResult {
  enum class Status { Ok, NoElements, TooManyElements, UnknownName };
  Status status = Status::Ok;
  KeySequence keys{};    // all zero unless Ok
  std::string badToken;  // the element that named no key
  std::size_t elementCount = 0;

  bool ok() const { return status == Status::Ok; }
};

inline constexpr std::size_t kMaxKeyElements = 100;

// Parses a key field such as CTRL+SHIFT+ESC into a KeySequence. `digitNames`, when given,
// receives the elements read as their first digit, in order (complete only when the field is Ok).
KeyFieldResult ParseKeyField(std::string_view field, std::vector<std::string_view>* digitNames = nullptr);

}  // namespace keyvane::btnfile
