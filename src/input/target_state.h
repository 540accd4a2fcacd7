#pragma once

#include "platform/input_method.h"

namespace keyvane::input {

// The window keys go to and the input-method context the focus tracker found for it.
struct TargetState {
  platform::WindowHandle targetWindow = 0;
  platform::ImeContext targetImeContext = 0;  // 0: none known
  platform::WindowHandle contextWindow = 0;   // the window the context was obtained from
  bool contextReleased = true;
};

// Releases the context against the window it came from, once; the value stays usable
// for open-status calls until the next tick replaces it.
void ReleaseTargetImeContext(TargetState& target, platform::InputMethod& ime);

}  // namespace keyvane::input
