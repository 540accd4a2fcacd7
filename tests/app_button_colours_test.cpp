#include <gtest/gtest.h>

#include "app/button_colours.h"

namespace keyvane::app {
namespace {

TEST(ButtonColours, CaptionReadsOnTheFaceAndNothingIsPaintedInTheKeyColour) {
  constexpr Colour kWhite = Rgb(255, 255, 255);
  const struct {
    Colour face;
    Colour themeText;
    Colour caption;
  } cases[] = {
      {Rgb(240, 240, 240), kColourKey, kNavy},                                         // the usual light face
      {Rgb(192, 192, 192), kColourKey, kNavy},                                         // the classic grey
      {Rgb(128, 128, 128), kColourKey, kNavy},          {kColourKey, kWhite, kWhite},  // high contrast black
      {kColourKey, Rgb(255, 255, 0), Rgb(255, 255, 0)}, {Rgb(32, 32, 32), kWhite, kWhite},
      {kColourKey, kColourKey, Paintable(kColourKey)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CaptionColour(c.face, c.themeText), c.caption) << std::hex << c.face << " " << c.themeText;
    EXPECT_NE(Paintable(c.face), kColourKey);
    EXPECT_NE(CaptionColour(c.face, c.themeText), kColourKey);
  }
  EXPECT_EQ(Paintable(kWhite), kWhite);
  EXPECT_EQ(Paintable(Rgb(1, 0, 0)), Rgb(1, 0, 0));
}

}  // namespace
}  // namespace keyvane::app
