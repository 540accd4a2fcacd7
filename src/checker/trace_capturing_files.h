#pragma once

#include <string>

#include "platform/files.h"

namespace keyvane::checker {

// The keyboard's file access with the trace kept in memory: the button file is read
// through the real files, while deleting and appending the trace touch no file.
class TraceCapturingFiles final : public platform::Files {
 public:
  explicit TraceCapturingFiles(platform::Files& reader) : reader_(reader) {}

  bool ReadAll(const std::string& path, std::string& bytes) override { return reader_.ReadAll(path, bytes); }
  bool Append(const std::string&, std::string_view bytes) override {
    trace_.append(bytes);
    return true;
  }
  void Remove(const std::string&) override { trace_.clear(); }
  std::optional<platform::FileStamp> Stamp(const std::string& path) override { return reader_.Stamp(path); }

  // The trace captured so far, handed over.
  std::string TakeTrace() { return std::move(trace_); }

 private:
  platform::Files& reader_;
  std::string trace_;
};

}  // namespace keyvane::checker
