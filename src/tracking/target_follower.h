#pragma once

#include "input/target.h"
#include "platform/desktop.h"
#include "platform/input_method.h"
#include "trace/trace_log.h"

namespace keyvane::tracking {

// Follows the window the user works in: takes it as the target, keeps Keyvane's input joined
// with the target's thread (and with no other, and not while it hangs), and finds the target's
// input-method context, which may sit on a child window. It holds the target, the one writer of
// it; the others read it through target().
class TargetFollower {
 public:
  TargetFollower(platform::Desktop& desktop, platform::InputMethod& ime, trace::TraceLog& log)
      : target_(ime), desktop_(desktop), ime_(ime), log_(log) {}

  // The foreground window becomes the target, unless there is none, or it is a panel, a window of
  // the shell (the taskbar's, the desktop) or a program that does not answer.
  void FollowForeground();
  // Joins this thread's input with the target's thread, leaving the one joined before.
  void KeepInputJoined();
  // Releases the last context and looks for the target's, down its first children.
  void FindImeContext();
  // The right panel's destruction: the context is released and the input leaves the target's thread.
  void DetachInput();
  // A window chosen outside the tick becomes the target: the focus at start-up, or the window
  // typed into before Keyvane's own menu took the foreground.
  void TakeWindow(platform::WindowHandle window) { target_.TakeWindow(window); }

  const input::Target& target() const { return target_; }

  // Whether a target thread has been followed yet; until then there is nothing to end for.
  bool following() const { return attachedThreadId_ != 0; }
  platform::ThreadId attachedThreadId() const { return attachedThreadId_; }
  platform::WindowHandle imeChildWindow() const { return imeChildWindow_; }

 private:
  void FollowTargetThread(platform::ThreadId ownThread, platform::ThreadId targetThread);
  bool IsShellWindow(platform::WindowHandle window);
  // The thread that takes the target's input, and the window it takes it in.
  platform::ThreadId TargetInputThread(platform::WindowHandle& inputWindow);

  input::Target target_;
  platform::Desktop& desktop_;
  platform::InputMethod& ime_;
  trace::TraceLog& log_;

  platform::ThreadId attachedThreadId_ = 0;  // the target thread followed; 0 until there is one
  bool joined_ = false;                      // whether this thread's input is joined with it now
  bool joinRefused_ = false;                 // Windows refused to join it
  platform::WindowHandle imeChildWindow_ = 0;
  platform::WindowHandle knownTarget_ = 0;  // the target whose class and thread were asked
  bool storeAppFrame_ = false;              // whether it is a Store app's frame
  platform::ThreadId knownThread_ = 0;      // its thread, when it is not
};

}  // namespace keyvane::tracking
