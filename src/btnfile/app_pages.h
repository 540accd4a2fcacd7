#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/button_def.h"
#include "btnfile/finding.h"

// The map APP_PAGE is a table, not a page: each definition line is written
//
//   PROGRAM BASE MAP      e.g. NOTEPAD.EXE BASE EDIT
//
// and says which map becomes the default, and shows, when a window of PROGRAM (the file name
// of its program) comes to the front. The program is the first word as written, not a caption.
namespace keyvane::btnfile {

struct ProgramPage {
  std::string program;  // upper case, as every kept line is
  std::string map;
  int line = 0;  // 1-based line of the file
};

// In file order; a program has at most one line, its first.
using ProgramPageTable = std::vector<ProgramPage>;

// Takes one definition line of APP_PAGE, `def` as the grammar reads it, into the table, or tells
// why it is not taken: it must have the form of a BASE button. An empty kept line is passed
// over. A line whose map may not exist is taken, with a finding that the walk keeps only when no
// map of that name is built.
std::optional<Finding> TakeProgramPageLine(std::string_view line, const ButtonDef& def, int fileLine,
                                           ProgramPageTable& table);

// The line of a program, its name upper-cased as the file's words are; nullptr when it has none.
const ProgramPage* FindProgramPage(const ProgramPageTable& table, std::string_view upperProgram);

}  // namespace keyvane::btnfile
