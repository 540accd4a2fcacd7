#include "checker/run_checker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "btnfile/loader.h"
#include "support/checker_run.h"
#include "support/memory_files.h"
#include "trace/trace_log.h"

namespace keyvane::checker {
namespace {

using ::testing::HasSubstr;
using testing::MemoryFiles;

using testing::CheckerRun;
using testing::RunWith;
using testing::WithButtonFile;

TEST(CheckerExitStatus, CleanFileIsZeroAndProblemsAreOne) {
  MemoryFiles files = WithButtonFile("#MAIN\r\nA KEY A\r\n");
  files.files["bad.btn"] = "#MAIN\r\nA KYE A\r\n";
  EXPECT_EQ(RunWith(files, {}).status, kExitClean);
  const CheckerRun bad = RunWith(files, {"bad.btn"});
  EXPECT_EQ(bad.status, kExitDiagnostics);
  EXPECT_THAT(bad.out, HasSubstr("line 2: unknown command word"));
  EXPECT_EQ(bad.err, "");
}

TEST(CheckerExitStatus, UnreadableFileIsTwoWithAMessageOnStandardError) {
  MemoryFiles files;
  const CheckerRun run = RunWith(files, {});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, HasSubstr("cannot read the button file \"dovaD.BTN\""));
  EXPECT_THAT(run.err, HasSubstr("no FILE given"));
}

TEST(CheckerExitStatus, WrongArgumentsAreTwo) {
  MemoryFiles files;
  const CheckerRun run = RunWith(files, {"--bogus"});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_THAT(run.err, HasSubstr("unknown option \"--bogus\""));
  EXPECT_TRUE(files.calls.empty());  // nothing was read or written
}

TEST(CheckerHelp, HelpAndVersionGoToStandardOutput) {
  MemoryFiles files;
  const CheckerRun help = RunWith(files, {"--help"});
  EXPECT_EQ(help.status, kExitClean);
  EXPECT_THAT(help.out, HasSubstr("Usage: keyvane-check [--json] [--trace OUT] [--html OUT.html] [FILE]"));
  const CheckerRun version = RunWith(files, {"--version"});
  EXPECT_EQ(version.out, std::string("keyvane-check ") + KEYVANE_VERSION + "\n");
}

TEST(CheckerTrace, WritesTheBytesTheKeyboardWritesWhileLoading) {
  const std::string file = "' comment\r\nX\r\n#MAIN\r\nA KEY A\r\n#100%\r\n";
  MemoryFiles keyboard;
  keyboard.files["dovaD.BTN"] = file;
  trace::TraceLog log(keyboard, "dovaD.STS");
  log.Write(btnfile::LoadButtonFile(keyboard, "dovaD.BTN").readTrace);

  MemoryFiles files = WithButtonFile(file);
  files.files["out.sts"] = "an old trace";
  EXPECT_EQ(RunWith(files, {"--trace", "out.sts"}).status, kExitDiagnostics);
  EXPECT_EQ(files.files["out.sts"], keyboard.files["dovaD.STS"]);
  EXPECT_EQ(files.files.count("dovaD.STS"), 0u);  // the checker never touches a real trace
}

TEST(CheckerTrace, MissingFileStillGivesTheHeadingOnly) {
  MemoryFiles files;
  EXPECT_EQ(RunWith(files, {"--trace", "out.sts"}).status, kExitError);
  EXPECT_EQ(files.files["out.sts"].substr(0, 2), "\r\n");
  EXPECT_EQ(files.files["out.sts"].find("\r\n", 2) + 2, files.files["out.sts"].size());
}

// What the checker's two output files share: the preview (--html) and the trace (--trace).
struct OutputFile {
  const char* option;
  const char* path;
  const char* what;
};

class CheckerOutputFile : public ::testing::TestWithParam<OutputFile> {};

TEST_P(CheckerOutputFile, RefusesToWriteOverTheButtonFile) {
  MemoryFiles files = WithButtonFile("#MAIN\r\n");
  const CheckerRun run = RunWith(files, {GetParam().option, "dovaD.BTN", "dovaD.BTN"});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_THAT(run.err, HasSubstr("is the button file itself"));
  EXPECT_EQ(files.files["dovaD.BTN"], "#MAIN\r\n");
}

TEST_P(CheckerOutputFile, UnwritableFileIsAnError) {
  const OutputFile& output = GetParam();
  MemoryFiles files = WithButtonFile("#MAIN\r\nA KEY A\r\n");
  files.unwritable.insert(output.path);
  const CheckerRun run = RunWith(files, {std::string(output.option) + "=" + output.path});
  EXPECT_EQ(run.status, kExitError);
  EXPECT_THAT(run.err, HasSubstr(std::string("cannot write the ") + output.what + " file \"" + output.path + "\""));
}

INSTANTIATE_TEST_SUITE_P(PreviewAndTrace, CheckerOutputFile,
                         ::testing::Values(OutputFile{"--html", "out.html", "preview"},
                                           OutputFile{"--trace", "out.sts", "trace"}));

TEST(CheckerJson, JsonGoesToStandardOutputWithTheSameExitStatus) {
  MemoryFiles files = WithButtonFile("#MAIN\r\nA KYE A\r\n");
  const CheckerRun run = RunWith(files, {"--json"});
  EXPECT_EQ(run.status, kExitDiagnostics);
  EXPECT_EQ(run.out.front(), '{');
  EXPECT_EQ(run.out.back(), '\n');
}

}  // namespace
}  // namespace keyvane::checker
