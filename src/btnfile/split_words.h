#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace keyvane::btnfile {

// Splits at `separator` outside double quotes; quotes stay in the words. Two separators
// in a row give an empty word; a trailing separator and an empty text add nothing.
std::vector<std::string> SplitWords(std::string_view text, char separator);
// The same words, as views into `text`.
std::vector<std::string_view> SplitWordViews(std::string_view text, char separator);

// The first three words that SplitWords gives (empty past the last), and how many it gives
// in all, without copying any.
struct LeadingWords {
  std::array<std::string_view, 3> words;
  std::size_t count = 0;
};
LeadingWords ScanWords(std::string_view text, char separator);

}  // namespace keyvane::btnfile
