#pragma once

#include <cstdint>

namespace keyvane::platform {

// What the window system hands back travels through the core as plain integers; 0 means none.
using WindowHandle = std::intptr_t;  // HWND
using ImeContext = std::intptr_t;    // HIMC
using ThreadId = std::uint32_t;      // thread id as GetWindowThreadProcessId gives it

}  // namespace keyvane::platform
