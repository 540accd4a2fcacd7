#include "btnfile/line_cleaning.h"

namespace keyvane::btnfile {

// A blank is dropped when the one before it was a blank too and it stands outside double
// quotes: a blank inside quotes is never dropped, and no blank can follow one inside quotes
// outside them without a double quote between.
void CleanLineInto(std::string_view line, std::string& out) {
  out.resize(line.size());  // never longer
  char* next = out.data();
  bool inQuotes = false;
  char previous = '\0';
  for (char c : line) {
    if (c == '\t') c = ' ';
    inQuotes ^= c == '"';
    *next = c;
    next += !(c == ' ' && previous == ' ' && !inQuotes);
    previous = c;
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
}

}  // namespace keyvane::btnfile
