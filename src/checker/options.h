#pragma once

#include <string>
#include <vector>

#include "btnfile/special_names.h"

namespace keyvane::checker {

struct Options {
  bool json = false;
  bool help = false;
  bool version = false;
  std::string tracePath;  // empty: no trace written
  std::string htmlPath;   // empty: no preview written
  std::string buttonFile{btnfile::kButtonFileName};
  bool buttonFileGiven = false;
};

struct ParsedArguments {
  Options options;
  std::string error;  // empty when the arguments were understood
  bool ok() const { return error.empty(); }
};

// Parses the arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace keyvane::checker
