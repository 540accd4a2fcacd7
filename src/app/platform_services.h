#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"

namespace keyvane::app {

// Everything the keyboard asks of the operating system, by role; each object outlives the keyboard.
struct PlatformServices {
  platform::Files& files;
  platform::Clock& clock;
  platform::Input& input;
  platform::Desktop& desktop;
  platform::InputMethod& ime;
  platform::Shell& shell;
};

}  // namespace keyvane::app
