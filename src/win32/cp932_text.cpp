#include "win32/cp932_text.h"

#include <windows.h>

namespace keyvane::win32 {

constexpr UINT kShiftJis = 932;

std::wstring WideFromCp932(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = MultiByteToWideChar(kShiftJis, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kShiftJis, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
  return text;
}

std::string Cp932FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(kShiftJis, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kShiftJis, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::optional<std::string> Cp932FromWideExactly(std::wstring_view text) {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), length,
                      nullptr, nullptr);
  return bytes;
}

}  // namespace keyvane::win32
