#include "platform/win32/system_services.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/cp932_text.h"

namespace keyvane::win32 {

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

int Win32Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Screen::VerticalScrollBarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

int Win32Screen::EdgeWidth() { return GetSystemMetrics(SM_CXEDGE); }

std::vector<std::string> Win32CommandLine::Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!words) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Cp932FromWide(words[i]));
  LocalFree(words);
  return arguments;
}

}  // namespace keyvane::win32
