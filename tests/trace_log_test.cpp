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

TEST(TraceLog, AtItsSizeLimitTheFileMovesWholeToItsOlderGenerationWhichItReplaces) {
  testing::MemoryFiles files;
  TraceLog log(files, "t", OlderGeneration{"t.old", 10});
  log.Write("12345\n");
  EXPECT_FALSE(files.files.contains("t.old"));
  log.Write("a\n");  // exactly 10 bytes
  EXPECT_EQ(files.files["t.old"], "12345\r\na\r\n");
  EXPECT_FALSE(files.files.contains("t"));
  log.Write("x\n");
  log.Write("0123456789\n");  // one text past the limit stays whole
  EXPECT_EQ(files.files["t.old"], "x\r\n0123456789\r\n");
  EXPECT_FALSE(files.files.contains("t"));

  // Held open by another program: the file grows on and moves after a later text.
  files.unmovable.insert("t");
  log.Write("ABCDEFGHIJ\n");
  files.unmovable.clear();
  EXPECT_EQ(files.files["t"], "ABCDEFGHIJ\r\n");
  log.Write("K\n");
  EXPECT_EQ(files.files["t.old"], "ABCDEFGHIJ\r\nK\r\n");

  log.Write("new\n");
  log.StartAfresh();
  EXPECT_TRUE(files.files.empty());
}

}  // namespace
}  // namespace keyvane::trace
