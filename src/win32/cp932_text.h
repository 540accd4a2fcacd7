#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keyvane::win32 {

// Code page 932 is named explicitly, so texts show right whatever the machine's locale.
std::wstring WideFromCp932(std::string_view bytes);
std::string Cp932FromWide(std::wstring_view text);
// None when the text has a character code page 932 lacks: best-fit would make it a look-alike.
std::optional<std::string> Cp932FromWideExactly(std::wstring_view text);

}  // namespace keyvane::win32
