#include "btnfile/app_pages.h"

#include <algorithm>

#include "btnfile/map_parser.h"

namespace keyvane::btnfile {

namespace {

constexpr std::string_view kMakeDefaultWord = "BASE";

}  // namespace

std::optional<Finding> TakeProgramPageLine(std::string_view line, int fileLine, ProgramPageTable& table) {
  const LeadingWords scan = ScanWords(line, ' ');
  if (scan.count == 0) return std::nullopt;
  if (scan.count != 3 || scan.words[1] != kMakeDefaultWord) return Finding(FindingKind::ProgramLineForm, fileLine);
  const std::string_view program = scan.words[0];
  if (const ProgramPage* earlier = FindProgramPage(table, program)) {
    Finding f(FindingKind::ProgramAgain, fileLine);
    f.text = program;
    f.number = earlier->line;
    return f;
  }
  table.push_back({std::string(program), std::string(scan.words[2]), fileLine});
  Finding f(FindingKind::ProgramPageNamesNoMap, fileLine);
  f.text = scan.words[2];
  f.detail = program;
  return f;
}

const ProgramPage* FindProgramPage(const ProgramPageTable& table, std::string_view upperProgram) {
  const auto it = std::ranges::find(table, upperProgram, &ProgramPage::program);
  return it == table.end() ? nullptr : &*it;
}

}  // namespace keyvane::btnfile
