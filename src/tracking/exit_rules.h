#pragma once

#include <cstdint>
#include <optional>

#include "input/panels_tab.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/shell.h"

namespace keyvane::tracking {

// The two ways Keyvane ends without its menu: the cursor held in the screen's top-left corner
// for more than 10 seconds, and both panels hidden (by a second copy or the icon) once a
// target has been followed; panels made small (MINIMAM) are hidden but not gone.
class ExitRules {
 public:
  ExitRules(platform::Desktop& desktop, platform::Clock& clock, platform::Shell& shell, const input::PanelsTab& tab)
      : desktop_(desktop), clock_(clock), shell_(shell), tab_(tab) {}

  // Asks to quit once the cursor has dwelt in the corner long enough; the tick goes on. A cursor
  // that cannot be read is taken as out of the corner: the dwell starts again.
  void WatchCorner(std::optional<platform::Point> cursor);
  // Asks to quit when neither panel is visible, they are not small, and a target is followed;
  // true when it did.
  bool QuitWhenPanelsHidden(bool following);

 private:
  platform::Desktop& desktop_;
  platform::Clock& clock_;
  platform::Shell& shell_;
  const input::PanelsTab& tab_;
  std::optional<std::uint32_t> cornerDwellStart_;  // empty: cursor not in the corner
};

}  // namespace keyvane::tracking
