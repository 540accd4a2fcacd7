#pragma once

#include <windows.h>

namespace keyvane::win32 {

// A Shift-JIS font of the given face and character height; when the face is not installed,
// the first installed Japanese-capable face takes its place.
HFONT CreateJapaneseFont(const wchar_t* face, int characterHeight);

}  // namespace keyvane::win32
