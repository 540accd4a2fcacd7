#include "platform/win32/japanese_font.h"

#include <cwchar>
#include <string>

namespace keyvane::win32 {
namespace {

// Tried in this order when the wanted face is missing.
constexpr const wchar_t* kFallbackFaces[] = {
    L"\xFF2D\xFF33 \xFF30\x660E\x671D",              // ＭＳ Ｐ明朝
    L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",  // ＭＳ Ｐゴシック
    L"MS PMincho",
    L"MS PGothic",
    L"MS UI Gothic",
    L"Meiryo",
    L"Yu Gothic",
    L"IPAPMincho",
    L"IPAMincho",
    L"IPAPGothic",
    L"IPAGothic",
};

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

int CALLBACK NoteFirstFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM face) {
  if (font->lfFaceName[0] == L'@') return 1;  // vertical-writing variant
  *reinterpret_cast<std::wstring*>(face) = font->lfFaceName;
  return 0;
}

bool IsInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring InstalledFace(const wchar_t* face) {
  HDC dc = GetDC(nullptr);
  std::wstring chosen;
  if (IsInstalled(dc, face)) {
    chosen = face;
  } else {
    for (const wchar_t* fallback : kFallbackFaces) {
      if (IsInstalled(dc, fallback)) {
        chosen = fallback;
        break;
      }
    }
  }
  if (chosen.empty()) {
    LOGFONTW anyJapanese{};
    anyJapanese.lfCharSet = SHIFTJIS_CHARSET;
    EnumFontFamiliesExW(dc, &anyJapanese, NoteFirstFace, reinterpret_cast<LPARAM>(&chosen), 0);
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

}  // namespace

HFONT CreateJapaneseFont(const wchar_t* face, int characterHeight) {
  LOGFONTW font{};
  font.lfHeight = -characterHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  const std::wstring chosen = InstalledFace(face);
  wcsncpy(font.lfFaceName, chosen.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace keyvane::win32
