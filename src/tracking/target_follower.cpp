#include "tracking/target_follower.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <string_view>

#include "input/input_window.h"
#include "platform/shell.h"

namespace keyvane::tracking {

namespace {

bool IsPanelTitle(const std::string& title) {
  return title == platform::kLeftPanelTitle || title == platform::kRightPanelTitle;
}

// The taskbar (and its copies on other screens), the notification area's overflow window and the
// desktop: they come to the front when the user touches them, Keyvane's own icon included, but
// nobody types into them, and joining the input of Explorer's thread would tie the panels to it.
bool IsShellWindowClass(std::string_view windowClass) {
  constexpr std::array<std::string_view, 5> kShellClasses{"Shell_TrayWnd", "Shell_SecondaryTrayWnd",
                                                          "NotifyIconOverflowWindow", "Progman", "WorkerW"};
  return std::find(kShellClasses.begin(), kShellClasses.end(), windowClass) != kShellClasses.end();
}

}  // namespace

void TargetFollower::FollowForeground() {
  const platform::WindowHandle foreground = desktop_.ForegroundWindow();
  // None in front: another desktop has the input (the lock screen, a UAC prompt), or the
  // activation is passing between two windows. The user has not chosen another window.
  if (foreground == 0) return;
  if (IsPanelTitle(desktop_.WindowTitle(foreground)) || IsShellWindowClass(desktop_.WindowClass(foreground))) return;
  // A program that does not answer is not taken: joining its input would stall the panels.
  // The old target stays until the new one answers.
  if (foreground != target_.targetWindow && desktop_.IsHung(foreground)) return;
  target_.targetWindow = foreground;
}

void TargetFollower::FollowTargetThread(platform::ThreadId ownThread, platform::ThreadId targetThread) {
  // No target, or one of Keyvane's own windows (its menu, its About box): there is no other
  // input to join, and the joined one stays, so the user comes back to it unchanged.
  if (attachedThreadId_ == targetThread || targetThread == 0 || targetThread == ownThread) return;
  // Only the current target's thread is joined: one hung program must not stall the others.
  if (joined_) desktop_.JoinInput(ownThread, attachedThreadId_, false);
  joined_ = false;
  attachedThreadId_ = targetThread;
}

void TargetFollower::KeepInputJoined() {
  // The input stays joined from tick to tick: leaving it even for a moment would hand the
  // clicks still queued for the panels to the target's thread, which drops them. A target
  // that stopped answering is left until it answers again.
  const platform::ThreadId ownThread = desktop_.CurrentThread();
  const platform::WindowHandle inputWindow = input::InputWindowOf(desktop_, target_.targetWindow);
  FollowTargetThread(ownThread, desktop_.WindowThread(inputWindow));
  const bool join = attachedThreadId_ != 0 && !desktop_.IsHung(inputWindow);
  if (join != joined_) {
    desktop_.JoinInput(ownThread, attachedThreadId_, join);
    joined_ = join;
  }
  target_.inputJoined = joined_;
}

void TargetFollower::FindImeContext() {
  // The previous tick's context is not needed any more once a new one is taken.
  input::ReleaseTargetImeContext(target_, ime_);
  target_.targetImeContext = ime_.GetContext(target_.targetWindow);
  target_.contextWindow = target_.targetWindow;
  if (target_.targetImeContext == 0) {
    imeChildWindow_ = target_.targetWindow;
    while (target_.targetImeContext == 0) {
      imeChildWindow_ = desktop_.FirstChild(imeChildWindow_);
      if (imeChildWindow_ == 0) break;
      target_.targetImeContext = ime_.GetContext(imeChildWindow_);
      target_.contextWindow = imeChildWindow_;
      log_.WriteFormatted("LOOP Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", imeChildWindow_, target_.targetImeContext);
    }
  }
  target_.contextReleased = target_.targetImeContext == 0;
}

void TargetFollower::DetachInput() {
  input::ReleaseTargetImeContext(target_, ime_);
  if (joined_) desktop_.JoinInput(desktop_.CurrentThread(), attachedThreadId_, false);
  joined_ = false;
  target_.inputJoined = false;
}

}  // namespace keyvane::tracking
