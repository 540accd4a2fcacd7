#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "input/map_switcher.h"
#include "input/target_state.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"
#include "tracking/panel_mouse_hook.h"

namespace keyvane::tracking {

// The right panel's 100 ms timer: follows the foreground window, keeps this thread's input
// joined with its thread (and with no other, and not while it hangs), finds its input-method context, gives a new
// target the input-method state of the map shown, fires the long right hold, applies the two exit rules, traces one
// status line and re-places the panels.
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
               const Services& services, std::function<void()> placePanels)
      : target_(target),
        switcher_(switcher),
        hook_(hook),
        log_(log),
        s_(services),
        placePanels_(std::move(placePanels)) {}

  // One tick.
  void Timer1Timer();

  // The right panel's destruction: the input is detached from the target's thread.
  void DetachInput();

  platform::ThreadId attachedThreadId() const { return attachedThreadId_; }
  platform::WindowHandle imeChildWindow() const { return imeChildWindow_; }
  std::optional<std::uint32_t> cornerDwellStart() const { return cornerDwellStart_; }

 private:
  void CheckCorner(platform::Point cursor);
  void FollowForeground();
  void FollowTargetThread(platform::ThreadId ownThread, platform::ThreadId targetThread);
  bool IsPanelTitle(const std::string& title) const;
  void FindImeContext();
  void TraceLoopLine(platform::WindowHandle child, platform::ImeContext context);

  input::TargetState& target_;
  input::MapSwitcher& switcher_;
  PanelMouseHook& hook_;
  trace::TraceLog& log_;
  Services s_;
  std::function<void()> placePanels_;

  platform::ThreadId attachedThreadId_ = 0;  // the target thread followed; 0 until there is one
  bool joined_ = false;                      // whether this thread's input is joined with it now
  platform::WindowHandle imeChildWindow_ = 0;
  std::optional<std::uint32_t> cornerDwellStart_;  // empty: cursor not in the corner
};

}  // namespace keyvane::tracking
