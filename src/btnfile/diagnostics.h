#pragma once

#include <string>
#include <vector>

#include "btnfile/loader.h"

namespace keyvane::btnfile {

// One place where the keyboard silently does something the file's author may not expect.
struct Diagnostic {
  int line = 0;         // 1-based line of the file; 0 when it is about the file as a whole
  std::string message;  // English; texts quoted from the file stay code page 932 bytes
};

// The findings of the loaded file told in English, ordered by line (whole-file notes first);
// none for a file that could not be read.
std::vector<Diagnostic> FindDiagnostics(const LoadedButtons& loaded);

}  // namespace keyvane::btnfile
