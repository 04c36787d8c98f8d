#include "gui/Edit.h"

#include "gui/Application.h"

namespace fw {

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info{L"TCustomEdit", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info{
      L"TEdit",
      &TCustomEdit::StaticClass(),
      {
          TextProp(
              L"Text", [](const TComponent& c) { return As<TEdit>(c).Text(); },
              [](TComponent& c, const std::wstring& v) { As<TEdit>(c).SetCaption(v); }),
          BoolProp(
              L"ReadOnly", [](const TComponent& c) { return As<TEdit>(c).ReadOnly(); },
              [](TComponent& c, bool v) { As<TEdit>(c).SetReadOnly(v); }),
          EnumProp(
              L"BorderStyle", {L"bsNone", L"bsSingle"},
              [](const TComponent& c) { return static_cast<int>(As<TEdit>(c).BorderStyle()); },
              [](TComponent& c, int v) { As<TEdit>(c).SetBorderStyle(static_cast<TEditBorder>(v)); }),
          EnumProp(
              L"BevelKind", {L"bkNone", L"bkSoft"},
              [](const TComponent& c) { return static_cast<int>(As<TEdit>(c).BevelKind()); },
              [](TComponent& c, int v) { As<TEdit>(c).SetBevelKind(static_cast<TBevelKind>(v)); }),
          EventProp(L"OnChange", [](TComponent& c) -> TEvent& { return As<TEdit>(c).OnChange; }),
      }};
  return info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TEdit::SetReadOnly(bool on) {
  readOnly_ = on;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, on, 0);
}

void TEdit::CreateParams(TCreateParams& params) {
  params.className = L"EDIT";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL;
  if (readOnly_) params.style |= ES_READONLY;
  // A soft bevel is a thin non-client edge, so the client area is smaller than the window.
  params.exStyle = bevel_ == bkSoft ? WS_EX_STATICEDGE : (border_ == ebSingle ? WS_EX_CLIENTEDGE : 0);
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) return CNCommand(m);
  TWinControl::WndProc(m);
}

void TEdit::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == EN_CHANGE) Change();
}

void TEdit::Change() {
  RunEvent(OnChange, this);
}

}  // namespace fw
