#include "trace/trace_log.h"

namespace keyvane::trace {

std::string ToCrLf(std::string_view text) {
  std::string out;
  ToCrLf(text, out);
  return out;
}

void ToCrLf(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size() + 8);
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
}

void TraceLog::AppendTrace() {
  ToCrLf(pending_, crLf_);
  files_.Append(path_, crLf_);  // a failed write must never stop the keyboard
  pending_.clear();
}

void TraceLog::Write(std::string_view text) {
  pending_.assign(text);
  AppendTrace();
}

}  // namespace keyvane::trace
