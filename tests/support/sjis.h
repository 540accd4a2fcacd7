#pragma once

#include <string>
#include <string_view>

namespace keyvane::testing {

// UTF-8 to code page 932 through glibc's iconv, so expectations can be written readably.
std::string Sjis(std::string_view utf8);

// UTF-8 to another of glibc's encodings ("UTF-16LE", ...), without a byte-order mark.
std::string Recode(std::string_view utf8, const char* encoding);

// Reads a fixture file from tests/fixtures as raw bytes.
std::string Fixture(const std::string& name);

}  // namespace keyvane::testing
