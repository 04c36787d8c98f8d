#include "gui/ComboBox.h"

#include "gui/Application.h"

namespace fw {

namespace {
constexpr int kDropDownHeight = 200;
}

const TClassInfo& TCustomComboBox::StaticClass() {
  static const TClassInfo info{L"TCustomComboBox", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info{
      L"TComboBox",
      &TCustomComboBox::StaticClass(),
      {
          TextProp(
              L"Text", [](const TComponent& c) { return As<TComboBox>(c).Text(); },
              [](TComponent& c, const std::wstring& v) { As<TComboBox>(c).SetText(v); }),
          EnumProp(
              L"Style", {L"csDropDown", L"csSimple", L"csDropDownList"},
              [](const TComponent& c) { return static_cast<int>(As<TComboBox>(c).Style()); },
              [](TComponent& c, int v) { As<TComboBox>(c).SetStyle(static_cast<TComboBoxStyle>(v)); }),
          EventProp(L"OnChange", [](TComponent& c) -> TEvent& { return As<TComboBox>(c).OnChange; }),
      }};
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TComboBox::CreateParams(TCreateParams& params) {
  params.className = L"COMBOBOX";
  params.ownClass = false;
  static constexpr DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | kStyles[style_];
}

void TComboBox::CreateWnd() {
  // The window's height includes the drop-down list; the edit part keeps the font's height.
  if (style_ != csSimple)
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), Height() + kDropDownHeight, SWP_NOMOVE | SWP_NOZORDER);
  programChange_ = true;
  for (const std::wstring& item : items_)
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SetWindowTextW(Handle(), Caption().c_str());
  programChange_ = false;
}

void TComboBox::AddItem(const std::wstring& item) {
  items_.push_back(item);
  if (HandleAllocated()) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TComboBox::Clear() {
  items_.clear();
  programChange_ = true;
  if (HandleAllocated()) {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    SetWindowTextW(Handle(), L"");
  }
  TControl::SetCaption(L"");
  programChange_ = false;
}

void TComboBox::SetText(const std::wstring& text) {
  programChange_ = true;
  TWinControl::SetCaption(text);
  programChange_ = false;
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) return CNCommand(m);
  TWinControl::WndProc(m);
}

void TComboBox::CNCommand(TMessage& m) {
  if (programChange_) return;
  switch (HIWORD(m.WParam)) {
    case CBN_EDITCHANGE:
      RunEvent(OnChange, this);
      break;
    case CBN_SELCHANGE: {
      // The edit part still shows the old text when the selection changes; put the chosen item there first.
      LRESULT i = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
      if (i >= 0 && static_cast<size_t>(i) < items_.size()) {
        programChange_ = true;
        SetWindowTextW(Handle(), items_[static_cast<size_t>(i)].c_str());
        programChange_ = false;
      }
      RunEvent(OnChange, this);
      break;
    }
    default:
      break;
  }
}

std::wstring TComboBox::Automation(const std::wstring& request) {
  // The edit part holds the focus of an editable combo box.
  if (request == L"focused")
    return HandleAllocated() && IsChild(Handle(), GetFocus()) ? L"1" : TWinControl::Automation(request);
  if (request == L"items") {
    std::wstring all;
    for (const std::wstring& item : items_) all += (all.empty() ? L"" : L"\n") + item;
    return all;
  }
  return TWinControl::Automation(request);
}

}  // namespace fw
