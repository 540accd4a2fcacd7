#include "checker/key_text.h"

#include <cstdio>

#include "btnfile/key_names.h"

namespace keyvane::checker {

std::string KeyCodeText(std::uint8_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
  for (const btnfile::KeyName& key : btnfile::KeyNameTable()) {
    if (key.code == code) return key.name;  // the first of several names, so 0x08 reads BS
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

std::string KeySequenceText(const btnfile::KeySequence& keys) {
  std::string text;
  for (std::size_t i = 0; i < btnfile::KeyCount(keys); ++i) {
    if (i > 0) text += '+';
    text += KeyCodeText(keys[i]);
  }
  return text;
}

}  // namespace keyvane::checker
