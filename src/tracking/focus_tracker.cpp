#include "tracking/focus_tracker.h"

#include <cinttypes>
#include <cstdio>

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
  if (anyPanelVisible || !following) return false;
  shell_.Quit();
  return true;
}

void FocusTracker::TraceStatus() {
  char status[128];
  std::snprintf(status, sizeof status, "Now=%" PRIdPTR " Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", target_.targetWindow,
                follower_.imeChildWindow(), target_.targetImeContext);
  log_.Write(status);
}

void FocusTracker::OnTick() {
  const std::optional<platform::Point> cursor = input_.CursorPosition();
  exits_.WatchCorner(cursor);

  const platform::WindowHandle previousTarget = target_.targetWindow;
  follower_.FollowForeground();
  if (exits_.QuitWhenPanelsHidden(follower_.following())) return;
  follower_.KeepInputJoined();

  if (cursor) hook_.CheckLongHold(*cursor);  // unread, it is over no button
  follower_.FindImeContext();
  TraceStatus();

  // A new target gets its program's page, or else the input method of the map shown, as if
  // the map had just been switched to.
  if (target_.targetWindow != previousTarget) {
    if (!programPages_.TargetTaken(target_.targetWindow)) switcher_.SetTargetInputMethod();
    higherIntegrity_.TargetTaken(target_.targetWindow);
  }

  placePanels_();
}

}  // namespace keyvane::tracking
