#pragma once

#include <cstdint>

namespace keyvane::platform {

// Time as the system counts it.
class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCount: milliseconds since boot, wrapping after about 49.7 days.
  virtual std::uint32_t TickCount() = 0;
  // Sleep(milliseconds).
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace keyvane::platform
