#include "win32/input_method.h"

#include <windows.h>

#include <imm.h>

#include <cwchar>

namespace keyvane::win32 {
namespace {

// WM_IME_CONTROL requests to an IME window; MinGW's imm.h does not name them.
constexpr WPARAM kImcSetOpenStatus = 0x0006;

// Long enough for a busy program to answer, short enough that a press never feels it.
constexpr UINT kImeWindowTimeoutMs = 200;

HWND Hwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle Handle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

BOOL CALLBACK NoteImeWindow(HWND window, LPARAM found) {
  wchar_t windowClass[8] = L"";
  GetClassNameW(window, windowClass, 8);
  if (std::wcscmp(windowClass, L"IME") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

platform::ImeContext Win32InputMethod::GetContext(platform::WindowHandle window) {
  return reinterpret_cast<platform::ImeContext>(ImmGetContext(Hwnd(window)));
}

void Win32InputMethod::SetOpenStatus(platform::ImeContext context, bool open) {
  ImmSetOpenStatus(reinterpret_cast<HIMC>(context), open ? TRUE : FALSE);
}

void Win32InputMethod::ReleaseContext(platform::WindowHandle window, platform::ImeContext context) {
  ImmReleaseContext(Hwnd(window), reinterpret_cast<HIMC>(context));
}

platform::WindowHandle Win32InputMethod::DefaultImeWindow(platform::WindowHandle window) {
  return Handle(ImmGetDefaultIMEWnd(Hwnd(window)));
}

platform::WindowHandle Win32InputMethod::ThreadImeWindow(platform::ThreadId thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, NoteImeWindow, reinterpret_cast<LPARAM>(&found));
  return Handle(found);
}

void Win32InputMethod::SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Hwnd(imeWindow), WM_IME_CONTROL, kImcSetOpenStatus, open ? 1 : 0, SMTO_ABORTIFHUNG,
                      kImeWindowTimeoutMs, &result);
}

}  // namespace keyvane::win32
