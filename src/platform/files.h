#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyvane::platform {

// What tells one version of a file from the next: its size and last write time (in the
// host's own units; only compared for equality).
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;

  bool operator==(const FileStamp&) const = default;
};

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
  // The file's size and write time, without opening it; none when it is missing or cannot be examined.
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
};

}  // namespace keyvane::platform
