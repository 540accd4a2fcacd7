#include "trace/trace_log.h"

namespace keyvane::trace {

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

void TraceLog::AppendTrace() {
  files_.Append(path_, ToCrLf(pending_));  // a failed write must never stop the keyboard
  pending_.clear();
}

void TraceLog::Write(std::string_view text) {
  pending_.assign(text);
  AppendTrace();
}

}  // namespace keyvane::trace
