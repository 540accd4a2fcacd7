#include "win32/system_services.h"

#include <windows.h>

#include <shellapi.h>

#include "win32/cp932_text.h"

namespace keyvane::win32 {

// The ANSI path, as the C runtime's fopen takes it.
std::optional<platform::FileStamp> Win32Files::Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  const auto size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const auto written =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return platform::FileStamp{size, static_cast<std::int64_t>(written)};
}

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
