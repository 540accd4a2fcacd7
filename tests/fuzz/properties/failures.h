#pragma once

#include <string>
#include <string_view>

namespace keyvane::fuzz {

// The properties one input broke, so a fuzzer can stop on them and a unit test can print them.
class Failures {
 public:
  void Check(bool holds, std::string_view property) {
    if (holds) return;
    if (!text_.empty()) text_ += "; ";
    text_ += property;
  }
  bool empty() const { return text_.empty(); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace keyvane::fuzz
