#include "tracking/higher_integrity_notice.h"

#include <cinttypes>
#include <optional>
#include <string>

namespace keyvane::tracking {

namespace {

// A level as the trace tells it: "?" where it cannot be read (another account's process,
// Windows XP).
std::string LevelText(std::optional<std::uint32_t> level) {
  if (!level) return "?";
  return trace::Formatted("0x%" PRIX32, *level);
}

}  // namespace

void HigherIntegrityNotice::TargetTaken(platform::WindowHandle target) {
  if (target == 0 || told_.contains(target)) return;
  // What Windows does decides, not the levels: the level of a program that another account
  // started cannot be read, and that is just where keys are dropped.
  if (!desktop_.IsOutOfReach(target)) return;
  told_.insert(target);

  log_.WriteFormatted("HigherIntegrity Now=%" PRIdPTR " Level=%s Own=%s\n", target,
                      LevelText(desktop_.IntegrityLevel(target)).c_str(),
                      LevelText(desktop_.OwnIntegrityLevel()).c_str());
  std::string text =
      "Keyvane cannot type into this window: its program runs with higher rights (as administrator) than "
      "Keyvane, and Windows drops the keys Keyvane sends it.";
  const std::string title = desktop_.WindowTitle(target);
  if (!title.empty()) text += " Window: " + title;
  shell_.ShowTrayBalloon(text);
}

}  // namespace keyvane::tracking
