#include "skin/controls/WinSkinBars.h"

namespace skin {

const fw::TClassInfo& TSkinSizer::StaticClass() {
  static const fw::TClassInfo info{L"TSkinSizer", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinSizer::BeforeProc(fw::TMessage& message) {
  return TSkinControl::BeforeProc(message);
}

// Runs after the window painted itself (the base AfterProc): the grip's
// dots give way to a plain face-coloured rectangle.
void TSkinSizer::DrawControl(HDC dc, const RECT& rc) {
  HBRUSH face = CreateSolidBrush(SkinColor(3));
  if (!face) return;
  FillRect(dc, &rc, face);
  DeleteObject(face);
}

}  // namespace skin
