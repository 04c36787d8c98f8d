#include "gui/Button.h"

namespace fw {

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info{
      L"TButton",
      &TWinControl::StaticClass(),
      {
          BoolProp(
              L"Default", [](const TComponent& c) { return As<TButton>(c).Default(); },
              [](TComponent& c, bool v) { As<TButton>(c).SetDefault(v); }),
      }};
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
  params.className = L"BUTTON";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
