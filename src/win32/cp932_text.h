#pragma once

#include <string>
#include <string_view>

namespace keyvane::win32 {

// Code page 932 is named explicitly, so texts show right whatever the machine's locale.
std::wstring WideFromCp932(std::string_view bytes);
std::string Cp932FromWide(std::wstring_view text);

}  // namespace keyvane::win32
