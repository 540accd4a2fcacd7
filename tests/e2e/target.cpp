// The application the user types into during the end-to-end tests: a window with an edit
// control that logs, one line each and flushed at once, every key and character the edit
// control receives, every focus change, and every change of the foreground window.
// A WM_APP message makes it stop pumping messages for wParam seconds, as a hung program does.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* logFile = nullptr;
WNDPROC editProc = nullptr;
HWND lastForeground = nullptr;
constexpr UINT_PTR kForegroundTimer = 1;

void Log(const std::string& line) {
  if (!logFile) return;
  std::fputs(line.c_str(), logFile);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

std::string Utf8(const wchar_t* text) {
  char bytes[1024];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return n > 0 ? std::string(bytes) : std::string();
}

std::string TitleOf(HWND window) {
  if (!window) return "(none)";
  wchar_t title[512] = L"";
  GetWindowTextW(window, title, 512);
  return Utf8(title);
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: Log("KEYDOWN " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_KEYUP: Log("KEYUP " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_SYSKEYDOWN: Log("SYSKEYDOWN " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_SYSKEYUP: Log("SYSKEYUP " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_CHAR: Log("CHAR " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_SETFOCUS: Log("SETFOCUS"); break;
    case WM_KILLFOCUS: Log("KILLFOCUS " + TitleOf(reinterpret_cast<HWND>(wParam))); break;
    default: break;
  }
  return CallWindowProcW(editProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      HWND edit = GetDlgItem(window, 1);
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    }
    case WM_SETFOCUS: SetFocus(GetDlgItem(window, 1)); return 0;
    case WM_ACTIVATE: Log(LOWORD(wParam) == WA_INACTIVE ? "DEACTIVATE" : "ACTIVATE"); break;
    case WM_TIMER: {
      HWND foreground = GetForegroundWindow();
      if (foreground != lastForeground) {
        lastForeground = foreground;
        Log("FOREGROUND " + TitleOf(foreground));
      }
      return 0;
    }
    case WM_APP:
      Log("HANG");
      Sleep(static_cast<DWORD>(wParam) * 1000);
      Log("AWAKE");
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const wchar_t* logPath = (commandLine && *commandLine) ? commandLine : L"target.log";
  logFile = _wfopen(logPath, L"w");

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MainProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"KeyvaneTestTarget";
  RegisterClassW(&windowClass);

  HWND window = CreateWindowExW(0, L"KeyvaneTestTarget", L"Keyvane Target", WS_OVERLAPPEDWINDOW, 120, 80, 480, 300,
                                nullptr, nullptr, instance, nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 480, 300,
                              window, reinterpret_cast<HMENU>(1), instance, nullptr);
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));

  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(edit);
  SetTimer(window, kForegroundTimer, 20, nullptr);
  Log("READY");

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (logFile) std::fclose(logFile);
  return 0;
}
