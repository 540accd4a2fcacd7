#pragma once

#include <string>
#include <string_view>

namespace keyvane::app {

// The folder of a code page 932 path, up to and including its last backslash; empty when the
// path has none. The path is walked by characters, since the second byte of a double-byte
// character (ソ is 0x83 0x5C) can be the backslash byte.
std::string FolderOfPath(std::string_view path);

}  // namespace keyvane::app
