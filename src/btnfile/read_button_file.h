#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "btnfile/findings.h"
#include "btnfile/line_store.h"
#include "platform/files.h"

namespace keyvane::btnfile {

// Longest piece one read delivers: a 1023-byte buffer less its terminating zero.
inline constexpr std::size_t kMaxPieceBytes = 1022;

// Collapses blank runs outside double quotes, TAB to blank. The result may be shorter.
std::string CleanLine(std::string_view line);

// Reads the file into `store` as text-mode reading delivers it: CR before LF dropped, 0x1A
// ends the data, pieces of at most 1022 bytes, each ending after its LF and its text ending
// at its first zero byte. Returns 0 when read to its end, -1 when it cannot be opened.
// `findings`, when given, receives the cut lines and the apostrophes between quotes.
int ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store,
                   std::vector<Finding>* findings = nullptr);

}  // namespace keyvane::btnfile
