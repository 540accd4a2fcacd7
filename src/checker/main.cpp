#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "checker/run_checker.h"
#include "platform/std_files.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // Line ends as written, so the JSON is the same bytes on every host.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  keyvane::platform::StdFiles files;
  return keyvane::checker::RunChecker(args, files, std::cout, std::cerr);
}
