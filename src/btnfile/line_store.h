#pragma once

#include <string>
#include <vector>

namespace keyvane::btnfile {

// Where a kept line came from, for the checker's messages; the keyboard itself reads only the texts.
struct LineOrigin {
  int fileLine = 0;               // 1-based line number in the file
  bool cutPiece = false;          // the file line was longer than one read piece and got cut
  bool quotedApostrophe = false;  // an apostrophe between double quotes cut this line short
};

// The cleaned, upper-cased kept lines of the button file, in file order.
struct LineStore {
  std::vector<std::string> texts;
  std::vector<LineOrigin> origins;  // parallel to texts

  std::size_t size() const { return texts.size(); }
  void Add(std::string text, LineOrigin origin) {
    texts.push_back(std::move(text));
    origins.push_back(origin);
  }
};

}  // namespace keyvane::btnfile
