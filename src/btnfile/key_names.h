#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// Parses a key field such as CTRL+SHIFT+ESC into a KeySequence.
KeyFieldResult ParseKeyField(std::string_view field);

}  // namespace keyvane::btnfile
