#include "platform/std_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace keyvane::platform {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A file larger than one read gets room for all of it at once, so that it is not copied again
// and again as the string grows; the reading still goes on to the real end.
void ReserveTheRest(std::FILE* file, std::string& bytes) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return;
  const long size = std::ftell(file);
  if (std::fseek(file, here, SEEK_SET) != 0) return;
  if (size > here) bytes.reserve(static_cast<std::size_t>(size));
}

}  // namespace

bool StdFiles::ReadAll(const std::string& path, std::string& bytes) {
  bytes.clear();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[64 * 1024];
  for (bool first = true;; first = false) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;  // end of file or a read error: both end the data
    if (first) ReserveTheRest(file.get(), bytes);
  }
  return true;
}

std::optional<std::uint64_t> StdFiles::Append(const std::string& path, std::string_view bytes) {
  FilePtr file(std::fopen(path.c_str(), "ab"));
  if (!file) return std::nullopt;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  // After a write in append mode the position is the end of the file.
  const long size = written ? std::ftell(file.get()) : -1;
  if (std::fclose(file.release()) != 0 || size < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size);
}

void StdFiles::Remove(const std::string& path) { std::remove(path.c_str()); }

void StdFiles::Rename(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return;
  // Windows' C library does not replace an existing file.
  std::remove(to.c_str());
  std::rename(from.c_str(), to.c_str());
}

// stat rather than std::filesystem: the Windows program links these files, and the
// filesystem library would bring the whole locale machinery into it.
std::optional<FileStamp> StdFiles::Stamp(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || (status.st_mode & S_IFMT) != S_IFREG) return std::nullopt;
  return FileStamp{static_cast<std::uintmax_t>(status.st_size), static_cast<std::int64_t>(status.st_mtime)};
}

}  // namespace keyvane::platform
