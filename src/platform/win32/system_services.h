#pragma once

#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/screen.h"

namespace keyvane::win32 {

class Win32Clock final : public platform::Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

class Win32Screen final : public platform::Screen {
 public:
  int Width() override;
  int VerticalScrollBarWidth() override;
  int EdgeWidth() override;
};

// The process's own command line, split as the C runtime splits it.
class Win32CommandLine final : public platform::CommandLine {
 public:
  std::vector<std::string> Arguments() override;
};

}  // namespace keyvane::win32
