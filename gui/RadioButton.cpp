#include "gui/RadioButton.h"

namespace fw {

const TClassInfo& TRadioButton::StaticClass() {
  static const TClassInfo info{
      L"TRadioButton",
      &TButtonControl::StaticClass(),
      {
          BoolProp(
              L"Checked", [](const TComponent& c) { return As<TRadioButton>(c).Checked(); },
              [](TComponent& c, bool v) { As<TRadioButton>(c).SetChecked(v); }),
      }};
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {}

void TRadioButton::SetChecked(bool on) {
  if (!SetCheckState(on ? BST_CHECKED : BST_UNCHECKED) || !on) return;
  TurnSiblingsOff();
  if (!Loading()) Click();
}

void TRadioButton::TurnSiblingsOff() {
  if (!Parent()) return;
  for (TControl* c : Parent()->Controls())
    if (c != this && c->Is(TRadioButton::StaticClass())) static_cast<TRadioButton*>(c)->SetChecked(false);
}

DWORD TRadioButton::ButtonStyle() const {
  return BS_AUTORADIOBUTTON;
}

void TRadioButton::Clicked(int stateBefore) {
  if (!Checked() || stateBefore == BST_CHECKED) return;
  TurnSiblingsOff();
  Click();
}

}  // namespace fw
