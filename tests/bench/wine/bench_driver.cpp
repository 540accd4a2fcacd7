// The Windows side of scripts/bench: times a program from inside Wine, on one clock.
//   bench-driver press <title> <row> <count> <rest-ms>
//       becomes the foreground window, clicks the row's button of that window with SendInput
//       count times and prints "press <ms>" for each: from the release of the button to the
//       WM_KEYDOWN that reaches this window, or "lost" when no key came within 3 s. count 0
//       clicks once and waits for no key.
//       Then prints "resting" and keeps pumping messages for rest-ms with the pointer left
//       where the click put it, so the caller can measure the program at rest.
//   bench-driver close <title>
//       asks that window to close (WM_CLOSE) and waits up to 5 s for its process to end
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

LARGE_INTEGER frequency;

double Milliseconds(LONGLONG from, LONGLONG to) {
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

void PrintText(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

void Print(const char* format, double value) {
  char line[64];
  std::snprintf(line, sizeof line, format, value);
  PrintText(line);
}

// The window the keys of a press go to, and what it last received.
LONGLONG keyDownAt = 0;
bool keyUpSeen = false;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!keyDownAt) keyDownAt = Now();
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: keyUpSeen = true; return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Dispatches messages until `done` holds or the time is up; false on time-out.
template <typename Done>
bool PumpUntil(Done done, double timeoutMs) {
  const LONGLONG started = Now();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    const double left = timeoutMs - Milliseconds(started, Now());
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &input, sizeof input);
}

int Press(wchar_t** argv) {
  const int row = std::wcstol(argv[3], nullptr, 10);
  const int count = std::wcstol(argv[4], nullptr, 10);
  const double restMs = std::wcstol(argv[5], nullptr, 10);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW targetClass{};
  targetClass.lpfnWndProc = TargetProc;
  targetClass.hInstance = instance;
  targetClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  targetClass.lpszClassName = L"KeyvaneBenchTarget";
  RegisterClassW(&targetClass);
  HWND target = CreateWindowExW(0, L"KeyvaneBenchTarget", L"Keyvane Bench Target", WS_OVERLAPPEDWINDOW, 120, 80, 480,
                                300, nullptr, nullptr, instance, nullptr);
  // A child, as most programs have: the keyboard looks into it for an input method.
  CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, target, nullptr, instance, nullptr);
  ShowWindow(target, SW_SHOWNORMAL);
  SetForegroundWindow(target);
  SetFocus(target);
  if (!PumpUntil([&] { return GetForegroundWindow() == target; }, 5000)) return 1;
  // Let the program see the new foreground window at its next tick before the first press.
  PumpUntil([] { return false; }, 300);

  HWND panel = FindWindowW(nullptr, argv[2]);
  if (!panel) return 1;
  RECT bounds{};
  GetWindowRect(panel, &bounds);
  const int x = bounds.left + 28;
  const int y = bounds.top + 40 * row + 20;

  // One press more than asked: the first warms up the program's press path.
  for (int i = 0; i < (count > 0 ? count + 1 : 1); ++i) {
    if (GetForegroundWindow() != target) {
      // Something else came to the front: the keys would go there.
      SetForegroundWindow(target);
      PumpUntil([&] { return GetForegroundWindow() == target; }, 1000);
    }
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([] { return false; }, 30);
    keyDownAt = 0;
    keyUpSeen = false;
    const LONGLONG released = Now();
    SendMouse(MOUSEEVENTF_LEFTUP);
    if (count > 0) {
      if (!PumpUntil([] { return keyDownAt != 0 && keyUpSeen; }, 3000)) {
        PrintText("lost\n");  // no key came: counted, not timed
      } else if (i > 0) {
        Print("press %.3f\n", Milliseconds(released, keyDownAt));
      }
    }
    // The program repaints and settles before the next press.
    PumpUntil([] { return false; }, 150);
  }
  Print("resting %.0f\n", restMs);
  PumpUntil([] { return false; }, restMs);
  return 0;
}

int Close(wchar_t** argv) {
  HWND window = FindWindowW(nullptr, argv[2]);
  if (!window) return 1;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = process && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
  if (process) CloseHandle(process);
  return ended ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  QueryPerformanceFrequency(&frequency);
  const std::wstring command = argc >= 2 ? argv[1] : L"";
  if (command == L"press" && argc == 6) return Press(argv);
  if (command == L"close" && argc == 3) return Close(argv);
  PrintText("usage: bench-driver press <title> <row> <count> <rest-ms> | close <title>\n");
  return 2;
}
