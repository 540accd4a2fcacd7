#pragma once

#include <windows.h>

namespace keyvane::win32 {

// The look of a panel button: a push button with a navy caption (the theme's button text where
// navy would not read), centred, line breaks and "&" mnemonics honoured. A standard push button
// cannot take a text colour, so it is drawn here.
class ButtonFace {
 public:
  ButtonFace();
  ~ButtonFace();
  ButtonFace(const ButtonFace&) = delete;
  ButtonFace& operator=(const ButtonFace&) = delete;

  void Draw(const DRAWITEMSTRUCT& item) const;
  // Whether the button is drawn held down (the keys of its KEYTOG are), until marked again.
  static void MarkHeld(HWND button, bool held);

 private:
  HFONT captionFont_;
};

}  // namespace keyvane::win32
