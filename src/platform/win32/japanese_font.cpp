#include "platform/win32/japanese_font.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace keyvane::win32 {
namespace {

// A face under its English name and the name Japanese Windows lists it by.
struct FaceNames {
  const wchar_t* english;
  const wchar_t* japanese;
};

// The faces tried in this order. Looked up by name, a face answers to both its names; the system's
// list gives only one, so both are kept here.
constexpr FaceNames kPreferredFaces[] = {
    {L"MS PMincho", L"\xFF2D\xFF33 \xFF30\x660E\x671D"},              // ＭＳ Ｐ明朝
    {L"MS PGothic", L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF"},  // ＭＳ Ｐゴシック
    {L"MS UI Gothic", L"MS UI Gothic"},
    {L"Meiryo", L"\x30E1\x30A4\x30EA\x30AA"},           // メイリオ
    {L"Yu Gothic", L"\x6E38\x30B4\x30B7\x30C3\x30AF"},  // 游ゴシック
    {L"IPAPMincho", L"IPA P\x660E\x671D"},              // IPA P明朝
    {L"IPAMincho", L"IPA\x660E\x671D"},                 // IPA明朝
    {L"IPAPGothic", L"IPA P\x30B4\x30B7\x30C3\x30AF"},  // IPA Pゴシック
    {L"IPAGothic", L"IPA\x30B4\x30B7\x30C3\x30AF"},     // IPAゴシック
};

// Every Japanese face installed, in the order the system lists them, without the
// vertical-writing variants.
int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
  return 1;
}

// One walk through the system's font list: a lookup by name per candidate walks it each time,
// which is what made start-up slow. The wanted face first, then the preferred ones, then any.
std::wstring InstalledFace(const wchar_t* wanted) {
  std::vector<std::wstring> installed;
  HDC dc = GetDC(nullptr);
  LOGFONTW anyJapanese{};
  anyJapanese.lfCharSet = SHIFTJIS_CHARSET;
  EnumFontFamiliesExW(dc, &anyJapanese, NoteFace, reinterpret_cast<LPARAM>(&installed), 0);
  ReleaseDC(nullptr, dc);

  const auto listed = [&](const wchar_t* name) -> const std::wstring* {
    for (const std::wstring& face : installed) {
      if (_wcsicmp(face.c_str(), name) == 0) return &face;
    }
    return nullptr;
  };
  const auto listedUnderEither = [&](const FaceNames& names) {
    const std::wstring* face = listed(names.english);
    return face ? face : listed(names.japanese);
  };
  if (const std::wstring* face = listed(wanted)) return *face;
  for (const FaceNames& names : kPreferredFaces) {
    if (_wcsicmp(names.english, wanted) == 0 || _wcsicmp(names.japanese, wanted) == 0) {
      if (const std::wstring* face = listedUnderEither(names)) return *face;
    }
  }
  for (const FaceNames& names : kPreferredFaces) {
    if (const std::wstring* face = listedUnderEither(names)) return *face;
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
