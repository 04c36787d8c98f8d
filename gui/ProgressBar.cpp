#include "gui/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

const TClassInfo& TProgressBar::StaticClass() {
  static const TClassInfo info{
      L"TProgressBar",
      &TWinControl::StaticClass(),
      {
          IntProp(
              L"Min", [](const TComponent& c) { return As<TProgressBar>(c).Min(); },
              [](TComponent& c, int v) { As<TProgressBar>(c).SetMin(v); }),
          IntProp(
              L"Max", [](const TComponent& c) { return As<TProgressBar>(c).Max(); },
              [](TComponent& c, int v) { As<TProgressBar>(c).SetMax(v); }),
          IntProp(
              L"Position", [](const TComponent& c) { return As<TProgressBar>(c).Position(); },
              [](TComponent& c, int v) { As<TProgressBar>(c).SetPosition(v); }),
          EnumProp(
              L"Orientation", {L"pbHorizontal", L"pbVertical"},
              [](const TComponent& c) { return static_cast<int>(As<TProgressBar>(c).Orientation()); },
              [](TComponent& c, int v) {
                As<TProgressBar>(c).SetOrientation(static_cast<TProgressBarOrientation>(v));
              }),
      }};
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {}

void TProgressBar::CreateParams(TCreateParams& params) {
  params.className = PROGRESS_CLASSW;
  params.ownClass = false;
  if (orientation_ == pbVertical) params.style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (HandleAllocated()) {
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    // The bar clamps its position into the new range; so do we.
    position_ = static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
  } else if (min_ <= max_) {
    position_ = std::clamp(position_, min_, max_);
  }
}

int TProgressBar::Position() const {
  return HandleAllocated() ? static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0)) : position_;
}

void TProgressBar::SetPosition(int position) {
  position_ = position;
  if (HandleAllocated()) {
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    position_ = static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
  }
}

void TProgressBar::SetOrientation(TProgressBarOrientation orientation) {
  orientation_ = orientation;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = orientation == pbVertical ? (style | PBS_VERTICAL) : (style & ~static_cast<LONG_PTR>(PBS_VERTICAL));
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace fw
