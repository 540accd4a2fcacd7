#include "tracking/exit_rules.h"

namespace keyvane::tracking {

namespace {

constexpr std::uint32_t kCornerDwellMs = 10000;

}  // namespace

void ExitRules::WatchCorner(std::optional<platform::Point> cursor) {
  if (!cursor || cursor->x > 1 || cursor->y > 1) {
    cornerDwellStart_.reset();
    return;
  }
  const std::uint32_t now = clock_.TickCount();
  if (!cornerDwellStart_) {
    cornerDwellStart_ = now;
  } else if (now - *cornerDwellStart_ > kCornerDwellMs) {  // unsigned: right across the wrap
    shell_.Quit();
  }
}

bool ExitRules::QuitWhenPanelsHidden(bool following) {
  const bool anyPanelVisible = desktop_.IsVisible(shell_.PanelWindow(platform::PanelSide::Left)) ||
                               desktop_.IsVisible(shell_.PanelWindow(platform::PanelSide::Right));
  if (anyPanelVisible || !following || tab_.shrunk()) return false;
  shell_.Quit();
  return true;
}

}  // namespace keyvane::tracking
