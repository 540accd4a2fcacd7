#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "btnfile/cp932.h"

namespace keyvane::fuzz {

inline unsigned char ByteAt(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

inline bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Where each character of a code page 932 text starts: a lead byte followed by a trail byte is
// one character, every other byte (a stray lead byte included) is one of its own.
inline std::vector<std::size_t> CharStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size();) {
    starts.push_back(i);
    i += cp932::IsLeadByte(ByteAt(text, i)) && i + 1 < text.size() && IsTrailByte(ByteAt(text, i + 1)) ? 2 : 1;
  }
  return starts;
}

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF); counts the code points.
inline bool IsValidUtf8(std::string_view text, std::size_t* codePoints = nullptr) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const unsigned char b = ByteAt(text, i);
    std::size_t length = 0;
    char32_t c = 0;
    if (b < 0x80) {
      length = 1;
      c = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      c = b & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char t = ByteAt(text, i + k);
      if ((t & 0xC0) != 0x80) return false;
      c = c << 6 | (t & 0x3F);
    }
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    i += length;
  }
  if (codePoints != nullptr) *codePoints = count;
  return true;
}

// Every byte a character of code page 932: ASCII, half-width katakana, or a lead and trail byte
// pair that the code page defines.
inline bool IsValidCp932(std::string_view text) {
  static const std::string_view kReplacement = "\xEF\xBF\xBD";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = ByteAt(text, i);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    if (!cp932::IsLeadByte(b) || i + 1 >= text.size() || !IsTrailByte(ByteAt(text, i + 1))) return false;
    if (cp932::ToUtf8(text.substr(i, 2)) == kReplacement) return false;
    ++i;
  }
  return true;
}

}  // namespace keyvane::fuzz
