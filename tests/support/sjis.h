#pragma once

#include <string>
#include <string_view>

namespace keyvane::testing {

// UTF-8 to code page 932 through glibc's iconv, so expectations can be written readably.
std::string Sjis(std::string_view utf8);

// Reads a fixture file from tests/fixtures as raw bytes.
std::string Fixture(const std::string& name);

}  // namespace keyvane::testing
