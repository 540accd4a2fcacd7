#include "platform/win32/input_method.h"

#include <windows.h>

#include <imm.h>

namespace keyvane::win32 {

platform::ImeContext Win32InputMethod::GetContext(platform::WindowHandle window) {
  return reinterpret_cast<platform::ImeContext>(ImmGetContext(reinterpret_cast<HWND>(window)));
}

void Win32InputMethod::SetOpenStatus(platform::ImeContext context, bool open) {
  ImmSetOpenStatus(reinterpret_cast<HIMC>(context), open ? TRUE : FALSE);
}

void Win32InputMethod::ReleaseContext(platform::WindowHandle window, platform::ImeContext context) {
  ImmReleaseContext(reinterpret_cast<HWND>(window), reinterpret_cast<HIMC>(context));
}

}  // namespace keyvane::win32
