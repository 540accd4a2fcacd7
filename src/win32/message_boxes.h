#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "app/keyboard.h"

namespace keyvane::win32 {

// The program's message boxes: the error box of its guards and the About box. Both are shown
// in the system's own look.

// The error message box that the program's guards show.
void ShowErrorBox(const char* message);

// Runs a handler; an exception that escapes it is shown and the program goes on. Exceptions
// cannot travel through the window system's frames, so every entry from Windows is guarded.
template <typename Handler>
void Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  } catch (...) {
    ShowErrorBox("");
  }
}

// What the About box tells.
struct AboutFacts {
  std::wstring buttonFilePath;
  std::wstring traceFilePath;
};

// Shows the About box. While it is open, the topmost windows owned by the application window
// that lie above the left panel are made ordinary windows, so that the box is not hidden.
void ShowAboutBox(HWND applicationWindow, HWND leftPanel, const AboutFacts& facts, const app::ButtonFileStatus& status);

}  // namespace keyvane::win32
