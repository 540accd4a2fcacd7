#include "btnfile/app_pages.h"

#include <algorithm>

#include "btnfile/map_parser.h"

namespace keyvane::btnfile {

std::optional<Finding> TakeProgramPageLine(std::string_view line, const ButtonDef& def, int fileLine,
                                           ProgramPageTable& table) {
  const LeadingWords scan = ScanWords(line, ' ');
  if (scan.count == 0) return std::nullopt;
  if (def.kind != ActionKind::BASE) return Finding(FindingKind::ProgramLineForm, fileLine);
  // The first word as written: the caption rules made the definition's caption of it.
  const std::string_view program = scan.words[0];
  if (const ProgramPage* earlier = FindProgramPage(table, program)) {
    Finding f(FindingKind::ProgramAgain, fileLine);
    f.text = program;
    f.number = earlier->line;
    return f;
  }
  table.push_back({std::string(program), def.target, fileLine});
  Finding f(FindingKind::ProgramPageNamesNoMap, fileLine);
  f.text = program;
  f.map = def.target;
  return f;
}

const ProgramPage* FindProgramPage(const ProgramPageTable& table, std::string_view upperProgram) {
  const auto it =
      std::find_if(table.begin(), table.end(), [&](const ProgramPage& page) { return page.program == upperProgram; });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace keyvane::btnfile
