#include "app/integer_text.h"

namespace keyvane::app {

namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::int32_t ParseIntegerText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    i += 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return 0;
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;  // magnitude of INT32_MIN
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return 0;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return 0;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return 0;
  return static_cast<std::int32_t>(value);
}

}  // namespace keyvane::app
