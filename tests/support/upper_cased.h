#pragma once

#include <string>
#include <string_view>

#include "btnfile/cp932.h"

namespace keyvane::testing {

// An upper-cased copy, for expectations: the product upper-cases its lines in place.
inline std::string UpperCased(std::string_view text) {
  std::string out(text);
  cp932::ToUpperInPlace(out);
  return out;
}

}  // namespace keyvane::testing
