#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace keyvane::trace {

// The status trace, dovaD.STS. Writers fill PendingTrace and call AppendTrace at once;
// every line feed is stored as CR LF so the file is the same bytes on every host.
class TraceLog {
 public:
  TraceLog(platform::Files& files, std::string path) : files_(files), path_(std::move(path)) {}

  std::string& PendingTrace() { return pending_; }
  // Appends PendingTrace to the file and empties it, whether or not the write worked.
  void AppendTrace();
  // Shorthand for the usual pattern: put one finished text in PendingTrace and append it.
  void Write(std::string_view text);

  const std::string& path() const { return path_; }

 private:
  platform::Files& files_;
  std::string path_;
  std::string pending_;
  std::string crLf_;  // the bytes of the last append, kept for their capacity
};

// Text-mode line ends: every LF becomes CR LF.
std::string ToCrLf(std::string_view text);
// The same, into `out`, which it replaces.
void ToCrLf(std::string_view text, std::string& out);

}  // namespace keyvane::trace
