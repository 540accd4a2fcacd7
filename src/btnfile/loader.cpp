#include "btnfile/loader.h"

#include "btnfile/read_button_file.h"

namespace keyvane::btnfile {

LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log) {
  files.Remove(log.path());
  return ReadAndBuild(files, buttonFilePath, log);
}

LoadedButtons ReadAndBuild(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log) {
  LoadedButtons loaded;
  loaded.fileRead = ReadButtonFile(files, buttonFilePath, loaded.lines) == 0;
  loaded.maps = BuildMapTable(loaded.lines, log);
  return loaded;
}

}  // namespace keyvane::btnfile
