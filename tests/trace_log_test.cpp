#include <gtest/gtest.h>

#include "support/memory_files.h"
#include "trace/trace_log.h"

namespace keyvane::trace {
namespace {

TEST(TraceLog, EveryLineFeedIsWrittenAsCrLf) {
  testing::MemoryFiles files;
  TraceLog log(files, "t");
  log.Write("a\nb\n\n");
  log.Write({"c%s", "d\r\n", "", "e\n"});
  EXPECT_EQ(files.files["t"], "a\r\nb\r\n\r\nc%sd\r\r\ne\r\n");
}

TEST(TraceLog, FileIsOpenedForEveryText) {
  testing::MemoryFiles files;
  TraceLog log(files, "t");
  log.Write("1\n");
  log.Write("2\n");
  EXPECT_EQ(files.calls, (std::vector<std::string>{"append t", "append t"}));
}

TEST(TraceLog, FailedWriteIsDroppedNotCarriedOver) {
  testing::MemoryFiles files;
  files.unwritable.insert("t");
  TraceLog log(files, "t");
  log.Write("lost\n");
  files.unwritable.clear();
  log.Write("next\n");
  EXPECT_EQ(files.files["t"], "next\r\n");
}

}  // namespace
}  // namespace keyvane::trace
