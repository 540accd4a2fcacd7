#pragma once

#include <cstdint>

namespace keyvane::tracking {

// Hook codes and mouse message ids as the mouse hook receives them.
inline constexpr int kHcAction = 0;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmRButtonDblClk = 0x0206;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;

// Where a mouse message comes from.
enum class InputOrigin {
  User,     // a touch, a mouse, another program
  Keyvane,  // a mouse-button key that Keyvane itself sent
};

enum class HookAction {
  PassOn,   // return CallNextHookEx(...)
  Consume,  // return -1 without calling the next hook
};

}  // namespace keyvane::tracking
