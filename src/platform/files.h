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

// The file operations the core needs. The core names a file by a code page 932 text: the keyboard
// by its bare name ("dovaD.BTN"), which the Windows side finds in the program's folder; the
// checker by the path it was given.
class Files {
 public:
  virtual ~Files() = default;
  // Reads the whole file as raw bytes into `bytes`. Returns false when it cannot be opened.
  // A read error after opening ends the data like end of file.
  virtual bool ReadAll(const std::string& path, std::string& bytes) = 0;
  // Appends raw bytes, creating the file when missing. Returns the file's size after the append;
  // none on any failure.
  virtual std::optional<std::uint64_t> Append(const std::string& path, std::string_view bytes) = 0;
  // Deletes the file; failure is not reported.
  virtual void Remove(const std::string& path) = 0;
  // Gives the file the other name, replacing a file of that name; failure is not reported.
  virtual void Rename(const std::string& from, const std::string& to) = 0;
  // The file's size and write time, without opening it; none when it is missing or cannot be examined.
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
};

}  // namespace keyvane::platform
