#pragma once

#include <cstdint>

namespace keyvane::app {

// A colour as 0x00BBGGRR, the layout of a Win32 COLORREF.
using Colour = std::uint32_t;

constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) { return red | green << 8 | blue << 16; }

// The panels' transparent colour: pixels of exactly this colour are not drawn and let the
// mouse through to the window below.
inline constexpr Colour kColourKey = Rgb(0, 0, 0);
// The captions' own colour.
inline constexpr Colour kNavy = Rgb(0, 0, 128);

// A colour a button's face, edge or caption may be painted in: the colour itself, or, for the
// key colour (a high-contrast theme's black face), a black just off it, so the button stays
// solid under a touch.
constexpr Colour Paintable(Colour colour) { return colour == kColourKey ? Rgb(8, 8, 8) : colour; }

// The caption colour on a face of the given colour: navy where navy reads on it, else the
// theme's button text colour (a high-contrast theme's dark face). Always paintable.
Colour CaptionColour(Colour face, Colour themeText);

}  // namespace keyvane::app
