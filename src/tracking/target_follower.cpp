#include "tracking/target_follower.h"

#include <cinttypes>
#include <string_view>

#include "input/input_window.h"
#include "platform/shell.h"

namespace keyvane::tracking {

namespace {

bool IsPanelTitle(const std::string& title) {
  return title == platform::kLeftPanelTitle || title == platform::kRightPanelTitle;
}

// The desktop: it comes to the front when the user touches it, but nobody types into it.
bool IsDesktopWindowClass(std::string_view windowClass) { return windowClass == "Progman" || windowClass == "WorkerW"; }

}  // namespace

void TargetFollower::FollowForeground() {
  const platform::WindowHandle foreground = desktop_.ForegroundWindow();
  // None in front: another desktop has the input (the lock screen, a UAC prompt), or the
  // activation is passing between two windows. The user has not chosen another window.
  // The target still in front was looked at when it came: once is enough, ten times a second.
  if (foreground == 0 || foreground == target_.window()) return;
  if (IsPanelTitle(desktop_.WindowTitle(foreground)) || IsShellWindow(foreground)) return;
  // A program that does not answer is not taken: joining its input would stall the panels.
  // The old target stays until the new one answers.
  if (desktop_.IsHung(foreground)) return;
  target_.TakeWindow(foreground);
}

bool TargetFollower::IsShellWindow(platform::WindowHandle window) {
  if (IsDesktopWindowClass(desktop_.WindowClass(window))) return true;
  // The taskbar, its copies on other screens and the flyouts of its notification area, where the
  // user reaches Keyvane's own icon; their classes change from one Windows to the next, their
  // thread does not. Nobody types into them, and joining the input of Explorer's thread would tie
  // the panels to it.
  const platform::ThreadId taskbarThread = desktop_.TaskbarThread();
  return taskbarThread != 0 && desktop_.WindowThread(window) == taskbarThread;
}

platform::ThreadId TargetFollower::TargetInputThread(platform::WindowHandle& inputWindow) {
  // A window's class and thread never change: a target's are asked once. A Store app's frame is
  // asked for its core window every time, since that leaves the frame while the app is suspended.
  if (target_.window() != knownTarget_) {
    knownTarget_ = target_.window();
    storeAppFrame_ = knownTarget_ != 0 && input::IsStoreAppFrame(desktop_.WindowClass(knownTarget_));
    knownThread_ = storeAppFrame_ ? 0 : desktop_.WindowThread(knownTarget_);
  }
  if (!storeAppFrame_) {
    inputWindow = knownTarget_;
    return knownThread_;
  }
  inputWindow = input::InputWindowOf(desktop_, knownTarget_);
  return desktop_.WindowThread(inputWindow);
}

void TargetFollower::FollowTargetThread(platform::ThreadId ownThread, platform::ThreadId targetThread) {
  // No target, or one of Keyvane's own windows (its menu, its About box): there is no other
  // input to join, and the joined one stays, so the user comes back to it unchanged.
  if (attachedThreadId_ == targetThread || targetThread == 0 || targetThread == ownThread) return;
  // Only the current target's thread is joined: one hung program must not stall the others.
  if (joined_) desktop_.JoinInput(ownThread, attachedThreadId_, false);
  joined_ = false;
  joinRefused_ = false;
  attachedThreadId_ = targetThread;
}

void TargetFollower::KeepInputJoined() {
  // The input stays joined from tick to tick: leaving it even for a moment would hand the
  // clicks still queued for the panels to the target's thread, which drops them. A target
  // that stopped answering is left until it answers again.
  const platform::ThreadId ownThread = desktop_.CurrentThread();
  platform::WindowHandle inputWindow = 0;
  FollowTargetThread(ownThread, TargetInputThread(inputWindow));
  const bool join = attachedThreadId_ != 0 && !joinRefused_ && !desktop_.IsHung(inputWindow);
  if (join != joined_) {
    const bool done = desktop_.JoinInput(ownThread, attachedThreadId_, join);
    joined_ = join && done;
    // A refusal stands for that thread: it is not asked again until the target's thread changes.
    if (join && !done) {
      joinRefused_ = true;
      log_.WriteFormatted("JoinRefused Thread=%" PRIu32 "\n", attachedThreadId_);
    }
  }
  target_.SetInputJoined(joined_);
}

void TargetFollower::FindImeContext() {
  // The previous tick's context is not needed any more once a new one is taken.
  target_.ReleaseContext();
  platform::WindowHandle from = target_.window();
  platform::ImeContext context = ime_.GetContext(from);
  if (context == 0) {
    imeChildWindow_ = from;
    while (context == 0) {
      imeChildWindow_ = desktop_.FirstChild(imeChildWindow_);
      if (imeChildWindow_ == 0) break;
      context = ime_.GetContext(imeChildWindow_);
      from = imeChildWindow_;
      log_.WriteFormatted("LOOP Child=%" PRIdPTR " hImc=%" PRIdPTR "\n", imeChildWindow_, context);
    }
  }
  target_.TakeContext(context, from);
}

void TargetFollower::DetachInput() {
  target_.ReleaseContext();
  if (joined_) desktop_.JoinInput(desktop_.CurrentThread(), attachedThreadId_, false);
  joined_ = false;
  target_.SetInputJoined(false);
}

}  // namespace keyvane::tracking
