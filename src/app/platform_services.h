#pragma once

#include "platform/app_control.h"
#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/cursor.h"
#include "platform/files.h"
#include "platform/ime.h"
#include "platform/input_events.h"
#include "platform/mouse_hook.h"
#include "platform/panels.h"
#include "platform/screen.h"
#include "platform/top_level_windows.h"
#include "platform/window_system.h"

namespace keyvane::app {

// Everything the keyboard asks of the operating system; each object outlives the keyboard.
struct PlatformServices {
  platform::Files& files;
  platform::InputEvents& input;
  platform::Clock& clock;
  platform::Cursor& cursor;
  platform::WindowSystem& windows;
  platform::TopLevelWindows& topLevelWindows;
  platform::InputMethod& ime;
  platform::Screen& screen;
  platform::CommandLine& commandLine;
  platform::Panels& panels;
  platform::MouseHook& mouseHook;
  platform::AppControl& app;
};

}  // namespace keyvane::app
