#include "gui/Menus.h"

#include "gui/Application.h"

namespace fw {

namespace {
// Command ids of menu items; below the range dialogs use for their own controls.
UINT NextCommand() {
  static UINT next = 100;
  return next++;
}
}  // namespace

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info{
      L"TMenuItem",
      &TComponent::StaticClass(),
      {
          TextProp(
              L"Caption", [](const TComponent& c) { return As<TMenuItem>(c).Caption(); },
              [](TComponent& c, const std::wstring& v) { As<TMenuItem>(c).SetCaption(v); }),
          EventProp(L"OnClick", [](TComponent& c) -> TEvent& { return As<TMenuItem>(c).OnClick; }),
      }};
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

void TMenuItem::Add(TMenuItem* item) {
  item->parent_ = this;
  items_.push_back(item);
}

void TMenuItem::ReadChild(TComponent* child) {
  if (child->Is(TMenuItem::StaticClass())) Add(static_cast<TMenuItem*>(child));
}

std::wstring TMenuItem::Automation(const std::wstring& request) {
  if (request == L"command") return std::to_wstring(command_);
  if (request == L"text") return caption_;
  return TComponent::Automation(request);
}

void TMenuItem::Click() {
  RunEvent(OnClick, this);
}

void TMenuItem::AppendTo(HMENU menu) {
  if (items_.empty()) {
    AppendMenuW(menu, MF_STRING, command_, caption_.c_str());
    return;
  }
  HMENU sub = CreatePopupMenu();
  for (TMenuItem* item : items_) item->AppendTo(sub);
  AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption_.c_str());
}

TMenuItem* TMenuItem::FindItem(UINT command) {
  if (command == command_) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info{L"TMainMenu", &TComponent::StaticClass(), {}};
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner) {}

TMainMenu::~TMainMenu() {
  // A menu attached to a window is destroyed with the window.
  if (handle_ && !IsMenu(handle_)) handle_ = nullptr;
}

void TMainMenu::ReadChild(TComponent* child) {
  if (child->Is(TMenuItem::StaticClass())) items_.push_back(static_cast<TMenuItem*>(child));
}

HMENU TMainMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenu();
    for (TMenuItem* item : items_) item->AppendTo(handle_);
  }
  return handle_;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info{L"TPopupMenu", &TComponent::StaticClass(), {}};
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

void TPopupMenu::ReadChild(TComponent* child) {
  if (child->Is(TMenuItem::StaticClass())) items_.push_back(static_cast<TMenuItem*>(child));
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  popupPoint_ = {x, y};
  // Made afresh each time, so items added since show up.
  HMENU menu = CreatePopupMenu();
  for (TMenuItem* item : items_) item->AppendTo(menu);
  UINT command = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (command == 0) return;
  for (TMenuItem* item : items_)
    if (TMenuItem* chosen = item->FindItem(command)) return chosen->Click();
}

TMenuItem* TMainMenu::FindItem(UINT command) const {
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

}  // namespace fw
