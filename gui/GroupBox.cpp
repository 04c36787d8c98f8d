#include "gui/GroupBox.h"

#include <cstdlib>

namespace fw {

const TClassInfo& TCustomGroupBox::StaticClass() {
  static const TClassInfo info{L"TCustomGroupBox", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo info{L"TGroupBox", &TCustomGroupBox::StaticClass(), {}};
  return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {}

RECT TGroupBox::ClientArea() const {
  RECT r = TWinControl::ClientArea();
  // Docked children start below the caption line and inside the frame.
  r.left += 2, r.right -= 2, r.bottom -= 2;
  r.top += std::abs(Font().Height()) + 2;
  return r;
}

void TGroupBox::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) return WMPaint(m);
  TWinControl::WndProc(m);
}

void TGroupBox::WMPaint(TMessage&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  RECT frame;
  GetClientRect(Handle(), &frame);
  frame.top += tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!Caption().empty()) {
    RECT text{8, 0, 8, tm.tmHeight};
    DrawTextW(dc, Caption().c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    text.left -= 1, text.right += 1;
    SetBkColor(dc, ColorToRGB(Color()));
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, Font().Color());
    DrawTextW(dc, Caption().c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
  }
  SelectObject(dc, oldFont);
  PaintControls(dc);
  EndPaint(Handle(), &ps);
}

}  // namespace fw
