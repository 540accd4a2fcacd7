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
  EXPECT_TRUE(parsed.options.htmlPath.empty());
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

TEST(CheckerArguments, HtmlTakesItsFileNameEitherWay) {
  const ParsedArguments spaced = ParseArguments({"--html", "preview.html", "my.btn"});
  ASSERT_TRUE(spaced.ok()) << spaced.error;
  EXPECT_EQ(spaced.options.htmlPath, "preview.html");
  EXPECT_EQ(spaced.options.buttonFile, "my.btn");
  EXPECT_TRUE(spaced.options.tracePath.empty());
  const ParsedArguments joined = ParseArguments({"my.btn", "--html=p.html", "--trace=t.sts"});
  ASSERT_TRUE(joined.ok()) << joined.error;
  EXPECT_EQ(joined.options.htmlPath, "p.html");
  EXPECT_EQ(joined.options.tracePath, "t.sts");
  // The file name after --html is never taken for the button file.
  const ParsedArguments named = ParseArguments({"--html", "dovaD.BTN"});
  EXPECT_EQ(named.options.htmlPath, "dovaD.BTN");
  EXPECT_FALSE(named.options.buttonFileGiven);
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
  EXPECT_NE(ParseArguments({"--html"}).error.find("--html needs a file name (--html OUT.html)"), std::string::npos);
  EXPECT_NE(ParseArguments({"--html="}).error.find("--html needs a file name"), std::string::npos);
  EXPECT_NE(ParseArguments({"--htm", "x"}).error.find("unknown option \"--htm\""), std::string::npos);
  EXPECT_NE(ParseArguments({"--jsn"}).error.find("unknown option \"--jsn\""), std::string::npos);
  EXPECT_NE(ParseArguments({"a.btn", "b.btn"}).error.find("more than one button file"), std::string::npos);
}

}  // namespace
}  // namespace keyvane::checker
