#include "app/timer_tick.h"

#include <cinttypes>

#include "app/placement.h"

namespace keyvane::app {

void TimerTick::TraceStatus() {
  log_.WriteFormatted("Now=%" PRIdPTR " Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", target_.window(),
                      follower_.imeChildWindow(), target_.imeContext());
}

void TimerTick::Run() {
  const std::optional<platform::Point> cursor = input_.CursorPosition();
  exits_.WatchCorner(cursor);

  const platform::WindowHandle previousTarget = target_.window();
  follower_.FollowForeground();
  if (exits_.QuitWhenPanelsHidden(follower_.following())) return;
  follower_.KeepInputJoined();

  if (cursor) hook_.CheckLongHold(*cursor);  // unread, it is over no button
  follower_.FindImeContext();
  TraceStatus();

  // A new target gets its program's page, or else the input method of the map shown, as if
  // the map had just been switched to.
  if (target_.window() != previousTarget) {
    if (!programPages_.TargetTaken(target_.window())) switcher_.SetTargetInputMethod();
    higherIntegrity_.TargetTaken(target_.window());
  }

  PlacePanels(shell_, desktop_);
  tab_.FollowPanels();
}

}  // namespace keyvane::app
