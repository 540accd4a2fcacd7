#pragma once

#include <string>
#include <vector>

namespace keyvane::platform {

// The program's command line, read again every time the panels are placed.
class CommandLine {
 public:
  virtual ~CommandLine() = default;
  // All arguments as code page 932 bytes, the program's own name first.
  virtual std::vector<std::string> Arguments() = 0;
};

}  // namespace keyvane::platform
