#pragma once

#include <string>
#include <vector>

#include "btnfile/line_store.h"
#include "btnfile/map_parser.h"

namespace keyvane::btnfile {

// One place where the keyboard silently does something the file's author may not expect.
struct Diagnostic {
  int line = 0;         // 1-based line of the file; 0 when it is about the file as a whole
  std::string message;  // English; texts quoted from the file stay code page 932 bytes
};

// Every silent rule that the loaded file runs into, ordered by line (whole-file notes first).
std::vector<Diagnostic> FindDiagnostics(const LineStore& lines, const BuiltMaps& maps);

}  // namespace keyvane::btnfile
