#include "gui/UpDown.h"

#include <commctrl.h>

namespace fw {

const TClassInfo& TUpDown::StaticClass() {
  static const TClassInfo info{
      L"TUpDown",
      &TWinControl::StaticClass(),
      {
          IntProp(
              L"Min", [](const TComponent& c) { return As<TUpDown>(c).Min(); },
              [](TComponent& c, int v) { As<TUpDown>(c).SetMin(v); }),
          IntProp(
              L"Max", [](const TComponent& c) { return As<TUpDown>(c).Max(); },
              [](TComponent& c, int v) { As<TUpDown>(c).SetMax(v); }),
          IntProp(
              L"Position", [](const TComponent& c) { return As<TUpDown>(c).Position(); },
              [](TComponent& c, int v) { As<TUpDown>(c).SetPosition(v); }),
          EnumProp(
              L"Orientation", {L"udVertical", L"udHorizontal"},
              [](const TComponent& c) { return static_cast<int>(As<TUpDown>(c).Orientation()); },
              [](TComponent& c, int v) { As<TUpDown>(c).SetOrientation(static_cast<TUDOrientation>(v)); }),
          ObjProp<TWinControl>(
              L"Associate", [](const TComponent& c) { return As<TUpDown>(c).Associate(); },
              [](TComponent& c, const std::wstring& name) {
                TComponent* owner = c.Owner();
                TComponent* found = owner ? owner->FindComponent(name) : nullptr;
                As<TUpDown>(c).SetAssociate(dynamic_cast<TWinControl*>(found));
              }),
      }};
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 16, 24);
}

void TUpDown::SetAssociate(TWinControl* buddy) {
  associate_ = buddy;
  ApplyBuddy();
}

void TUpDown::SetMin(int value) {
  min_ = value;
  ApplyRange();
}

void TUpDown::SetMax(int value) {
  max_ = value;
  ApplyRange();
}

int TUpDown::Position() const {
  if (!HandleAllocated()) return position_;
  return static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(int value) {
  position_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), UDM_SETPOS32, 0, value);
}

void TUpDown::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.exStyle = 0;  // holds no controls of its own
  params.className = UPDOWN_CLASSW;
  params.ownClass = false;
  params.style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  if (orientation_ == udHorizontal) params.style |= UDS_HORZ;
}

void TUpDown::CreateWnd() {
  ApplyRange();
  ApplyBuddy();
  // After the buddy, so its text shows the position from the start.
  SetPosition(position_);
}

void TUpDown::ApplyRange() {
  if (HandleAllocated()) SendMessageW(Handle(), UDM_SETRANGE32, min_, max_);
}

void TUpDown::ApplyBuddy() {
  if (!HandleAllocated() || !associate_) return;
  associate_->HandleNeeded();
  SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
  SendMessageW(Handle(), UDM_SETPOS32, 0, Position());
}

}  // namespace fw
