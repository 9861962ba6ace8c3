#include "platform/win32/gdi_cache.h"

#include <cmath>

#include "platform/win32/wide_text.h"

namespace {

const FontChoice dialogFont{"MS Shell Dlg 2", 8, false};

COLORREF colourRef(Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

HFONT GdiCache::font(const Look& look) {
  const FontChoice& choice = look.font.value_or(dialogFont);
  UniqueGdiObject<HFONT>& font = fonts_[{choice.family, choice.points, choice.bold}];
  if (!font) {
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(choice.points * dpi_ / 72));
    description.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    // Where the face is missing (wine has no Times New Roman), a serif of its measure stands in
    // rather than any face: the alarm entry is as wide as its time in the designed face.
    description.lfPitchAndFamily =
        VARIABLE_PITCH | (choice.family == "Times New Roman" ? FF_ROMAN : FF_DONTCARE);
    const std::wstring family = widen(choice.family);
    family.copy(description.lfFaceName, LF_FACESIZE - 1);
    font.reset(CreateFontIndirectW(&description));
  }
  return font.get();
}

// A window that is no dialog would give its labels the background of an edit; they get the
// window's own.
HBRUSH GdiCache::colours(HDC dc, const Look& look, int systemBackground) {
  SetTextColor(dc, look.foreground ? colourRef(*look.foreground) : GetSysColor(COLOR_WINDOWTEXT));
  if (!look.background) {
    SetBkColor(dc, GetSysColor(systemBackground));
    return GetSysColorBrush(systemBackground);
  }
  SetBkColor(dc, colourRef(*look.background));
  return brush(colourRef(*look.background));
}

HBRUSH GdiCache::brush(COLORREF colour) {
  UniqueGdiObject<HBRUSH>& brush = brushes_[colour];
  if (!brush) brush.reset(CreateSolidBrush(colour));
  return brush.get();
}
