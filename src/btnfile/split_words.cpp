#include "btnfile/split_words.h"

namespace keyvane::btnfile {

std::vector<std::string> SplitWords(std::string_view text, char separator) {
  std::vector<std::string> words;
  std::string word;
  bool inQuotes = false;
  for (const char c : text) {
    if (c == '"') inQuotes = !inQuotes;
    if (c == separator && !inQuotes) {
      words.push_back(std::move(word));
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

}  // namespace keyvane::btnfile
