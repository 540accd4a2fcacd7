#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace keyvane::testing {

// What the trace file holds for a text written to it: every LF stored as CR LF.
inline std::string ToCrLf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

// An in-memory file system that records every call, so tests can check both content and order.
class MemoryFiles final : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unwritable;  // appends to these paths fail
  std::set<std::string> unreadable;  // these exist but cannot be opened for reading
  std::set<std::string> unmovable;   // these cannot be renamed (another program holds them open)
  std::vector<std::string> calls;    // "read PATH", "append PATH", "remove PATH", "rename FROM TO"

  bool ReadAll(const std::string& path, std::string& bytes) override {
    calls.push_back("read " + path);
    const auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return false;
    bytes = it->second;
    return true;
  }
  std::optional<std::uint64_t> Append(const std::string& path, std::string_view bytes) override {
    calls.push_back("append " + path);
    if (unwritable.count(path)) return std::nullopt;
    std::string& content = files[path];
    content.append(bytes);
    return content.size();
  }
  void Remove(const std::string& path) override {
    calls.push_back("remove " + path);
    files.erase(path);
  }
  void Rename(const std::string& from, const std::string& to) override {
    calls.push_back("rename " + from + " " + to);
    const auto it = files.find(from);
    if (it == files.end() || unmovable.count(from)) return;
    files[to] = std::move(it->second);
    files.erase(from);
  }
  // The content stands in for the write time: any rewrite that changes it changes the stamp.
  std::optional<platform::FileStamp> Stamp(const std::string& path) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return platform::FileStamp{it->second.size(), static_cast<std::int64_t>(std::hash<std::string>{}(it->second))};
  }
};

}  // namespace keyvane::testing
