#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace keyvane::trace {

// The status trace, dovaD.STS. Each Write appends one text, made of its pieces, in one append
// to the file; every line feed is stored as CR LF so the file is the same bytes on every host.
class TraceLog {
 public:
  TraceLog(platform::Files& files, std::string path) : files_(files), path_(std::move(path)) {}

  // A failed write is dropped: the trace must never stop the keyboard.
  void Write(std::initializer_list<std::string_view> pieces);
  void Write(std::string_view text) { Write({text}); }

  const std::string& path() const { return path_; }

 private:
  platform::Files& files_;
  std::string path_;
  std::string crLf_;  // the bytes of the last append, kept for their capacity
};

}  // namespace keyvane::trace
