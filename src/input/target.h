#pragma once

#include "platform/desktop.h"
#include "platform/input_method.h"

namespace keyvane::input {

// The window keys go to and the input-method context found for it, with the one release of
// that context. The target follower alone changes it; everyone else is handed it read-only.
class Target {
 public:
  explicit Target(platform::InputMethod& ime) : ime_(ime) {}

  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  platform::WindowHandle window() const { return window_; }
  platform::ImeContext imeContext() const { return imeContext_; }  // 0: none known
  // Keyvane's input is joined with the target's: it sees the target take its keys.
  bool inputJoined() const { return inputJoined_; }

  // Whoever used the context is done with it: released against the window it came from, once.
  // The value stays usable for open-status calls until the next context replaces it. Releasing
  // a handle changes nothing a reader sees, so readers may call it.
  void ReleaseContext() const;

  void TakeWindow(platform::WindowHandle window) { window_ = window; }
  // The last context is released first; 0 is none.
  void TakeContext(platform::ImeContext context, platform::WindowHandle from);
  void SetInputJoined(bool joined) { inputJoined_ = joined; }

 private:
  platform::InputMethod& ime_;
  platform::WindowHandle window_ = 0;
  platform::ImeContext imeContext_ = 0;
  platform::WindowHandle contextWindow_ = 0;  // the window the context was obtained from
  mutable bool contextReleased_ = true;
  bool inputJoined_ = false;
};

}  // namespace keyvane::input
