#pragma once

#include "platform/clock.h"
#include "platform/std_files.h"

namespace keyvane::win32 {

class Win32Clock final : public platform::Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

// The standard files, with a stamp that carries the write time to the 100 ns the file system keeps.
class Win32Files final : public platform::Files {
 public:
  bool ReadAll(const std::string& path, std::string& bytes) override { return files_.ReadAll(path, bytes); }
  bool Append(const std::string& path, std::string_view bytes) override { return files_.Append(path, bytes); }
  void Remove(const std::string& path) override { files_.Remove(path); }
  std::optional<platform::FileStamp> Stamp(const std::string& path) override;

 private:
  platform::StdFiles files_;
};

}  // namespace keyvane::win32
