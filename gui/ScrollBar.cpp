#include "gui/ScrollBar.h"

#include <algorithm>
#include <string>

namespace fw {

const TClassInfo& TScrollBar::StaticClass() {
  static const TClassInfo info{
      L"TScrollBar",
      &TWinControl::StaticClass(),
      {
          EnumProp(
              L"Kind", {L"sbHorizontal", L"sbVertical"},
              [](const TComponent& c) { return static_cast<int>(As<TScrollBar>(c).Kind()); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetKind(static_cast<TScrollBarKind>(v)); }),
          IntProp(
              L"Min", [](const TComponent& c) { return As<TScrollBar>(c).Min(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetMin(v); }),
          IntProp(
              L"Max", [](const TComponent& c) { return As<TScrollBar>(c).Max(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetMax(v); }),
          IntProp(
              L"PageSize", [](const TComponent& c) { return As<TScrollBar>(c).PageSize(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetPageSize(v); }),
          IntProp(
              L"Position", [](const TComponent& c) { return As<TScrollBar>(c).Position(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetPosition(v); }),
          IntProp(
              L"SmallChange", [](const TComponent& c) { return As<TScrollBar>(c).SmallChange(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetSmallChange(v); }),
          IntProp(
              L"LargeChange", [](const TComponent& c) { return As<TScrollBar>(c).LargeChange(); },
              [](TComponent& c, int v) { As<TScrollBar>(c).SetLargeChange(v); }),
          EventProp(L"OnScroll", [](TComponent& c) -> TEvent& { return As<TScrollBar>(c).OnScroll; }),
          EventProp(L"OnChange", [](TComponent& c) -> TEvent& { return As<TScrollBar>(c).OnChange; }),
      }};
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  params.className = L"SCROLLBAR";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | (kind_ == sbVertical ? SBS_VERT : SBS_HORZ);
}

void TScrollBar::CreateWnd() {
  ApplyScrollInfo();
}

void TScrollBar::ApplyScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = static_cast<UINT>(std::max(pageSize_, 0));
  si.nPos = position_;
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(SBS_VERT);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style | (kind == sbVertical ? SBS_VERT : SBS_HORZ));
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TScrollBar::LastPosition() const {
  return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_;
}

void TScrollBar::SetMin(int v) {
  min_ = v;
  max_ = std::max(max_, min_);
  SetPosition(position_);
  ApplyScrollInfo();
}

void TScrollBar::SetMax(int v) {
  max_ = v;
  min_ = std::min(min_, max_);
  SetPosition(position_);
  ApplyScrollInfo();
}

void TScrollBar::SetPageSize(int v) {
  pageSize_ = std::clamp(v, 0, max_ - min_ + 1);
  SetPosition(position_);
  ApplyScrollInfo();
}

void TScrollBar::SetPosition(int v) {
  int clamped = std::clamp(v, min_, LastPosition());
  if (clamped == position_) return;
  position_ = clamped;
  ApplyScrollInfo();
  if (OnChange) OnChange.handler(this);
}

void TScrollBar::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      return CNScroll(msg);
    default:
      return TWinControl::WndProc(msg);
  }
}

void TScrollBar::CNScroll(TMessage& m) {
  lastCode_ = LOWORD(m.WParam);
  int next = position_;
  switch (lastCode_) {
    case SB_LINEUP:
      next -= smallChange_;
      break;
    case SB_LINEDOWN:
      next += smallChange_;
      break;
    case SB_PAGEUP:
      next -= std::max(largeChange_, pageSize_);
      break;
    case SB_PAGEDOWN:
      next += std::max(largeChange_, pageSize_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the message carries only 16 bits.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      next = GetScrollInfo(Handle(), SB_CTL, &si) ? si.nTrackPos : HIWORD(m.WParam);
      break;
    }
    case SB_TOP:
      next = min_;
      break;
    case SB_BOTTOM:
      next = LastPosition();
      break;
    default:
      break;
  }
  if (OnScroll) OnScroll.handler(this);
  SetPosition(next);
  m.Result = 0;
}

std::wstring TScrollBar::Automation(const std::wstring& request) {
  if (request == L"position") return std::to_wstring(position_);
  return TWinControl::Automation(request);
}

}  // namespace fw
