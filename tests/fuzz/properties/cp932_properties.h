#pragma once

#include <string>
#include <string_view>

#include "btnfile/cp932.h"
#include "btnfile/file_encoding.h"
#include "fuzz/properties/failures.h"
#include "fuzz/properties/text_checks.h"
#include "support/upper_cased.h"

namespace keyvane::fuzz {

namespace detail {

inline bool IsHalfWidthByte(unsigned char b) { return (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF); }

// Walks `text` and `upper` character by character: same boundaries, ASCII letters raised,
// every other single byte kept, every double-byte character still a double-byte character.
inline bool UpperKeepsCharacters(std::string_view text, std::string_view upper) {
  if (CharStarts(text) != CharStarts(upper)) return false;
  const std::vector<std::size_t> starts = CharStarts(text);
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::size_t i = starts[k];
    const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
    if (end - i == 2) continue;
    const char c = text[i];
    const char expected = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper[i] != expected) return false;
  }
  return true;
}

// The mapping works character by character: the text maps to the concatenation of its characters'
// images, a single byte maps to itself, a double-byte character to itself or to one or two
// half-width bytes (a half-width kana and its voicing mark).
inline bool HalfWidthKeepsCharacters(std::string_view text, std::string_view half) {
  const std::vector<std::size_t> starts = CharStarts(text);
  std::string joined;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::size_t i = starts[k];
    const std::string_view c = text.substr(i, (k + 1 < starts.size() ? starts[k + 1] : text.size()) - i);
    const std::string image = cp932::ToHalfWidth(c);
    const bool kept = image == c;
    const bool halfWidth = c.size() == 2 && !image.empty() && image.size() <= 2 && IsHalfWidthByte(ByteAt(image, 0)) &&
                           (image.size() == 1 || ByteAt(image, 1) == 0xDE || ByteAt(image, 1) == 0xDF);
    if (!kept && !halfWidth) return false;
    joined += image;
  }
  return joined == half;
}

// Whatever the bytes of a file that says it is UTF-8 or UTF-16, the conversion gives valid
// code page 932, and each character it reports missing stands there as the mark.
inline void CheckConversion(std::string bytes, Failures& f) {
  std::vector<btnfile::MissingCharacter> missing;
  btnfile::ToCodePage932(bytes, &missing);
  f.Check(IsValidCp932(bytes), "a conversion gave bytes that are not code page 932");
  std::vector<std::size_t> lineStarts{0};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') lineStarts.push_back(i + 1);
  }
  for (const btnfile::MissingCharacter& m : missing) {
    const bool onALine = m.line >= 1 && static_cast<std::size_t>(m.line) <= lineStarts.size();
    f.Check(onALine && std::string_view(bytes).substr(lineStarts[onALine ? m.line - 1 : 0] + m.column, 2) ==
                           btnfile::kMissingCharacterMark,
            "a missing character is not where the conversion says it put the mark");
  }
}

}  // namespace detail

// Upper-casing and half-width mapping of any bytes: never longer, upper-casing idempotent and
// length-keeping, valid code page 932 stays valid, no double-byte character split, UTF-8 out;
// the bytes as a UTF-8 or UTF-16 file convert to valid code page 932, and the code page's
// characters come back from Unicode.
inline Failures Cp932Properties(std::string_view text) {
  Failures f;
  const std::string upper = testing::UpperCased(text);
  f.Check(upper.size() == text.size(), "ToUpper changed the length");
  f.Check(testing::UpperCased(upper) == upper, "ToUpper is not idempotent");
  f.Check(upper.size() == text.size() && detail::UpperKeepsCharacters(text, upper),
          "ToUpper split or changed a character it must keep");

  const std::string half = cp932::ToHalfWidth(text);
  f.Check(half.size() <= text.size(), "ToHalfWidth made the text longer");
  f.Check(cp932::ToHalfWidth(half) == half, "ToHalfWidth is not idempotent");
  f.Check(detail::HalfWidthKeepsCharacters(text, half), "ToHalfWidth split or changed a character it must keep");

  if (IsValidCp932(text)) {
    f.Check(IsValidCp932(upper), "ToUpper broke valid code page 932");
    f.Check(IsValidCp932(half), "ToHalfWidth broke valid code page 932");
    f.Check(cp932::ToUtf8(text).find("\xEF\xBF\xBD") == std::string::npos, "valid text decoded to U+FFFD");
  }

  const std::string utf8 = cp932::ToUtf8(text);
  std::size_t codePoints = 0;
  f.Check(IsValidUtf8(utf8, &codePoints), "ToUtf8 gave invalid UTF-8");
  f.Check(codePoints == CharStarts(text).size(), "ToUtf8 did not give one code point per character");

  // Every character of the code page comes back from Unicode as itself or as a code of the same
  // character.
  if (IsValidCp932(text)) {
    std::string back = "\xEF\xBB\xBF" + utf8;
    std::vector<btnfile::MissingCharacter> missing;
    btnfile::ToCodePage932(back, &missing);
    f.Check(missing.empty() && cp932::ToUtf8(back) == utf8, "a character of the code page did not come back");
  }
  detail::CheckConversion("\xEF\xBB\xBF" + std::string(text), f);
  detail::CheckConversion("\xFE\xFF" + std::string(text), f);
  return f;
}

}  // namespace keyvane::fuzz
