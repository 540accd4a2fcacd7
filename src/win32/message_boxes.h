#pragma once

#include <windows.h>

#include <string>

#include "app/keyboard.h"

namespace keyvane::win32 {

// The program's message boxes: the error box of its guards and the About box. Both are shown
// in the system's own look.

// The error box of the guards is declared with them (win32/guarded.h).

// What the About box tells.
struct AboutFacts {
  std::wstring buttonFilePath;
  std::wstring traceFilePath;
};

// Shows the About box. While it is open, the topmost windows owned by the application window
// that lie above the left panel are made ordinary windows, so that the box is not hidden.
void ShowAboutBox(HWND applicationWindow, HWND leftPanel, const AboutFacts& facts, const app::ButtonFileStatus& status);

}  // namespace keyvane::win32
