#include "btnfile/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/upper_cased.h"

namespace {

using keyvane::cp932::AppendFromUnicode;
using keyvane::cp932::IsLeadByte;
using keyvane::cp932::ToHalfWidth;
using keyvane::cp932::ToUtf8;
using keyvane::testing::UpperCased;

// Keeps UTF-8 expectations independent of the compiler's execution charset.
std::string Utf8(std::u8string_view s) { return {s.begin(), s.end()}; }

const std::string kReplacement = Utf8(u8"\uFFFD");

TEST(Cp932IsLeadByte, Ranges) {
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xDF));  // half-width katakana
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Cp932ToUpper, AsciiAndFullWidthLetters) {
  EXPECT_EQ(UpperCased("abc xyz AZ 09"), "ABC XYZ AZ 09");
  EXPECT_EQ(UpperCased("\x82\x81\x82\x82\x82\x83"), "\x82\x60\x82\x61\x82\x62");  // ａｂｃ
  EXPECT_EQ(UpperCased("\x83\xBF"), "\x83\x9F");                                  // α
  EXPECT_EQ(UpperCased("\x84\x91\x84\x76"), "\x84\x60\x84\x46");                  // яё
}

TEST(Cp932ToUpper, TrailBytesAreNotLetters) {
  EXPECT_EQ(UpperCased("\x83"
                       "a"),
            "\x83"
            "a");  // ヂ: trail is 'a'
  EXPECT_EQ(UpperCased("\x81"
                       "a"
                       "b"),
            "\x81"
            "a"
            "B");                               // ∥ then b
  EXPECT_EQ(UpperCased("\x95\\x"), "\x95\\X");  // 表 ends in a backslash
}

TEST(Cp932ToUpper, OtherTextUnchanged) {
  const std::string kana_kanji = "\x82\xD0\x83\x41\x8A\xBF\xB1";  // ひア漢ｱ
  EXPECT_EQ(UpperCased(kana_kanji), kana_kanji);
  EXPECT_EQ(UpperCased("\xFA\x40"), "\xFA\x40");  // small roman numeral one
}

TEST(Cp932ToUpper, LoneLeadByteAtEndStays) {
  EXPECT_EQ(UpperCased("ab\x83"), "AB\x83");
  EXPECT_EQ(UpperCased("\x83 a"), "\x83 A");  // a space cannot be a trail byte
}

TEST(Cp932ToHalfWidth, FullWidthAsciiAndSpace) {
  EXPECT_EQ(ToHalfWidth("\x82\x60\x82\x61\x82\x62"), "ABC");  // ＡＢＣ
  EXPECT_EQ(ToHalfWidth("\x81\x40"), " ");                    // ideographic space
  EXPECT_EQ(ToHalfWidth("\x81\x5F\x81\x60"), "\\~");          // ＼～
  EXPECT_EQ(ToHalfWidth("\x81\x8F"), "\x81\x8F");             // ￥ has no ASCII form
}

TEST(Cp932ToHalfWidth, KatakanaAndPunctuation) {
  EXPECT_EQ(ToHalfWidth("\x83\x41\x83\x93"), "\xB1\xDD");          // アン
  EXPECT_EQ(ToHalfWidth("\x83\x4B"), "\xB6\xDE");                  // ガ
  EXPECT_EQ(ToHalfWidth("\x83\x70\x83\x94"), "\xCA\xDF\xB3\xDE");  // パヴ
  EXPECT_EQ(ToHalfWidth("\x81\x5B\x81\x75\x81\x76\x81\x42\x81\x41\x81\x45\x81\x4A\x81\x4B"),
            "\xB0\xA2\xA3\xA1\xA4\xA5\xDE\xDF");  // ー「」。、・゛゜
  // ヵヶヮ have no half-width forms.
  EXPECT_EQ(ToHalfWidth("\x83\x95\x83\x96\x83\x8E"), "\x83\x95\x83\x96\x83\x8E");
}

