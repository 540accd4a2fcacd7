#pragma once

#include <cstddef>
#include <string>
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

// Calls `take` with each code point of well-formed UTF-8.
template <typename Take>
void ForEachCodePoint(std::string_view utf8, Take take) {
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char b = ByteAt(utf8, i);
    const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) c = c << 6 | (ByteAt(utf8, i + k) & 0x3F);
    take(c);
    i += length;
  }
}

// Well-formed UTF-8 as UTF-16 LE without a mark.
inline std::string Utf16Le(std::string_view utf8) {
  std::string out;
  const auto unit = [&out](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8 & 0xFF);
  };
  ForEachCodePoint(utf8, [&](char32_t c) {
    if (c < 0x10000) {
      unit(c);
    } else {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  });
  return out;
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
