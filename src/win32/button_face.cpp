#include "win32/button_face.h"

#include <cwchar>
#include <string>
#include <vector>

#include "app/button_colours.h"

namespace keyvane::win32 {
namespace {

// A face under its English name and the name Japanese Windows lists it by.
struct FaceNames {
  const wchar_t* english;
  const wchar_t* japanese;
};

// The caption's faces, tried in this order: the first is the one wanted. Looked up by name, a face answers to both its
// names; the system's list gives only one, so both are kept here.
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
// which is what made start-up slow. The preferred faces in their order, then any.
std::wstring InstalledFace() {
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
  for (const FaceNames& names : kPreferredFaces) {
    if (const std::wstring* face = listed(names.english)) return *face;
    if (const std::wstring* face = listed(names.japanese)) return *face;
  }
  return installed.empty() ? std::wstring() : installed.front();
}

// The caption's Shift-JIS font at the given character height.
HFONT CreateCaptionFont(int characterHeight) {
  LOGFONTW font{};
  font.lfHeight = -characterHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  const std::wstring chosen = InstalledFace();
  wcsncpy(font.lfFaceName, chosen.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

constexpr int kCaptionHeight = 12;

// The button's window property that says it is drawn held.
constexpr wchar_t kHeldProperty[] = L"KeyvaneHeld";

// A system colour, never the panels' colour key: a face or edge in it would vanish and let
// touches through.
COLORREF VisibleColour(int index) { return app::Paintable(GetSysColor(index)); }

void FillEdge(HDC dc, int left, int top, int width, int height, COLORREF colour) {
  const RECT edge{left, top, left + width, top + height};
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
}

// A raised push-button frame, or a sunken one while pressed.
void DrawFrame(HDC dc, const RECT& r, bool pressed) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  FillEdge(dc, r.left, r.top, w, h, VisibleColour(COLOR_BTNFACE));
  const COLORREF outerLight = pressed ? VisibleColour(COLOR_3DDKSHADOW) : VisibleColour(COLOR_3DHILIGHT);
  const COLORREF outerDark = pressed ? VisibleColour(COLOR_3DHILIGHT) : VisibleColour(COLOR_3DDKSHADOW);
  const COLORREF innerLight = pressed ? VisibleColour(COLOR_3DSHADOW) : VisibleColour(COLOR_3DLIGHT);
  const COLORREF innerDark = pressed ? VisibleColour(COLOR_3DLIGHT) : VisibleColour(COLOR_3DSHADOW);
  FillEdge(dc, r.left, r.top, w, 1, outerLight);
  FillEdge(dc, r.left, r.top, 1, h, outerLight);
  FillEdge(dc, r.left, r.bottom - 1, w, 1, outerDark);
  FillEdge(dc, r.right - 1, r.top, 1, h, outerDark);
  FillEdge(dc, r.left + 1, r.top + 1, w - 2, 1, innerLight);
  FillEdge(dc, r.left + 1, r.top + 1, 1, h - 2, innerLight);
  FillEdge(dc, r.left + 1, r.bottom - 2, w - 2, 1, innerDark);
  FillEdge(dc, r.right - 2, r.top + 1, 1, h - 2, innerDark);
}

}  // namespace

ButtonFace::ButtonFace() : captionFont_(CreateCaptionFont(kCaptionHeight)) {}

void ButtonFace::MarkHeld(HWND button, bool held) {
  if (held) {
    SetPropW(button, kHeldProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
  } else {
    RemovePropW(button, kHeldProperty);
  }
}

ButtonFace::~ButtonFace() { DeleteObject(captionFont_); }

void ButtonFace::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  const RECT bounds = item.rcItem;
  // A held button stays sunken and takes the selection colours, which high contrast keeps apart too.
  const bool held = GetPropW(item.hwndItem, kHeldProperty) != nullptr;
  const bool pressed = held || (item.itemState & ODS_SELECTED) != 0;
  DrawFrame(dc, bounds, pressed);
  if (held) {
    FillEdge(dc, bounds.left + 2, bounds.top + 2, bounds.right - bounds.left - 4, bounds.bottom - bounds.top - 4,
             VisibleColour(COLOR_HIGHLIGHT));
  }

  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(item.hwndItem, caption.data(), length + 1);
  caption.resize(static_cast<size_t>(length));
  if (caption.empty()) return;

  HGDIOBJ oldFont = SelectObject(dc, captionFont_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, held ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                        : app::CaptionColour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)));
  // Measure the lines first so the block is centred vertically as well.
  RECT text = bounds;
  DrawTextW(dc, caption.c_str(), length, &text, DT_CENTER | DT_CALCRECT);
  const int textHeight = text.bottom - text.top;
  RECT place = bounds;
  place.top += (bounds.bottom - bounds.top - textHeight) / 2 + (pressed ? 1 : 0);
  place.bottom = place.top + textHeight;
  if (pressed) OffsetRect(&place, 1, 0);
  DrawTextW(dc, caption.c_str(), length, &place, DT_CENTER | DT_NOCLIP);
  SelectObject(dc, oldFont);
}

}  // namespace keyvane::win32
