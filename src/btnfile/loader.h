#pragma once

#include <string>
#include <vector>

#include "btnfile/findings.h"
#include "btnfile/line_store.h"
#include "btnfile/map_parser.h"
#include "platform/files.h"
#include "trace/trace_log.h"

namespace keyvane::btnfile {

// Everything read from the button file; lives, unchanged, until a reload replaces it whole.
struct LoadedButtons {
  bool fileRead = false;  // false when the file could not be opened
  LineStore lines;
  BuiltMaps maps;
  std::vector<Finding> findings;  // what the reading and the walk dropped or fell back on, by line
};

// Starts a fresh trace (deleting the old one), reads and cleans the file, builds the maps.
LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log);

// Reads and cleans the file and builds the maps, tracing what it reads after what the trace
// already holds. Start-up does this right after deleting the trace; a reload does only this.
LoadedButtons ReadAndBuild(platform::Files& files, const std::string& buttonFilePath, trace::TraceLog& log);

}  // namespace keyvane::btnfile
