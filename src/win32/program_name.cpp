#include "win32/program_name.h"

#include <iterator>
#include <string_view>

#include "win32/cp932_text.h"
#include "win32/function_lookup.h"

namespace keyvane::win32 {
namespace {

using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using ModuleFileName = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

// Vista and later: the limited right is enough, even for a program run as administrator.
QueryImageName QueryImageNameFunction() {
  static const auto query = FunctionIn<QueryImageName>(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW");
  return query;
}

// Windows XP has only psapi's, which reads the other process's memory. Taken from the system
// folder, so that no psapi.dll beside Keyvane stands in for it.
ModuleFileName ModuleFileNameFunction() {
  static const auto query = [] {
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 11 >= MAX_PATH) return ModuleFileName{};
    std::wstring dll(path, length);
    dll += L"\\psapi.dll";
    return FunctionIn<ModuleFileName>(LoadLibraryW(dll.c_str()), "GetModuleFileNameExW");
  }();
  return query;
}

std::optional<std::wstring> ImagePathOf(DWORD processId) {
  wchar_t path[1024];
  DWORD length = 0;
  if (const QueryImageName query = QueryImageNameFunction()) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return std::nullopt;
    length = static_cast<DWORD>(std::size(path));
    if (!query(process, 0, path, &length)) length = 0;
    CloseHandle(process);
  } else if (const ModuleFileName query = ModuleFileNameFunction()) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return std::nullopt;
    length = query(process, nullptr, path, static_cast<DWORD>(std::size(path)));
    CloseHandle(process);
  }
  if (length == 0 || length >= std::size(path)) return std::nullopt;
  return std::wstring(path, length);
}

}  // namespace

std::optional<std::string> ProgramNameOf(HWND window) {
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId)) return std::nullopt;
  const std::optional<std::wstring> path = ImagePathOf(processId);
  if (!path) return std::nullopt;
  const std::wstring_view name = std::wstring_view(*path).substr(path->find_last_of(L"\\/") + 1);
  if (name.empty()) return std::nullopt;
  return Cp932FromWideExactly(name);
}

}  // namespace keyvane::win32
