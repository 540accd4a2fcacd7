#include "tracking/focus_tracker.h"

#include <cinttypes>
#include <cstdio>

namespace keyvane::tracking {

namespace {

constexpr std::uint32_t kCornerDwellMs = 10000;

}  // namespace

void FocusTracker::CheckCorner(platform::Point cursor) {
  if (cursor.x > 1 || cursor.y > 1) {
    cornerDwellStart_.reset();
    return;
  }
  const std::uint32_t now = s_.clock.TickCount();
  if (!cornerDwellStart_) {
    cornerDwellStart_ = now;
  } else if (now - *cornerDwellStart_ > kCornerDwellMs) {  // unsigned: right across the wrap
    s_.shell.Quit();
  }
}

bool FocusTracker::IsPanelTitle(const std::string& title) const {
  return title == platform::kLeftPanelTitle || title == platform::kRightPanelTitle;
}

void FocusTracker::TraceLoopLine(platform::WindowHandle child, platform::ImeContext context) {
  char line[96];
  std::snprintf(line, sizeof line, "LOOP Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", child, context);
  log_.Write(line);
}

void FocusTracker::FindImeContext() {
  // The previous tick's context is not needed any more once a new one is taken.
  input::ReleaseTargetImeContext(target_, s_.ime);
  target_.targetImeContext = s_.ime.GetContext(target_.targetWindow);
  target_.contextWindow = target_.targetWindow;
  if (target_.targetImeContext == 0) {
    imeChildWindow_ = target_.targetWindow;
    while (target_.targetImeContext == 0) {
      imeChildWindow_ = s_.desktop.FirstChild(imeChildWindow_);
      if (imeChildWindow_ == 0) break;
      target_.targetImeContext = s_.ime.GetContext(imeChildWindow_);
      target_.contextWindow = imeChildWindow_;
      TraceLoopLine(imeChildWindow_, target_.targetImeContext);
    }
  }
  target_.contextReleased = target_.targetImeContext == 0;
}

void FocusTracker::FollowForeground() {
  const platform::WindowHandle foreground = s_.desktop.ForegroundWindow();
  if (IsPanelTitle(s_.desktop.WindowTitle(foreground))) return;
  // A program that does not answer is not taken: joining its input would stall the panels.
  // The old target stays until the new one answers.
  if (foreground != target_.targetWindow && s_.desktop.IsHung(foreground)) return;
  target_.targetWindow = foreground;
}

void FocusTracker::FollowTargetThread(platform::ThreadId ownThread, platform::ThreadId targetThread) {
  // No target, or one of Keyvane's own windows (its menu, its About box): there is no other
  // input to join, and the joined one stays, so the user comes back to it unchanged.
  if (attachedThreadId_ == targetThread || targetThread == 0 || targetThread == ownThread) return;
  // Only the current target's thread is joined: one hung program must not stall the others.
  if (joined_) s_.desktop.JoinInput(ownThread, attachedThreadId_, false);
  joined_ = false;
  attachedThreadId_ = targetThread;
}

void FocusTracker::Timer1Timer() {
  const platform::Point cursor = s_.input.CursorPosition();
  CheckCorner(cursor);

  const platform::WindowHandle previousTarget = target_.targetWindow;
  FollowForeground();

  const platform::ThreadId targetThread = s_.desktop.WindowThread(target_.targetWindow);
  const platform::ThreadId ownThread = s_.desktop.CurrentThread();

  const bool anyPanelVisible = s_.desktop.IsVisible(s_.shell.PanelWindow(platform::PanelSide::Left)) ||
                               s_.desktop.IsVisible(s_.shell.PanelWindow(platform::PanelSide::Right));
  if (!anyPanelVisible && attachedThreadId_ != 0) {
    s_.shell.Quit();
    return;
  }

  // The input stays joined from tick to tick: leaving it even for a moment would hand the
  // clicks still queued for the panels to the target's thread, which drops them. A target
  // that stopped answering is left until it answers again.
  FollowTargetThread(ownThread, targetThread);
  const bool join = attachedThreadId_ != 0 && !s_.desktop.IsHung(target_.targetWindow);
  if (join != joined_) {
    s_.desktop.JoinInput(ownThread, attachedThreadId_, join);
    joined_ = join;
  }

  hook_.CheckLongHold(cursor);

  FindImeContext();

  char status[128];
  std::snprintf(status, sizeof status, "Now=%" PRIdPTR " Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", target_.targetWindow,
                imeChildWindow_, target_.targetImeContext);
  log_.Write(status);

  // A new target gets the input method of the map shown, as if the map had just been switched to.
  if (target_.targetWindow != previousTarget) switcher_.SetTargetInputMethod();

  placePanels_();
}

void FocusTracker::DetachInput() {
  input::ReleaseTargetImeContext(target_, s_.ime);
  if (joined_) s_.desktop.JoinInput(s_.desktop.CurrentThread(), attachedThreadId_, false);
  joined_ = false;
}

}  // namespace keyvane::tracking
