#pragma once

#include <cstdint>

namespace keyvane::platform {

// Time as the system counts it.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since boot, wrapping after about 49.7 days: compare by unsigned difference.
  virtual std::uint32_t TickCount() = 0;
  // Blocks this thread; between a chord's press and its release.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace keyvane::platform
