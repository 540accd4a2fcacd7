#include "app/button_file_notice.h"

#include "app/keyboard.h"

namespace keyvane::app {

std::string ButtonFileNotice(LoadOutcome outcome, const std::vector<btnfile::Diagnostic>& problems) {
  const std::string file(btnfile::kButtonFileName);
  switch (outcome) {
    case LoadOutcome::Unreadable: return file + " cannot be read: every button is blank.";
    case LoadOutcome::UnreadableKept: return file + " cannot be read: the buttons stay as they were.";
    case LoadOutcome::NoMapKept: return file + " has no map (a line starting with #): the buttons stay as they were.";
    case LoadOutcome::Read: break;
  }
  if (problems.empty()) return {};
  const btnfile::Diagnostic& first = problems.front();
  std::string text =
      file + ": " + std::to_string(problems.size()) + (problems.size() == 1 ? " problem. " : " problems. ");
  if (first.line > 0) text += "Line " + std::to_string(first.line) + ": ";
  return text + first.message;
}

}  // namespace keyvane::app
