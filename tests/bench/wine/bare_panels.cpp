// The yardstick for the whole-program figures: a bare Win32 program that shows two 57x387
// topmost windows where the panels stand, and nothing else. Built with the same compiler and
// flags as keyvane.exe, so what keyvane.exe costs beyond it is what Keyvane itself adds.
#include <windows.h>

namespace {

constexpr wchar_t kClass[] = L"BareBenchPanel";

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW panelClass{};
  panelClass.lpfnWndProc = PanelProc;
  panelClass.hInstance = instance;
  panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  panelClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  panelClass.lpszClassName = kClass;
  RegisterClassW(&panelClass);
  const int right = GetSystemMetrics(SM_CXSCREEN) - 57 - 18;
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, L"Bare Left", WS_POPUP | WS_VISIBLE, 0, 41, 57, 387,
                  nullptr, nullptr, instance, nullptr);
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, L"Bare Right", WS_POPUP | WS_VISIBLE, right, 41, 57, 387,
                  nullptr, nullptr, instance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
