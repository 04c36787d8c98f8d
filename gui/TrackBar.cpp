#include "gui/TrackBar.h"

#include <commctrl.h>

namespace fw {

const TClassInfo& TTrackBar::StaticClass() {
  static const TClassInfo info{
      L"TTrackBar",
      &TWinControl::StaticClass(),
      {
          IntProp(
              L"Min", [](const TComponent& c) { return As<TTrackBar>(c).Min(); },
              [](TComponent& c, int v) { As<TTrackBar>(c).SetMin(v); }),
          IntProp(
              L"Max", [](const TComponent& c) { return As<TTrackBar>(c).Max(); },
              [](TComponent& c, int v) { As<TTrackBar>(c).SetMax(v); }),
          IntProp(
              L"Position", [](const TComponent& c) { return As<TTrackBar>(c).Position(); },
              [](TComponent& c, int v) { As<TTrackBar>(c).SetPosition(v); }),
          EnumProp(
              L"Orientation", {L"trHorizontal", L"trVertical"},
              [](const TComponent& c) { return static_cast<int>(As<TTrackBar>(c).Orientation()); },
              [](TComponent& c, int v) {
                As<TTrackBar>(c).SetOrientation(static_cast<TTrackBarOrientation>(v));
              }),
      }};
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  params.className = TRACKBAR_CLASSW;
  params.ownClass = false;
  params.style |= WS_TABSTOP | TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWnd() {
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, max_);
}

int TTrackBar::Position() const {
  return HandleAllocated() ? static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0)) : position_;
}

void TTrackBar::SetPosition(int position) {
  position_ = position;
  if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPOS, TRUE, position);
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  // The window lays itself out once, at creation: a new orientation needs a
  // window made again, so it is taken before the window exists only.
  if (!HandleAllocated()) orientation_ = orientation;
}

void TTrackBar::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY) return CNNotify(msg);
  TWinControl::WndProc(msg);
}

// Its own notifications, reflected by the parent. Unanswered custom drawing
// leaves the drawing to the control.
void TTrackBar::CNNotify(TMessage& m) {
  if (IsHeaderlessNotify(m)) return TWinControl::WndProc(m);
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  m.Result = header->code == static_cast<UINT>(NM_CUSTOMDRAW) ? CDRF_DODEFAULT : 0;
}

}  // namespace fw
