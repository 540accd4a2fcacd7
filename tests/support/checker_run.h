#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "checker/run_checker.h"
#include "support/memory_files.h"

namespace keyvane::testing {

// One in-process run of the checker's command line: its exit status and both output streams.
struct CheckerRun {
  int status = -1;
  std::string out;
  std::string err;
};

// In-memory files holding the button file where the checker looks when no FILE is given.
inline MemoryFiles WithButtonFile(const std::string& fileBytes) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = fileBytes;
  return files;
}

// The checker's load of a file given as its raw bytes.
inline checker::CheckResult Check(const std::string& fileBytes) {
  MemoryFiles files = WithButtonFile(fileBytes);
  return checker::CheckButtonFile(files, "dovaD.BTN");
}

inline CheckerRun RunWith(MemoryFiles& files, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CheckerRun run;
  run.status = checker::RunChecker(args, files, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace keyvane::testing
