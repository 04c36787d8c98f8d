#include "gui/Menus.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "gui/Application.h"

namespace fw {

namespace {
// Command ids of menu items; below the range dialogs use for their own controls.
UINT NextCommand() {
  static UINT next = 100;
  return next++;
}

// Every live item by its command id, so that an owner-draw message reaching
// any window finds its item.
std::unordered_map<UINT, TMenuItem*>& LiveItems() {
  // Never freed: items of objects that die at the program's end still leave it.
  static auto* items = new std::unordered_map<UINT, TMenuItem*>();
  return *items;
}

// Gap between a caption and its shortcut, and the room a plain item keeps
// for the check mark on its left.
constexpr int kShortCutGap = 16;
constexpr int kPlainCheckRoom = 18;

struct TKeyName {
  WORD key;
  const wchar_t* name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},   {VK_TAB, L"Tab"},    {VK_ESCAPE, L"Esc"}, {VK_RETURN, L"Enter"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},  {VK_END, L"End"},
    {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},  {VK_UP, L"Up"},      {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},   {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

}  // namespace

std::wstring ShortCutToText(TShortCut shortCut) {
  const std::wstring key = KeyName(static_cast<WORD>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::wstring& text) {
  std::wstring rest = text;
  TShortCut mods = 0;
  for (auto [prefix, bit] :
       {std::pair{L"Shift+", scShift}, std::pair{L"Ctrl+", scCtrl}, std::pair{L"Alt+", scAlt}})
    if (rest.rfind(prefix, 0) == 0) {
      mods |= bit;
      rest = rest.substr(wcslen(prefix));
    }
  for (int key = 1; key < 256; ++key)
    if (!rest.empty() && KeyName(static_cast<WORD>(key)) == rest) return static_cast<TShortCut>(mods | key);
  return 0;
}

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info{
      L"TMenuItem",
      &TComponent::StaticClass(),
      {
          TextProp(
              L"Caption", [](const TComponent& c) { return As<TMenuItem>(c).Caption(); },
              [](TComponent& c, const std::wstring& v) { As<TMenuItem>(c).SetCaption(v); }),
          BoolProp(
              L"Checked", [](const TComponent& c) { return As<TMenuItem>(c).Checked(); },
              [](TComponent& c, bool v) { As<TMenuItem>(c).SetChecked(v); }),
          BoolProp(
              L"Enabled", [](const TComponent& c) { return As<TMenuItem>(c).Enabled(); },
              [](TComponent& c, bool v) { As<TMenuItem>(c).SetEnabled(v); }),
          BoolProp(
              L"Default", [](const TComponent& c) { return As<TMenuItem>(c).Default(); },
              [](TComponent& c, bool v) { As<TMenuItem>(c).SetDefault(v); }),
          IntProp(
              L"ImageIndex", [](const TComponent& c) { return As<TMenuItem>(c).ImageIndex(); },
              [](TComponent& c, int v) { As<TMenuItem>(c).SetImageIndex(v); }),
          TextProp(
              L"ShortCut", [](const TComponent& c) { return ShortCutToText(As<TMenuItem>(c).ShortCut()); },
              [](TComponent& c, const std::wstring& v) {
                TShortCut s = TextToShortCut(v);
                if (s == 0 && !v.empty()) throw std::invalid_argument("unknown shortcut");
                As<TMenuItem>(c).SetShortCut(s);
              }),
          EventProp(L"OnClick", [](TComponent& c) -> TEvent& { return As<TMenuItem>(c).OnClick; }),
      }};
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  LiveItems()[command_] = this;
}

TMenuItem::~TMenuItem() {
  LiveItems().erase(command_);
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = LiveItems().find(command);
  return it == LiveItems().end() ? nullptr : it->second;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* top = this;
  while (top->parent_) top = top->parent_;
  return top->menu_;
}

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

void TMenuItem::DefaultMeasure(HDC dc, int& width, int& height) const {
  if (IsLine()) {
    width = 0;
    height = GetSystemMetrics(SM_CYMENUSIZE) / 2;
    return;
  }
  RECT r{0, 0, 0, 0};
  const std::wstring text = caption_.empty() ? L" " : caption_;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  width = r.right - r.left;
  if (const std::wstring shortcut = ShortCutToText(shortCut_); !shortcut.empty()) {
    RECT s{0, 0, 0, 0};
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &s, DT_CALCRECT | DT_SINGLELINE);
    width += kShortCutGap + (s.right - s.left);
  }
  height = std::max<int>(r.bottom - r.top + 4, GetSystemMetrics(SM_CYMENUSIZE));
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  DefaultMeasure(dc, width, height);
  if (OnMeasureItem) OnMeasureItem(this, dc, width, height);
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, bool selected) {
  if (OnDrawItem) return OnDrawItem(this, dc, rect, selected);
  DefaultDraw(dc, rect, selected);
}

void TMenuItem::DefaultDraw(HDC dc, const RECT& rect, bool selected) const {
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, GetSysColor(!enabled_  ? COLOR_GRAYTEXT
                                                          : selected ? COLOR_HIGHLIGHTTEXT
                                                                     : COLOR_MENUTEXT));
  RECT text = rect;
  text.left += kPlainCheckRoom;
  text.right -= 4;
  if (checked_) {
    RECT mark{rect.left, rect.top, rect.left + kPlainCheckRoom, rect.bottom};
    DrawTextW(dc, L"\u221A", 1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_VCENTER | DT_SINGLELINE);
  if (const std::wstring shortcut = ShortCutToText(shortCut_); !shortcut.empty())
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &text,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void TMenuItem::AppendTo(HMENU menu) {
  const TMenu* owner = GetParentMenu();
  const bool ownerDraw = owner && owner->OwnerDraw();
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_DATA;
  info.wID = command_;
  info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (ownerDraw) info.fType |= MFT_OWNERDRAW;
  if (owner && owner->RightToLeft()) info.fType |= MFT_RIGHTORDER;
  info.fState =
      (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  std::wstring text = caption_;
  if (const std::wstring shortcut = ShortCutToText(shortCut_); !shortcut.empty()) text += L"\t" + shortcut;
  info.dwTypeData = text.data();
  handle_ = nullptr;
  if (!items_.empty()) {
    handle_ = CreatePopupMenu();
    for (TMenuItem* item : items_) item->AppendTo(handle_);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = handle_;
  }
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

TMenuItem* TMenuItem::FindItem(UINT command) {
  if (command == command_) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info{
      L"TMenu",
      &TComponent::StaticClass(),
      {
          BoolProp(
              L"OwnerDraw", [](const TComponent& c) { return As<TMenu>(c).OwnerDraw(); },
              [](TComponent& c, bool v) { As<TMenu>(c).SetOwnerDraw(v); }),
          EnumProp(
              L"BiDiMode", {L"bdLeftToRight", L"bdRightToLeft"},
              [](const TComponent& c) { return As<TMenu>(c).RightToLeft() ? 1 : 0; },
              [](TComponent& c, int v) { As<TMenu>(c).SetRightToLeft(v == 1); }),
      }};
  return info;
}

void TMenu::Add(TMenuItem* item) {
  item->menu_ = this;
  items_.push_back(item);
}

void TMenu::ReadChild(TComponent* child) {
  if (child->Is(TMenuItem::StaticClass())) Add(static_cast<TMenuItem*>(child));
}

TMenuItem* TMenu::FindItem(UINT command) const {
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info{L"TMainMenu", &TMenu::StaticClass(), {}};
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  // A menu attached to a window is destroyed with the window.
  if (handle_ && !IsMenu(handle_)) handle_ = nullptr;
}

HMENU TMainMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenu();
    for (TMenuItem* item : items_) item->AppendTo(handle_);
  }
  return handle_;
}

HMENU TMainMenu::Rebuild() {
  HMENU old = handle_;
  handle_ = nullptr;
  Handle();
  return old;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info{L"TPopupMenu", &TMenu::StaticClass(), {}};
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  popupPoint_ = {x, y};
  // Made afresh each time, so items added since show up.
  HMENU menu = CreatePopupMenu();
  for (TMenuItem* item : items_) item->AppendTo(menu);
  UINT flags = TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | (RightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  UINT command = static_cast<UINT>(TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (command == 0) return;
  if (TMenuItem* chosen = FindItem(command)) chosen->Click();
}

}  // namespace fw
