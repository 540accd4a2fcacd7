#include "tracking/higher_integrity_notice.h"

#include <cinttypes>
#include <optional>
#include <string>

namespace keyvane::tracking {

void HigherIntegrityNotice::TargetTaken(platform::WindowHandle target) {
  if (target == 0 || told_.contains(target)) return;
  const std::optional<std::uint32_t> level = desktop_.IntegrityLevel(target);
  const std::optional<std::uint32_t> own = desktop_.OwnIntegrityLevel();
  if (!level || !own || *level <= *own) return;
  told_.insert(target);

  log_.WriteFormatted("HigherIntegrity Now=%" PRIdPTR " Level=0x%" PRIX32 " Own=0x%" PRIX32 "\n", target, *level, *own);
  std::string text =
      "Keyvane cannot type into this window: its program runs with higher rights (as administrator) than "
      "Keyvane, and Windows drops the keys Keyvane sends it.";
  const std::string title = desktop_.WindowTitle(target);
  if (!title.empty()) text += " Window: " + title;
  shell_.ShowTrayBalloon(text);
}

}  // namespace keyvane::tracking
