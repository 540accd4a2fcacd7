#include "platform/win32/error_box.h"

#include <windows.h>

#include "platform/win32/cp932_text.h"

namespace keyvane::win32 {

void ShowErrorBox(const char* message) {
  MessageBoxW(nullptr, WideFromCp932(message).c_str(), L"Keyvane", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace keyvane::win32
