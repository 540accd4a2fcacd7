#include "platform/std_files.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace keyvane::platform {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool StdFiles::ReadAll(const std::string& path, std::string& bytes) {
  bytes.clear();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[64 * 1024];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;  // end of file or a read error: both end the data
  }
  return true;
}

bool StdFiles::Append(const std::string& path, std::string_view bytes) {
  FilePtr file(std::fopen(path.c_str(), "ab"));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

void StdFiles::Remove(const std::string& path) { std::remove(path.c_str()); }

std::optional<FileStamp> StdFiles::Stamp(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileStamp{size, static_cast<std::int64_t>(written.time_since_epoch().count())};
}

}  // namespace keyvane::platform
