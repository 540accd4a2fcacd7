#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The encodings a button file may be saved in. The keyboard works in code page 932; a file in
// UTF-8 or UTF-16, as today's editors save it, is converted to code page 932 as a whole before
// its lines are read, so everything after the reading is the same for every encoding.
namespace keyvane::btnfile {

enum class FileEncoding {
  Cp932,            // no byte-order mark, and not UTF-8: the file's bytes as they are
  Utf8,             // no mark, but valid UTF-8 with at least one character beyond ASCII
  Utf8WithMark,     // starts with EF BB BF
  Utf16LeWithMark,  // starts with FF FE
  Utf16BeWithMark,  // starts with FE FF
};

// How the reports name it: "code page 932", "UTF-8", "UTF-8 with a byte-order mark", ...
std::string_view EncodingName(FileEncoding encoding);

// What the conversion writes for a character that code page 932 does not have: 〓, the geta
// mark that Japanese typesetting puts where a character is missing. Double-byte, so it takes a
// kanji's width, no byte of it is one the grammar reads, and the caption rules keep it as it is.
inline constexpr std::string_view kMissingCharacterMark = "\x81\xAC";

// A character that the conversion replaced by the mark: where the mark stands in the converted
// text (the 1-based line, counting LFs, and the byte offset within that line) and what it
// replaced; kNotACharacter for bytes that form no character of the file's encoding.
struct MissingCharacter {
  static constexpr char32_t kNotACharacter = 0xFFFFFFFF;

  int line;
  std::size_t column;
  char32_t character;
};

// Decides the encoding of the whole file from its bytes and, unless it is code page 932,
// converts `bytes` in place to code page 932 without the byte-order mark. `missing`, when
// given, receives the characters replaced by the mark, in file order.
FileEncoding ToCodePage932(std::string& bytes, std::vector<MissingCharacter>* missing = nullptr);

}  // namespace keyvane::btnfile
