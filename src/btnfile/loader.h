#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/file_encoding.h"
#include "btnfile/finding.h"
#include "btnfile/line_store.h"
#include "btnfile/map_parser.h"
#include "platform/files.h"

// Loading the button file as the keyboard does: its bytes, converted to code page 932 when the
// file is UTF-8 or UTF-16 (btnfile/file_encoding.h), read as text-mode reading delivers
// them, in pieces of at most 1022 bytes; a piece that starts with an apostrophe or is empty is
// dropped, the rest of a piece from its first apostrophe on is a comment; blank runs outside
// double quotes collapse, both ends are trimmed, letters are upper-cased. The kept lines then
// go to the map walk (btnfile/map_parser.h).
namespace keyvane::btnfile {

// Longest piece one read delivers: a 1023-byte buffer less its terminating zero.
inline constexpr std::size_t kMaxPieceBytes = 1022;

// Reads the file into `store`, first converted to code page 932 as a whole when it is UTF-8 or
// UTF-16, then as text-mode reading delivers it: CR before LF dropped, 0x1A ends the data,
// pieces of at most 1022 bytes, each ending after its LF and its text ending at its first zero
// byte. Returns the encoding the file was read in, nothing when it cannot be opened.
// `findings`, when given, receives the cut lines, the characters code page 932 lacks in what
// is kept, and the apostrophes between quotes.
std::optional<FileEncoding> ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store,
                                           std::vector<Finding>* findings = nullptr);

// Everything read from the button file; lives, unchanged, until a reload replaces it whole.
struct LoadedButtons {
  bool fileRead = false;  // false when the file could not be opened
  FileEncoding encoding = FileEncoding::Cp932;
  LineStore lines;
  BuiltMaps maps;
  std::vector<Finding> findings;  // what the reading and the walk dropped or fell back on, by line
  std::string readTrace;          // what the keyboard traces of this read (BuildMapTable), LF-ended
};

// Reads and cleans the file and builds the maps. Writes nothing: the keyboard traces readTrace.
LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath);

}  // namespace keyvane::btnfile
