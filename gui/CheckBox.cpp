#include "gui/CheckBox.h"

namespace fw {

const TClassInfo& TCustomCheckBox::StaticClass() {
  static const TClassInfo info{L"TCustomCheckBox", &TButtonControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo info{
      L"TCheckBox",
      &TCustomCheckBox::StaticClass(),
      {
          BoolProp(
              L"Checked", [](const TComponent& c) { return As<TCheckBox>(c).Checked(); },
              [](TComponent& c, bool v) { As<TCheckBox>(c).SetChecked(v); }),
          EnumProp(
              L"State", {L"cbUnchecked", L"cbChecked", L"cbGrayed"},
              [](const TComponent& c) { return static_cast<int>(As<TCheckBox>(c).State()); },
              [](TComponent& c, int v) { As<TCheckBox>(c).SetState(static_cast<TCheckBoxState>(v)); }),
          BoolProp(
              L"AllowGrayed", [](const TComponent& c) { return As<TCheckBox>(c).AllowGrayed(); },
              [](TComponent& c, bool v) { As<TCheckBox>(c).SetAllowGrayed(v); }),
      }};
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {}

TCheckBoxState TCheckBox::State() const {
  switch (CheckState()) {
    case BST_CHECKED:
      return cbChecked;
    case BST_INDETERMINATE:
      return cbGrayed;
    default:
      return cbUnchecked;
  }
}

void TCheckBox::SetState(TCheckBoxState state) {
  static const int marks[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  if (SetCheckState(marks[state]) && !Loading()) Click();
}

void TCheckBox::SetAllowGrayed(bool on) {
  allowGrayed_ = on;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETSTYLE, ButtonStyle(), TRUE);
}

DWORD TCheckBox::ButtonStyle() const {
  return allowGrayed_ ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
}

void TCheckBox::Clicked(int) {
  Click();
}

}  // namespace fw
