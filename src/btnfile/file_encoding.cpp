#include "btnfile/file_encoding.h"

#include "btnfile/cp932.h"

namespace keyvane::btnfile {
namespace {

constexpr char32_t kNotACharacter = MissingCharacter::kNotACharacter;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

struct Decoded {
  char32_t character;  // kNotACharacter for a byte that starts no well-formed sequence
  std::size_t length;
};

// The UTF-8 sequence at bytes[i]. Overlong forms, surrogates and code points beyond U+10FFFF
// are no characters; such a sequence, like a stray byte, counts one byte at a time.
Decoded Utf8At(std::string_view bytes, std::size_t i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    least = 0x10000;
  } else {
    return {kNotACharacter, 1};
  }
  if (bytes.size() - i < length) return {kNotACharacter, 1};
  char32_t c = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[i + k]);
    if ((next & 0xC0) != 0x80) return {kNotACharacter, 1};
    c = c << 6 | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {kNotACharacter, 1};
  return {c, length};
}

// Code page 932 text is practically never valid UTF-8: its lead bytes 0x81-0x9F cannot start a
// UTF-8 sequence, and a kanji's pair rarely forms one.
bool IsUtf8BeyondAscii(std::string_view bytes) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const Decoded d = Utf8At(bytes, i);
    if (d.character == kNotACharacter) return false;
    beyondAscii = true;
    i += d.length;
  }
  return beyondAscii;
}

// Builds the converted text, keeping count of where each mark goes.
class Cp932Writer {
 public:
  Cp932Writer(std::size_t size, std::vector<MissingCharacter>* missing) : missing_(missing) { out_.reserve(size); }

  void Put(char32_t c) {
    if (c == '\n') {
      out_ += '\n';
      ++line_;
      lineStart_ = out_.size();
      return;
    }
    if (c != kNotACharacter && cp932::AppendFromUnicode(out_, c)) return;
    if (missing_ != nullptr) missing_->push_back({line_, out_.size() - lineStart_, c});
    out_ += kMissingCharacterMark;
  }

  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  std::vector<MissingCharacter>* missing_;
  int line_ = 1;
  std::size_t lineStart_ = 0;
};

void FromUtf8(std::string_view text, Cp932Writer& out) {
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = Utf8At(text, i);
    out.Put(d.character);
    i += d.length;
  }
}

void FromUtf16(std::string_view text, bool bigEndian, Cp932Writer& out) {
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(text[i + 1]);
    return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  const auto isHigh = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto isLow = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  std::size_t i = 0;
  for (; i + 1 < text.size(); i += 2) {
    const char32_t u = unit(i);
    if (isHigh(u) && i + 3 < text.size() && isLow(unit(i + 2))) {
      out.Put(0x10000 + ((u - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
      i += 2;
    } else {
      out.Put(isHigh(u) || isLow(u) ? kNotACharacter : u);
    }
  }
  if (i < text.size()) out.Put(kNotACharacter);  // half a unit at the end
}

}  // namespace

std::string_view EncodingName(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Cp932: return "code page 932";
    case FileEncoding::Utf8: return "UTF-8";
    case FileEncoding::Utf8WithMark: return "UTF-8 with a byte-order mark";
    case FileEncoding::Utf16LeWithMark: return "UTF-16 LE with a byte-order mark";
    case FileEncoding::Utf16BeWithMark: return "UTF-16 BE with a byte-order mark";
  }
  return {};
}

FileEncoding ToCodePage932(std::string& bytes, std::vector<MissingCharacter>* missing) {
  const std::string_view all(bytes);
  FileEncoding encoding = FileEncoding::Cp932;
  std::string_view text = all;
  if (all.starts_with(kUtf8Mark)) {
    encoding = FileEncoding::Utf8WithMark;
    text.remove_prefix(kUtf8Mark.size());
  } else if (all.starts_with(kUtf16LeMark)) {
    encoding = FileEncoding::Utf16LeWithMark;
    text.remove_prefix(kUtf16LeMark.size());
  } else if (all.starts_with(kUtf16BeMark)) {
    encoding = FileEncoding::Utf16BeWithMark;
    text.remove_prefix(kUtf16BeMark.size());
  } else if (IsUtf8BeyondAscii(all)) {
    encoding = FileEncoding::Utf8;
  } else {
    return encoding;
  }
  Cp932Writer out(text.size(), missing);
  if (encoding == FileEncoding::Utf8 || encoding == FileEncoding::Utf8WithMark) {
    FromUtf8(text, out);
  } else {
    FromUtf16(text, encoding == FileEncoding::Utf16BeWithMark, out);
  }
  bytes = out.Take();
  return encoding;
}

}  // namespace keyvane::btnfile
