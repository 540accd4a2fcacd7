#include "checker/options.h"

#include <gtest/gtest.h>

namespace keyvane::checker {
namespace {

TEST(CheckerArguments, NoArgumentsCheckDovaDBtnInTheCurrentDirectory) {
  const ParsedArguments parsed = ParseArguments({});
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.options.buttonFile, "dovaD.BTN");
  EXPECT_FALSE(parsed.options.buttonFileGiven);
  EXPECT_FALSE(parsed.options.json);
  EXPECT_TRUE(parsed.options.tracePath.empty());
}

TEST(CheckerArguments, OptionsInAnyOrderAroundTheFile) {
  const ParsedArguments parsed = ParseArguments({"--trace", "out.sts", "my.btn", "--json"});
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  EXPECT_EQ(parsed.options.buttonFile, "my.btn");
  EXPECT_TRUE(parsed.options.json);
  EXPECT_EQ(parsed.options.tracePath, "out.sts");
}

TEST(CheckerArguments, TraceWithEqualsSign) {
  const ParsedArguments parsed = ParseArguments({"--trace=x.sts"});
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.options.tracePath, "x.sts");
}

TEST(CheckerArguments, DoubleDashLetsAFileStartWithADash) {
  const ParsedArguments parsed = ParseArguments({"--", "--json"});
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.options.buttonFile, "--json");
  EXPECT_FALSE(parsed.options.json);
}

TEST(CheckerArguments, HelpAndVersion) {
  EXPECT_TRUE(ParseArguments({"--help"}).options.help);
  EXPECT_TRUE(ParseArguments({"-h"}).options.help);
  EXPECT_TRUE(ParseArguments({"--version"}).options.version);
}

TEST(CheckerArguments, WrongArgumentsAreErrorsThatSayWhy) {
  EXPECT_NE(ParseArguments({"--trace"}).error.find("--trace needs a file name"), std::string::npos);
  EXPECT_NE(ParseArguments({"--trace="}).error.find("--trace needs a file name"), std::string::npos);
  EXPECT_NE(ParseArguments({"--jsn"}).error.find("unknown option \"--jsn\""), std::string::npos);
  EXPECT_NE(ParseArguments({"a.btn", "b.btn"}).error.find("more than one button file"), std::string::npos);
}

}  // namespace
}  // namespace keyvane::checker
