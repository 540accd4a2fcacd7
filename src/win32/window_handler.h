#pragma once

#include <windows.h>

#include "win32/guarded.h"

namespace keyvane::win32 {

// A window procedure that hands every message to the object given to CreateWindowEx as the
// creation parameter, through handle, guarded. The object is kept with the window from its
// WM_NCCREATE on; the messages before that one, and WM_NCCREATE itself, get the default procedure.
template <typename Handler, LRESULT (*handle)(Handler&, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK HandlingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!handler) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  Guarded([&] { result = handle(*handler, window, message, wParam, lParam); });
  return result;
}

// The handler a window was created with, or none before its WM_NCCREATE.
template <typename Handler>
Handler* HandlerOf(HWND window) {
  return reinterpret_cast<Handler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace keyvane::win32
