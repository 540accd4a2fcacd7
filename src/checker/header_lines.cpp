#include "checker/header_lines.h"

namespace keyvane::checker {

std::map<std::string, int> HeaderLines(const btnfile::LineStore& lines) {
  std::map<std::string, int> headers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines.texts[i].starts_with('#')) headers[lines.texts[i].substr(1)] = lines.origins[i].fileLine;
  }
  return headers;
}

}  // namespace keyvane::checker
