#pragma once

#include "platform/files.h"

namespace keyvane::platform {

// Files through the C standard library in binary mode: the core does its own
// text-mode translation, so the bytes are the same on every host.
class StdFiles final : public Files {
 public:
  bool ReadAll(const std::string& path, std::string& bytes) override;
  std::optional<std::uint64_t> Append(const std::string& path, std::string_view bytes) override;
  void Remove(const std::string& path) override;
  void Rename(const std::string& from, const std::string& to) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
};

}  // namespace keyvane::platform
