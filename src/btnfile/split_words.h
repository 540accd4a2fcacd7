#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keyvane::btnfile {

// Splits at `separator` outside double quotes; quotes stay in the words. Two separators
// in a row give an empty word; a trailing separator and an empty text add nothing.
std::vector<std::string> SplitWords(std::string_view text, char separator);

}  // namespace keyvane::btnfile
