#include "btnfile/cp932.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace keyvane::cp932 {
namespace {

struct UpperPair {
  std::uint16_t lower;
  std::uint16_t upper;
};

struct HalfWidthForm {
  std::uint16_t code;
  unsigned char first;
  unsigned char second;  // 0 when the form is one byte
};

struct EncodeOnlyForm {
  char16_t unicode;
  std::uint16_t code;
};

#include "cp932_tables.inc"

constexpr unsigned char kTrailFirst = 0x40;
constexpr char32_t kReplacement = 0xFFFD;

unsigned char Byte(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

std::uint16_t PairAt(std::string_view text, std::size_t i) {
  return static_cast<std::uint16_t>(Byte(text, i) << 8 | Byte(text, i + 1));
}

char32_t DecodePair(std::uint16_t code) {
  const unsigned lead = code >> 8;
  const unsigned row = lead < 0xA0 ? lead - 0x81 : lead - 0xE0 + (0xA0 - 0x81);
  return kDecode[row][(code & 0xFF) - kTrailFirst];
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // the code page is all in the BMP
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsNecSelectedIbmExtension(std::uint16_t code) { return code >= 0xED40 && code <= 0xEEFC; }

// The code of every character of the Basic Multilingual Plane, 0 for none: the decoding table
// read backwards, made the first time a Unicode file is read (a table of its own would make
// the program some 30 KB bigger).
const std::vector<std::uint16_t>& EncodeTable() {
  static const std::vector<std::uint16_t> table = [] {
    std::vector<std::uint16_t> codes(0x10000, 0);
    for (std::uint16_t c = 1; c < 0x80; ++c) codes[c] = c;
    for (std::uint16_t b = 0xA1; b <= 0xDF; ++b) codes[0xFF61 + (b - 0xA1)] = b;
    for (std::size_t row = 0; row < std::size(kDecode); ++row) {
      const unsigned lead = row < 0xA0 - 0x81 ? 0x81 + row : 0xE0 + row - (0xA0 - 0x81);
      for (std::size_t t = 0; t < std::size(kDecode[row]); ++t) {
        const char16_t c = kDecode[row][t];
        const auto code = static_cast<std::uint16_t>(lead << 8 | (kTrailFirst + t));
        // Codes come in rising order, so the first is the lowest.
        if (c != 0 && (codes[c] == 0 || IsNecSelectedIbmExtension(codes[c]))) codes[c] = code;
      }
    }
    for (const EncodeOnlyForm& form : kEncodeOnly) codes[form.unicode] = form.code;
    return codes;
  }();
  return table;
}

}  // namespace

void ToUpperInPlace(std::string& out) {
  const unsigned char firstLead = kUpper[0].lower >> 8;
  const unsigned char lastLead = std::end(kUpper)[-1].lower >> 8;
  for (std::size_t i = 0, n = 0; i < out.size(); i += n) {
    n = CharLength(out, i);
    if (n == 1) {
      out[i] = AsciiUpper(out[i]);
      continue;
    }
    if (Byte(out, i) < firstLead || Byte(out, i) > lastLead) continue;  // no letters in that row
    const std::uint16_t code = PairAt(out, i);
    const auto it = std::lower_bound(std::begin(kUpper), std::end(kUpper), code,
                                     [](const UpperPair& pair, std::uint16_t c) { return pair.lower < c; });
    if (it != std::end(kUpper) && it->lower == code) {
      out[i] = static_cast<char>(it->upper >> 8);
      out[i + 1] = static_cast<char>(it->upper & 0xFF);
    }
  }
}

std::string ToHalfWidth(std::string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(text);  // no full-width form in plain ASCII
  }
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
    n = CharLength(text, i);
    const auto it = n == 2 ? std::lower_bound(std::begin(kHalfWidth), std::end(kHalfWidth), PairAt(text, i),
                                              [](const HalfWidthForm& form, std::uint16_t c) { return form.code < c; })
                           : std::end(kHalfWidth);
    if (it == std::end(kHalfWidth) || it->code != PairAt(text, i)) {
      out.append(text.substr(i, n));
      continue;
    }
    out += static_cast<char>(it->first);
    if (it->second != 0) out += static_cast<char>(it->second);
  }
  return out;
}

std::string ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  AppendUtf8(out, text);
  return out;
}

void AppendUtf8(std::string& out, std::string_view text) {
  for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
    if (Byte(text, i) < 0x80) {  // a run of ASCII is the same in UTF-8
      n = 1;
      while (i + n < text.size() && Byte(text, i + n) < 0x80) ++n;
      out.append(text.substr(i, n));
      continue;
    }
    n = CharLength(text, i);
    const unsigned char b = Byte(text, i);
    char32_t c = kReplacement;
    if (n == 2) {
      if (const char32_t decoded = DecodePair(PairAt(text, i))) c = decoded;
    } else if (b < 0x80) {
      c = b;
    } else if (b >= 0xA1 && b <= 0xDF) {
      c = 0xFF61 + (b - 0xA1);  // half-width katakana, in the same order
    }
    AppendCodePoint(out, c);
  }
}

bool AppendFromUnicode(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return true;
  }
  if (c > 0xFFFF) return false;
  const std::uint16_t code = EncodeTable()[c];
  if (code == 0) return false;
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
  return true;
}

}  // namespace keyvane::cp932
