#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "input/map_switcher.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"
#include "tracking/higher_integrity_notice.h"
#include "tracking/panel_mouse_hook.h"
#include "tracking/program_pages.h"
#include "tracking/target_follower.h"

namespace keyvane::tracking {

// The two ways Keyvane ends without its menu: the cursor held in the screen's top-left corner
// for more than 10 seconds, and both panels hidden (by a second copy or the icon) once a
// target has been followed.
class ExitRules {
 public:
  ExitRules(platform::Desktop& desktop, platform::Clock& clock, platform::Shell& shell)
      : desktop_(desktop), clock_(clock), shell_(shell) {}

  // Asks to quit once the cursor has dwelt in the corner long enough; the tick goes on. A cursor
  // that cannot be read is taken as out of the corner: the dwell starts again.
  void WatchCorner(std::optional<platform::Point> cursor);
  // Asks to quit when neither panel is visible and a target is followed; true when it did.
  bool QuitWhenPanelsHidden(bool following);

 private:
  platform::Desktop& desktop_;
  platform::Clock& clock_;
  platform::Shell& shell_;
  std::optional<std::uint32_t> cornerDwellStart_;  // empty: cursor not in the corner
};

// The right panel's 100 ms tick: follows the target, applies the exit rules, fires the long
// right hold, finds the target's input-method context, traces one status line, gives a new
// target its program's page or else the input-method state of the map shown (and tells when
// Keyvane cannot type into it) and re-places the panels.
class FocusTracker {
 public:
  struct Services {
    platform::Desktop& desktop;
    platform::InputMethod& ime;
    platform::Input& input;
    platform::Clock& clock;
    platform::Shell& shell;
  };

  FocusTracker(input::TargetState& target, input::MapSwitcher& switcher, PanelMouseHook& hook, trace::TraceLog& log,
               const Services& services, const btnfile::ProgramPageTable& programPages,
               std::function<void()> placePanels)
      : target_(target),
        switcher_(switcher),
        hook_(hook),
        log_(log),
        input_(services.input),
        follower_(target, services.desktop, services.ime, log),
        exits_(services.desktop, services.clock, services.shell),
        higherIntegrity_(services.desktop, services.shell, log),
        programPages_(programPages, switcher, services.desktop, log),
        placePanels_(std::move(placePanels)) {}

  // One tick.
  void OnTick();

  // The right panel's destruction: the input is detached from the target's thread.
  void DetachInput() { follower_.DetachInput(); }
  // The button file was read again: the program table starts afresh.
  void ForgetPrograms() { programPages_.Forget(); }

  const TargetFollower& follower() const { return follower_; }

 private:
  void TraceStatus();

  input::TargetState& target_;
  input::MapSwitcher& switcher_;
  PanelMouseHook& hook_;
  trace::TraceLog& log_;
  platform::Input& input_;
  TargetFollower follower_;
  ExitRules exits_;
  HigherIntegrityNotice higherIntegrity_;
  ProgramPages programPages_;
  std::function<void()> placePanels_;
};

}  // namespace keyvane::tracking