TEST(Cp932ToHalfWidth, HiraganaKanjiAsciiUnchanged) {
  const std::string text = "a\\~ \x82\xAA\x82\xC8\x8A\xBF\x8E\x9A\x95\\\x8F\\";  // がな漢字表十
  EXPECT_EQ(ToHalfWidth(text), text);
  EXPECT_EQ(ToHalfWidth("x\x83"), "x\x83");
}

TEST(Cp932ToUtf8, SingleBytes) {
  EXPECT_EQ(ToUtf8("A\\~\x7F"), "A\\~\x7F");
  EXPECT_EQ(ToUtf8("\xA1\xB1\xDF"), Utf8(u8"\uFF61\uFF71\uFF9F"));
  EXPECT_EQ(ToUtf8("\x80\xA0\xFD\xFE\xFF"), kReplacement + kReplacement + kReplacement + kReplacement + kReplacement);
}

TEST(Cp932ToUtf8, DoubleBytes) {
  EXPECT_EQ(ToUtf8("\x81\x40\x8A\xBF\x8E\x9A"), Utf8(u8"\u3000\u6F22\u5B57"));  // 　漢字
  EXPECT_EQ(ToUtf8("\x81\x60\x81\x5F"), Utf8(u8"\uFF5E\uFF3C"));                // ～＼, not 〜
  EXPECT_EQ(ToUtf8("\x87\x40\xFA\x40"), Utf8(u8"\u2460\u2170"));                // NEC ① and IBM ⅰ
  EXPECT_EQ(ToUtf8("\xF0\x40"), Utf8(u8"\uE000"));                              // user-defined area
}

TEST(Cp932ToUtf8, UndecodableInput) {
  EXPECT_EQ(ToUtf8("a\x81"), "a" + kReplacement);
  EXPECT_EQ(ToUtf8("\x81 b"), kReplacement + " b");  // lead alone, space kept
  EXPECT_EQ(ToUtf8("\x85\x40"
                   "c"),
            kReplacement + "c");  // unassigned pair
  EXPECT_EQ(ToUtf8("\x81\x7F"), kReplacement + "\x7F");
}

// The code page 932 bytes of one character, "none" when it has none.
std::string Encoded(char32_t c) {
  std::string out = "x";  // appended to, never replaced
  return AppendFromUnicode(out, c) ? out.substr(1) : out == "x" ? "none" : "garbage";
}

TEST(Cp932FromUnicode, SingleBytes) {
  EXPECT_EQ(Encoded(U'\0'), std::string(1, '\0'));
  EXPECT_EQ(Encoded(U'A'), "A");
  EXPECT_EQ(Encoded(U'\\'), "\\");
  EXPECT_EQ(Encoded(U'\uFF71'), "\xB1");  // ｱ
  EXPECT_EQ(Encoded(U'\u0080'), "none");
}

TEST(Cp932FromUnicode, WhereSeveralCodesDecodeToACharacterWindowsPicksOne) {
  EXPECT_EQ(Encoded(U'\u6F22'), "\x8A\xBF");  // 漢
  EXPECT_EQ(Encoded(U'\u2252'), "\x81\xE0");  // ≒: JIS X 0208, not NEC row 13's 0x8790
  EXPECT_EQ(Encoded(U'\u2160'), "\x87\x54");  // Ⅰ: NEC row 13, not the IBM extension's 0xFA4A
  EXPECT_EQ(Encoded(U'\u2170'), "\xFA\x40");  // ⅰ: the IBM extension, not NEC's selection's 0xEEEF
  EXPECT_EQ(Encoded(U'\u7E8A'), "\xFA\x5C");  // 纊: the same, not 0xED40
  EXPECT_EQ(Encoded(U'\uFFE2'), "\x81\xCA");  // ￢: JIS X 0208, not 0xEEF9 or 0xFA54
  EXPECT_EQ(Encoded(U'\uE000'), "\xF0\x40");  // user-defined area
}

