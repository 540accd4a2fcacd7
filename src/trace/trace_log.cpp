#include "trace/trace_log.h"

#include <cstdarg>
#include <cstdio>

namespace keyvane::trace {

namespace {

void AppendCrLf(std::string_view text, std::string& out) {
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
}

}  // namespace

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  AppendCrLf(text, out);
  return out;
}

void TraceLog::Write(std::initializer_list<std::string_view> pieces) {
  crLf_.clear();
  for (const std::string_view piece : pieces) AppendCrLf(piece, crLf_);
  const std::optional<std::uint64_t> size = files_.Append(path_, crLf_);
  // Moved after the text that reached the limit, so that no text is split between the files.
  // A move that fails is tried again after the next text.
  if (older_ && size && *size >= older_->sizeLimit) files_.Rename(path_, older_->path);
}

namespace {

std::string FormattedFrom(const char* format, std::va_list numbers) {
  char text[256];
  return std::vsnprintf(text, sizeof text, format, numbers) > 0 ? std::string(text) : std::string();
}

}  // namespace

std::string Formatted(const char* format, ...) {
  std::va_list numbers;
  va_start(numbers, format);
  std::string text = FormattedFrom(format, numbers);
  va_end(numbers);
  return text;
}

void TraceLog::WriteFormatted(const char* format, ...) {
  std::va_list numbers;
  va_start(numbers, format);
  const std::string line = FormattedFrom(format, numbers);
  va_end(numbers);
  if (!line.empty()) Write(line);
}

void TraceLog::StartAfresh() {
  files_.Remove(path_);
  if (older_) files_.Remove(older_->path);
}

}  // namespace keyvane::trace
