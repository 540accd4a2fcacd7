#pragma once

#include "input/map_switcher.h"
#include "input/panel_mouse_hook.h"
#include "input/panels_tab.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "trace/trace_log.h"
#include "tracking/exit_rules.h"
#include "tracking/higher_integrity_notice.h"
#include "tracking/program_pages.h"
#include "tracking/target_follower.h"

namespace keyvane::app {

// The right panel's 100 ms tick: follows the target, applies the exit rules, fires the long
// right hold, finds the target's input-method context, traces one status line, gives a new
// target its program's page or else the input-method state of the map shown (and tells when
// Keyvane cannot type into it) and re-places the panels.
class TimerTick {
 public:
  struct Services {
    platform::Desktop& desktop;
    platform::Input& input;
    platform::Clock& clock;
    platform::Shell& shell;
  };

  TimerTick(tracking::TargetFollower& follower, input::MapSwitcher& switcher, input::PanelMouseHook& hook,
            input::PanelsTab& tab, trace::TraceLog& log, const Services& services)
      : follower_(follower),
        target_(follower.target()),
        switcher_(switcher),
        hook_(hook),
        tab_(tab),
        log_(log),
        input_(services.input),
        desktop_(services.desktop),
        shell_(services.shell),
        exits_(services.desktop, services.clock, services.shell, tab),
        higherIntegrity_(services.desktop, services.shell, log),
        programPages_(switcher, services.desktop, log) {}

  // One tick, all of the above in that order.
  void Run();

  // The button file was read again: the program table starts afresh.
  void ForgetPrograms() { programPages_.Forget(); }

 private:
  void TraceStatus();

  tracking::TargetFollower& follower_;
  const input::Target& target_;
  input::MapSwitcher& switcher_;
  input::PanelMouseHook& hook_;
  input::PanelsTab& tab_;
  trace::TraceLog& log_;
  platform::Input& input_;
  platform::Desktop& desktop_;
  platform::Shell& shell_;
  tracking::ExitRules exits_;
  tracking::HigherIntegrityNotice higherIntegrity_;
  tracking::ProgramPages programPages_;
};

}  // namespace keyvane::app
