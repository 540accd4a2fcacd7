#pragma once

#include <string>
#include <vector>

namespace keyvane::btnfile {

// The kept lines of the button file, in file order, each with the 1-based line of the file it
// came from (the pieces of a cut line share one). The reading fills it (btnfile/loader.h), the
// map walk reads it (btnfile/map_parser.h).
struct LineStore {
  std::vector<std::string> texts;
  std::vector<int> fileLines;  // parallel to texts
  // Each text before upper-casing, byte for byte as long: EXEC takes its program and arguments
  // from here, as the user wrote them.
  std::vector<std::string> originals;

  std::size_t size() const { return texts.size(); }
  void Add(std::string text, std::string original, int fileLine) {
    texts.push_back(std::move(text));
    originals.push_back(std::move(original));
    fileLines.push_back(fileLine);
  }
};

}  // namespace keyvane::btnfile