TEST(Cp932FromUnicode, JisNamesOfItsCharactersAndCharactersItLacks) {
  EXPECT_EQ(Encoded(U'\u301C'), "\x81\x60");  // 〜 as ～
  EXPECT_EQ(Encoded(U'\u2212'), "\x81\x7C");  // − as －
  EXPECT_EQ(Encoded(U'\u00A5'), "\\");        // ¥ as the byte the Japanese fonts draw as ¥
  EXPECT_EQ(Encoded(U'\u00E9'), "none");      // é
  EXPECT_EQ(Encoded(U'\U0001F600'), "none");  // an emoji
  EXPECT_EQ(Encoded(0xD800), "none");         // a surrogate
  EXPECT_EQ(Encoded(0x110000), "none");
}

}  // namespace

// The committed tables, held against glibc's own CP932 converter.
#if __has_include(<iconv.h>)
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

class Iconv {
 public:
  struct Result {
    std::string out;
    int error = 0;  // errno of a failed conversion
  };

  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  Result operator()(std::string in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    Result r{std::string(in.size() * 4 + 8, '\0')};
    char* ip = in.data();
    char* op = r.out.data();
    std::size_t il = in.size();
    std::size_t ol = r.out.size();
    if (iconv(cd_, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) r.error = errno;
    r.out.resize(r.out.size() - ol);
    return r;
  }

 private:
  iconv_t cd_;
};

std::string Utf32(char32_t c) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(c >> (8 * i) & 0xFF);
  return s;
}

std::u32string FromUtf32(const std::string& s) {
  std::u32string out;
  for (std::size_t i = 0; i + 3 < s.size(); i += 4) {
    char32_t c = 0;
    for (int k = 3; k >= 0; --k) c = c << 8 | static_cast<unsigned char>(s[i + k]);
    out += c;
  }
  return out;
}

std::string Pair(int lead, int trail) { return {static_cast<char>(lead), static_cast<char>(trail)}; }

bool IsTrailByte(int b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

class Cp932Glibc : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!to_utf8_.ok() || !to_utf32_.ok() || !from_utf32_.ok()) GTEST_SKIP() << "glibc iconv has no CP932";
  }

  // Every pair glibc decodes, with its code point.
  std::vector<std::pair<std::string, std::uint32_t>> DecodablePairs() {
    std::vector<std::pair<std::string, std::uint32_t>> pairs;
    for (int lead = 0; lead < 0x100; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0; trail < 0x100; ++trail) {
        const auto r = to_utf32_(Pair(lead, trail));
        if (r.error == 0 && r.out.size() == 4) pairs.emplace_back(Pair(lead, trail), FromUtf32(r.out)[0]);
      }
    }
    return pairs;
  }

  Iconv to_utf8_{"UTF-8", "CP932"};
  Iconv to_utf32_{"UTF-32LE", "CP932"};
  Iconv from_utf32_{"CP932", "UTF-32LE"};
};

TEST_F(Cp932Glibc, LeadBytesAreTheOnesGlibcWaitsOn) {
  for (int b = 0; b < 0x100; ++b) {
    const bool incomplete = to_utf8_(std::string(1, static_cast<char>(b))).error == EINVAL;
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), incomplete) << std::hex << b;
  }
}

