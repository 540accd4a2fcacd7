#include "win32/japanese_font.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

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

// Every Japanese face installed, in the order the system lists them, without the
// vertical-writing variants.
int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
  return 1;
}

// One enumeration of the installed Japanese faces: each further lookup costs a trip through the
// font list, which is what made start-up slow.
std::wstring InstalledFace(const wchar_t* face) {
  std::vector<std::wstring> installed;
  HDC dc = GetDC(nullptr);
  LOGFONTW anyJapanese{};
  anyJapanese.lfCharSet = SHIFTJIS_CHARSET;
  EnumFontFamiliesExW(dc, &anyJapanese, NoteFace, reinterpret_cast<LPARAM>(&installed), 0);
  ReleaseDC(nullptr, dc);
  const auto isInstalled = [&](const wchar_t* name) {
    return std::any_of(installed.begin(), installed.end(),
                       [&](const std::wstring& candidate) { return _wcsicmp(candidate.c_str(), name) == 0; });
  };
  if (isInstalled(face)) return face;
  for (const wchar_t* fallback : kFallbackFaces) {
    if (isInstalled(fallback)) return fallback;
  }
  return installed.empty() ? std::wstring() : installed.front();
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
