#pragma once

#include "platform/cursor.h"
#include "platform/input_events.h"

namespace keyvane::win32 {

class Win32InputEvents final : public platform::InputEvents {
 public:
  void KeyEvent(std::uint8_t virtualKey, std::uint32_t flags) override;
  void MouseButtonEvent(std::uint32_t flags) override;
};

class Win32Cursor final : public platform::Cursor {
 public:
  platform::Point Position() override;
  void MoveTo(platform::Point point) override;
};

}  // namespace keyvane::win32
