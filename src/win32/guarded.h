#pragma once

#include <exception>

namespace keyvane::win32 {

// The error message box that a guard shows (message_boxes.cpp).
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

}  // namespace keyvane::win32
