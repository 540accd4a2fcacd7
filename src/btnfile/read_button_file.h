#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "btnfile/line_store.h"
#include "platform/files.h"

namespace keyvane::btnfile {

// Longest piece one read delivers: a 1023-byte buffer less its terminating zero.
inline constexpr std::size_t kMaxPieceBytes = 1022;

struct Piece {
  std::string text;  // up to its first zero byte
  int fileLine = 0;
  bool full = false;  // ended at the size limit, not at a line end
};

// Text-mode reading of raw file bytes: CR before LF dropped, 0x1A ends the data,
// pieces of at most 1022 bytes, each ending after its LF.
std::vector<Piece> SplitTextModePieces(std::string_view raw);

// Collapses blank runs outside double quotes, TAB to blank. The result may be shorter.
std::string CleanLine(std::string_view line);

// Reads the file into `store`. Returns 0 when read to its end, -1 when it cannot be opened.
int ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store);

// Turns one piece as read into its kept line; false when the piece is a comment or blank line.
bool KeepPiece(const Piece& piece, std::string& kept, bool& quotedApostrophe);

}  // namespace keyvane::btnfile
