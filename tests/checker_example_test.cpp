// The example button file shipped to users: it must load cleanly and stay a file a person can edit.
#include <gtest/gtest.h>

#include "btnfile/cp932.h"
#include "btnfile/diagnostics.h"
#include "btnfile/loader.h"
#include "btnfile/special_names.h"
#include "platform/std_files.h"
#include "support/memory_files.h"

namespace keyvane::btnfile {
namespace {

const std::string kExample = std::string(KEYVANE_SOURCE_DIR) + "/examples/dovaD.BTN";

std::string ExampleBytes() {
  platform::StdFiles files;
  std::string bytes;
  EXPECT_TRUE(files.ReadAll(kExample, bytes));
  return bytes;
}

LoadedButtons LoadExample() {
  testing::MemoryFiles files;
  files.files["dovaD.BTN"] = ExampleBytes();
  return LoadButtonFile(files, "dovaD.BTN");
}

TEST(ExampleButtonFile, HasNoDiagnostics) {
  const LoadedButtons loaded = LoadExample();
  for (const Diagnostic& d : FindDiagnostics(loaded)) {
    ADD_FAILURE() << "line " << d.line << ": " << cp932::ToUtf8(d.message);
  }
}

TEST(ExampleButtonFile, IsCodePage932WithCrLfLineEnds) {
  const std::string bytes = ExampleBytes();
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(cp932::ToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "a byte that is not code page 932";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
    }
  }
  EXPECT_TRUE(bytes.ends_with("\r\n"));
}

TEST(ExampleButtonFile, HasTheDailyPagesAndAFullFirstMap) {
  const LoadedButtons loaded = LoadExample();
  const MapTable& table = loaded.maps.table;
  EXPECT_EQ(loaded.maps.defaultMapName, "MAIN");
  const ButtonMap* main = FindMap(table, "MAIN");
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < kShownPositions; ++i) {
    ASSERT_TRUE(main->positions[i]) << "position " << i;
    EXPECT_NE(main->positions[i]->kind, ActionKind::NONE) << "position " << i;
  }
  bool hasJapanesePage = false;
  for (const auto& [name, map] : table) hasJapanesePage |= name.starts_with(kJapaneseMapPrefix);
  EXPECT_TRUE(hasJapanesePage);
  EXPECT_NE(FindMap(table, "NUM"), nullptr);
  EXPECT_NE(FindMap(table, kSlideCommandMap), nullptr);
  EXPECT_NE(FindMap(table, kRightButtonPageMap), nullptr);
}

TEST(ExampleButtonFile, RightClickCycleVisitsEveryPageAndComesBack) {
  const LoadedButtons loaded = LoadExample();
  const ButtonMap& cycle = *FindMap(loaded.maps.table, kRightButtonPageMap);
  // Follow right clicks from the first map as the keyboard matches them: first caption equal to the map shown.
  std::string shown = loaded.maps.defaultMapName;
  std::vector<std::string> visited;
  for (int click = 0; click < 10 && (visited.empty() || shown != "MAIN"); ++click) {
    const ButtonDef* next = nullptr;
    for (int i = 0; i < kShownPositions && next == nullptr; ++i) {
      if (cycle.positions[i] && cycle.positions[i]->caption == shown) next = &*cycle.positions[i];
    }
    ASSERT_NE(next, nullptr) << "no cycle line for " << shown;
    shown = next->target;
    visited.push_back(shown);
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"J_KANA", "NUM", "SYM", "MAIN"}));
}

}  // namespace
}  // namespace keyvane::btnfile
