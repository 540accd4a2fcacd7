#include "app/button_colours.h"

#include <cmath>

namespace keyvane::app {
namespace {

// Below this contrast ratio navy is hard to read; 3:1 is the usual floor for large text.
constexpr double kLeastContrast = 3.0;

double Channel(Colour colour, int shift) {
  const double c = static_cast<double>(colour >> shift & 0xFF) / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
double Luminance(Colour colour) {
  return 0.2126 * Channel(colour, 0) + 0.7152 * Channel(colour, 8) + 0.0722 * Channel(colour, 16);
}

double Contrast(Colour a, Colour b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

}  // namespace

Colour CaptionColour(Colour face, Colour themeText) {
  return Paintable(Contrast(kNavy, Paintable(face)) >= kLeastContrast ? kNavy : themeText);
}

}  // namespace keyvane::app
