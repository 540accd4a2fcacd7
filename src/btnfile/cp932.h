#pragma once

// Code page 932 (Shift-JIS with the NEC/IBM extensions) text helpers that do
// not depend on the process locale or code page, so they behave the same on
// Windows and in the Linux tests.

#include <string>
#include <string_view>

namespace keyvane::cp932 {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Trail bytes: 0x40-0xFC but 0x7F.
inline bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Bytes of the character at text[i]: 2 for a lead byte followed by a possible trail
// byte, else 1, so that a stray lead byte never swallows the ASCII after it.
// Inline: every walk over a text takes it once a character.
inline std::size_t CharLength(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                 IsTrailByte(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// A byte a-z upper-cased; every other byte, trail bytes among them, as it is.
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Without the blanks and control bytes (every byte up to the space) at both ends; no such
// byte is ever part of a double-byte character.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Upper-cases a-z and the lower-case full-width Latin, Greek and Cyrillic
// letters, in place. Everything else, the byte length and double-byte characters'
// trail bytes are left as they are; a lone lead byte at the end stays.
void ToUpperInPlace(std::string& text);

// Full-width ASCII forms and the ideographic space become ASCII; full-width
// katakana, the prolonged-sound mark and 。「」、・゛゜ become their
// half-width bytes (voiced kana as base + 0xDE/0xDF). Hiragana, kanji and
// anything without a single-byte half-width form are unchanged. Never longer.
std::string ToHalfWidth(std::string_view text);

// Decodes to UTF-8. Each byte or pair that does not decode becomes U+FFFD;
// a lead byte whose next byte cannot be a trail byte is one such byte.
// 0x5C and 0x7E are backslash and tilde, 0xA1-0xDF half-width katakana.
std::string ToUtf8(std::string_view text);
// The same, appended to `out`.
void AppendUtf8(std::string& out, std::string_view text);

// Appends the code page 932 bytes of a Unicode character and returns true; returns false,
// appending nothing, when the code page has no such character. Where several codes decode to
// the character, the one Windows encodes it to: the lowest, but the IBM extensions (0xFA-0xFC)
// before NEC's selection of them (0xED, 0xEE). A few characters that decode from no code are
// taken as the JIS characters they name (〜 as ～, − as －, ¥ and ‾ as 0x5C and 0x7E).
bool AppendFromUnicode(std::string& out, char32_t c);

}  // namespace keyvane::cp932
