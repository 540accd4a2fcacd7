#include "btnfile/loader.h"

#include <algorithm>

#include "btnfile/read_button_file.h"

namespace keyvane::btnfile {

LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log) {
  files.Remove(log.path());
  return ReadAndBuild(files, buttonFilePath, log);
}

LoadedButtons ReadAndBuild(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log) {
  LoadedButtons loaded;
  loaded.fileRead = ReadButtonFile(files, buttonFilePath, loaded.lines, &loaded.findings) == 0;
  const std::size_t readFindings = loaded.findings.size();
  loaded.maps = BuildMapTable(loaded.lines, log, loaded.fileRead ? &loaded.findings : nullptr);
  // Both lists are in line order; on one line, what the reading found comes first.
  std::inplace_merge(loaded.findings.begin(), loaded.findings.begin() + static_cast<std::ptrdiff_t>(readFindings),
                     loaded.findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return loaded;
}

}  // namespace keyvane::btnfile
