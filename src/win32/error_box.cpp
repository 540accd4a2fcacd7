#include "win32/error_box.h"

#include <windows.h>

#include "win32/cp932_text.h"
#include "win32/visual_styles.h"

namespace keyvane::win32 {

void ShowErrorBox(const char* message) {
  const std::wstring text = WideFromCp932(message);
  WithVisualStyles([&] { MessageBoxW(nullptr, text.c_str(), L"Keyvane", MB_OK | MB_ICONERROR | MB_TASKMODAL); });
}

}  // namespace keyvane::win32
