#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace keyvane::trace {

// The tick alone writes some 600 bytes a second, 50 MB a day: past this size the trace moves
// aside, so that two files of a few hours each are all it ever takes on a small disk.
inline constexpr std::uint64_t kTraceSizeLimit = 4 * 1024 * 1024;

// Where a full trace file goes: once an append has left it at sizeLimit bytes or more, it takes
// this name, replacing the generation before it, and the next text starts a new file.
struct OlderGeneration {
  std::string path;
  std::uint64_t sizeLimit = kTraceSizeLimit;
};

// A text made by printf's rules, for the trace lines that carry numbers; cut at 255 bytes.
[[gnu::format(printf, 1, 2)]] std::string Formatted(const char* format, ...);

// `text` as the trace file stores it: every LF as CR LF.
std::string WithCrLf(std::string_view text);

// The status trace, dovaD.STS. Each Write appends one text, made of its pieces, in one append
// to the file; every line feed is stored as CR LF so the file is the same bytes on every host.
// Without an older generation the file is never moved.
class TraceLog {
 public:
  TraceLog(platform::Files& files, std::string path, std::optional<OlderGeneration> older = std::nullopt)
      : files_(files), path_(std::move(path)), older_(std::move(older)) {}

  // A failed write is dropped: the trace must never stop the keyboard.
  void Write(std::initializer_list<std::string_view> pieces);
  void Write(std::string_view text) { Write({text}); }
  // One text made by printf's rules (Formatted), in one append.
  [[gnu::format(printf, 2, 3)]] void WriteFormatted(const char* format, ...);

  // Deletes the file and its older generation: the trace of a run holds nothing of an earlier one.
  void StartAfresh();

 private:
  platform::Files& files_;
  std::string path_;
  std::optional<OlderGeneration> older_;
  std::string crLf_;  // the bytes of the last append, kept for their capacity
};

}  // namespace keyvane::trace
