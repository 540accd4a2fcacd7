#pragma once

#include <string>
#include <string_view>

namespace keyvane::platform {

// The file operations the core needs. Paths are byte strings as the host takes them.
class Files {
 public:
  virtual ~Files() = default;
  // Reads the whole file as raw bytes into `bytes`. Returns false when it cannot be opened.
  // A read error after opening ends the data like end of file.
  virtual bool ReadAll(const std::string& path, std::string& bytes) = 0;
  // Appends raw bytes, creating the file when missing. Returns false on any failure.
  virtual bool Append(const std::string& path, std::string_view bytes) = 0;
  // Deletes the file; failure is not reported.
  virtual void Remove(const std::string& path) = 0;
};

}  // namespace keyvane::platform
