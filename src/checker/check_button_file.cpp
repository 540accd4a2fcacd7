#include "checker/check_button_file.h"

#include "btnfile/special_names.h"
#include "checker/trace_capturing_files.h"
#include "trace/trace_log.h"

namespace keyvane::checker {

CheckResult CheckButtonFile(platform::Files& files, const std::string& path) {
  TraceCapturingFiles capture(files);
  trace::TraceLog log(capture, std::string(btnfile::kTraceFileName));
  CheckResult result;
  result.loaded = btnfile::LoadButtonFile(capture, path, log);
  if (result.loaded.fileRead) {
    result.diagnostics = btnfile::FindDiagnostics(result.loaded);
  }
  result.trace = capture.TakeTrace();
  return result;
}

}  // namespace keyvane::checker
