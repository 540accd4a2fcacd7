#pragma once

#include <string>
#include <vector>

// The findings of a loaded button file (btnfile/finding.h) told in English: what the checker
// lists and what the keyboard's notice counts.
namespace keyvane::btnfile {

struct LoadedButtons;

// One place where the keyboard silently does something the file's author may not expect.
struct Diagnostic {
  int line = 0;         // 1-based line of the file; 0 when it is about the file as a whole
  std::string message;  // English; texts quoted from the file stay code page 932 bytes
};

// The findings of the loaded file told in English, in line order (whole-file notes first);
// none for a file that could not be read.
std::vector<Diagnostic> FindDiagnostics(const LoadedButtons& loaded);

}  // namespace keyvane::btnfile
