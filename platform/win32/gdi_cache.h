#pragma once

#include <map>
#include <string>
#include <tuple>

#include "core/app/controls/control.h"
#include "platform/win32/unique_handles.h"

// The fonts and brushes the controls are drawn with, each made once, at the screen's resolution,
// and deleted with the cache.
class GdiCache {
 public:
  explicit GdiCache(int dpi) : dpi_(dpi) {}

  // The look's font; where it names none, the dialog font.
  HFONT font(const Look& look);
  // Sets the look's colours on a control's device context, the system's where it names none, and
  // gives the brush of its background. The system background is the colour index for a control of
  // its kind (an edit's differs from a label's).
  HBRUSH colours(HDC dc, const Look& look, int systemBackground);

 private:
  HBRUSH brush(COLORREF colour);

  int dpi_;
  std::map<std::tuple<std::string, double, bool>, UniqueGdiObject<HFONT>> fonts_;
  std::map<COLORREF, UniqueGdiObject<HBRUSH>> brushes_;
};