TEST_F(Cp932Glibc, SingleBytesDecodeAsGlibc) {
  for (int b = 0; b < 0x100; ++b) {
    if (IsLeadByte(static_cast<unsigned char>(b))) continue;
    const auto r = to_utf8_(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(ToUtf8(std::string(1, static_cast<char>(b))), r.error ? kReplacement : r.out) << std::hex << b;
  }
}

TEST_F(Cp932Glibc, EveryPairDecodesAsGlibc) {
  int decoded = 0;
  for (int lead = 0; lead < 0x100; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0; trail < 0x100; ++trail) {
      const std::string pair = Pair(lead, trail);
      const auto r = to_utf8_(pair);
      decoded += r.error == 0;
      if (r.error == 0) {
        EXPECT_EQ(ToUtf8(pair), r.out) << std::hex << lead << ' ' << trail;
      } else if (IsTrailByte(trail)) {
        EXPECT_EQ(ToUtf8(pair), kReplacement) << std::hex << lead << ' ' << trail;
      } else {  // the second byte stands on its own
        EXPECT_EQ(ToUtf8(pair), kReplacement + ToUtf8(pair.substr(1))) << std::hex << lead << ' ' << trail;
      }
    }
  }
  EXPECT_GT(decoded, 9000);  // JIS X 0208, NEC/IBM extensions, user-defined area
}

TEST_F(Cp932Glibc, EveryCharacterEncodesAsGlibc) {
  int encoded = 0;
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;  // no characters: glibc refuses them as input
    const auto r = from_utf32_(Utf32(c));
    std::string ours;
    const bool ok = AppendFromUnicode(ours, c);
    encoded += ok;
    EXPECT_EQ(ok ? ours : "none", r.error ? "none" : r.out) << std::hex << static_cast<std::uint32_t>(c);
  }
  EXPECT_GT(encoded, 9000);  // ASCII, half-width katakana and the double-byte characters, each once
  for (const char32_t c : {U'\U00010000', U'\U0001F600', U'\U00020B9F', U'\U0010FFFF'}) {
    std::string ours;
    EXPECT_FALSE(AppendFromUnicode(ours, c));
    EXPECT_NE(from_utf32_(Utf32(c)).error, 0);
  }
}

TEST_F(Cp932Glibc, UpperCaseFollowsUnicodeCapitals) {
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (utf8 == locale_t{}) GTEST_SKIP() << "no C.UTF-8 locale";
  int changed = 0;
  for (const auto& [pair, c] : DecodablePairs()) {
    const bool letter_script = (c >= 0xFF41 && c <= 0xFF5A) || (c >= 0x0370 && c <= 0x04FF);
    const auto upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), utf8));
    std::string expected = pair;
    if (letter_script && upper != c) {
      const auto enc = from_utf32_(Utf32(upper));
      if (enc.error == 0 && enc.out.size() == 2) expected = enc.out;
    }
    changed += expected != pair;
    EXPECT_EQ(UpperCased(pair), expected) << std::hex << c;
  }
  freelocale(utf8);
  EXPECT_EQ(changed, 26 + 24 + 33);  // Latin, Greek, Cyrillic
}

TEST_F(Cp932Glibc, HalfWidthFormsAreAsciiOrHalfWidthKatakana) {
  std::set<unsigned char> katakana_reached;
  for (const auto& [pair, c] : DecodablePairs()) {
    const std::string half = ToHalfWidth(pair);
    if (c >= 0xFF01 && c <= 0xFF5E) {
      EXPECT_EQ(half, from_utf32_(Utf32(c - 0xFF01 + 0x21)).out) << std::hex << c;
    }
    if (half == pair) continue;
    ASSERT_LE(half.size(), pair.size());
    const auto r = to_utf32_(half);
    ASSERT_EQ(r.error, 0) << std::hex << c;
    for (std::uint32_t h : FromUtf32(r.out)) {
      EXPECT_TRUE((h >= 0x20 && h <= 0x7E) || (h >= 0xFF61 && h <= 0xFF9F)) << std::hex << c;
    }
    for (const char b : half) katakana_reached.insert(static_cast<unsigned char>(b));
  }
  // Every half-width katakana byte has a full-width counterpart.
  for (int b = 0xA1; b <= 0xDF; ++b) {
    EXPECT_TRUE(katakana_reached.contains(static_cast<unsigned char>(b))) << std::hex << b;
  }
}

}  // namespace
#endif
