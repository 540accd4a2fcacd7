#include "tracking/program_pages.h"

#include "btnfile/cp932.h"
#include "input/input_window.h"

namespace keyvane::tracking {

bool ProgramPages::TargetTaken(platform::WindowHandle target) {
  // The table of the maps shown now: a reload replaces both at once.
  const btnfile::ProgramPageTable& table = switcher_.maps().programPages;
  if (table.empty()) return false;
  // A Store app's frame is a host's window: the app is the program of its core window.
  const platform::WindowHandle window = input::InputWindowOf(desktop_, target);
  // Keyvane's own menu and About box come and go without the user changing programs. The
  // shell's windows never become the target.
  if (desktop_.WindowThread(window) == desktop_.CurrentThread()) return false;
  std::optional<std::string> program = desktop_.ProgramName(window);
  // Compared ignoring case, by the rule that upper-cases the file's words.
  if (program) cp932::ToUpperInPlace(*program);
  if (programSeen_ && program == program_) return false;  // another window of the same program
  programSeen_ = true;
  program_ = program;

  const input::PageState& pages = switcher_.pages();
  if (pages.shownMap != pages.defaultMap) return false;  // a JP page is not interrupted

  const btnfile::ProgramPage* line = program ? btnfile::FindProgramPage(table, *program) : nullptr;
  if (line != nullptr) {
    if (!userDefault_) userDefault_ = pages.defaultMap;
    Show(program, line->map);
    return true;
  }
  if (!userDefault_) return false;
  const std::string back = std::move(*userDefault_);
  userDefault_.reset();
  Show(program, back);
  return true;
}

void ProgramPages::Show(const std::optional<std::string>& program, const std::string& map) {
  log_.Write({"APP_PAGE:", program ? std::string_view(*program) : std::string_view(), " -> ", map, "\n"});
  switcher_.MakeDefaultAndShow(map);
}

void ProgramPages::Forget() {
  programSeen_ = false;
  program_.reset();
  userDefault_.reset();
}

}  // namespace keyvane::tracking
