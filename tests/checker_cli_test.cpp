// Runs the built keyvane-check program itself: what a user sees in a shell.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/sjis.h"

namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class CheckerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("keyvane_check_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the checker in the scratch directory with a shell command line of arguments.
  ProgramRun Check(const std::string& arguments) {
    const std::string command =
        "cd '" + dir_.string() + "' && '" + KEYVANE_CHECK_EXE + "' " + arguments + " >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadBytes(dir_ / "stdout.txt");
    run.err = ReadBytes(dir_ / "stderr.txt");
    return run;
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  fs::path dir_;
};

const std::string kExample = std::string(KEYVANE_SOURCE_DIR) + "/examples/dovaD.BTN";
const std::string kMistakes = std::string(KEYVANE_SOURCE_DIR) + "/tests/fixtures/checker_mistakes.BTN";

TEST_F(CheckerProgram, ExampleFileHasNoProblems) {
  const ProgramRun run = Check("'" + kExample + "'");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("the panels start with map MAIN"));
  EXPECT_THAT(run.out, HasSubstr("[かな]"));
  EXPECT_THAT(run.out, HasSubstr("\nNo problems found.\n"));
  EXPECT_EQ(run.err, "");
}

TEST_F(CheckerProgram, ReadsDovaDBtnInTheCurrentDirectoryByDefault) {
  Write("dovaD.BTN", "#MAIN\r\nA KYE A\r\n");
  const ProgramRun run = Check("");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.out, HasSubstr("dovaD.BTN: 1 map"));
  EXPECT_THAT(run.out, HasSubstr("line 2: unknown command word \"KYE\""));
  EXPECT_FALSE(fs::exists(dir_ / "dovaD.STS"));
}

TEST_F(CheckerProgram, FileFullOfMistakesExitsWithOne) {
  const ProgramRun run = Check("'" + kMistakes + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.out, HasSubstr("30 problems:"));
}

TEST_F(CheckerProgram, MissingFileAndWrongArgumentsExitWithTwo) {
  const ProgramRun missing = Check("nothing.btn");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_THAT(missing.err, HasSubstr("cannot read the button file \"nothing.btn\""));

  const ProgramRun directory = Check(".");
  EXPECT_EQ(directory.status, 2);
  EXPECT_THAT(directory.err, HasSubstr("it is a directory"));

  const ProgramRun wrong = Check("--frobnicate");
  EXPECT_EQ(wrong.status, 2);
  EXPECT_THAT(wrong.err, HasSubstr("unknown option"));
}

TEST_F(CheckerProgram, TraceFileHoldsTheKeyboardsLoadingTrace) {
  Write("dovaD.BTN", "#MAIN\r\nA KEY A\r\n");
  const ProgramRun run = Check("--trace out.sts");
  EXPECT_EQ(run.status, 0);
  const std::string expected = "\r\n" + keyvane::testing::Sjis("読み込みファイル表示") + "\r\n#MAIN\r\n" +
                               keyvane::testing::Sjis("取得マップ名=MAIN") + "\r\n";
  EXPECT_EQ(ReadBytes(dir_ / "out.sts"), expected);
}

TEST_F(CheckerProgram, JsonOutputIsTheDocumentedObject) {
  const ProgramRun run = Check("--json '" + kMistakes + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, ReadBytes(std::string(KEYVANE_SOURCE_DIR) + "/tests/fixtures/checker_mistakes.json"));
}

}  // namespace
