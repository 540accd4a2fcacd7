#include "trace/trace_log.h"

namespace keyvane::trace {

namespace {

void AppendCrLf(std::string_view text, std::string& out) {
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
}

}  // namespace

void TraceLog::Write(std::initializer_list<std::string_view> pieces) {
  crLf_.clear();
  for (const std::string_view piece : pieces) AppendCrLf(piece, crLf_);
  files_.Append(path_, crLf_);
}

}  // namespace keyvane::trace
