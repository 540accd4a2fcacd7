#pragma once

#include <string_view>

#include "platform/desktop.h"

namespace keyvane::input {

// The window whose thread takes a target's keys and input method. For most targets that is the
// target itself. A Store app's frame belongs to a host process: the app runs in the core window
// inside the frame, on a thread of its own.
platform::WindowHandle InputWindowOf(platform::Desktop& desktop, platform::WindowHandle target);
// Whether a window of that class is a Store app's frame, whose input window is inside it.
bool IsStoreAppFrame(std::string_view windowClass);

}  // namespace keyvane::input
