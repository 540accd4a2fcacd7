#include "btnfile/split_words.h"

namespace keyvane::btnfile {

std::vector<std::string> SplitWords(std::string_view text, char separator) {
  const std::vector<std::string_view> views = SplitWordViews(text, separator);
  return {views.begin(), views.end()};
}

std::vector<std::string_view> SplitWordViews(std::string_view text, char separator) {
  std::vector<std::string_view> words;
  bool inQuotes = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (text[i] == separator && !inQuotes) {
      words.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < text.size()) words.push_back(text.substr(start));
  return words;
}

LeadingWords ScanWords(std::string_view text, char separator) {
  LeadingWords scan;
  bool inQuotes = false;
  std::size_t start = 0;
  auto word = [&](std::size_t end) {
    if (scan.count < scan.words.size()) scan.words[scan.count] = text.substr(start, end - start);
    ++scan.count;
    start = end + 1;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (text[i] == separator && !inQuotes) word(i);
  }
  if (start < text.size()) word(text.size());
  return scan;
}

}  // namespace keyvane::btnfile
