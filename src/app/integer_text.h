#pragma once

#include <cstdint>
#include <string_view>

namespace keyvane::app {

// Reads an integer the usual way: leading blanks, one sign, decimal digits, or hexadecimal
// after $, X or 0X. Anything left over, no digits, or a value outside the signed 32-bit
// range gives 0.
std::int32_t ParseIntegerText(std::string_view text);

}  // namespace keyvane::app
