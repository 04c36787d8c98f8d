// The form skinner's window-state commands and its system popup menu.
//
// The popup is a native popup menu mirroring the window's system menu item by
// item (the skin draws its items later); it is built when asked for, tracked
// with the window as owner, and destroyed as soon as it closes, so no menu
// outlives its use. The chosen command is posted as WM_SYSCOMMAND, which the
// window procedure handles like one from the system's own menu.
#include <windows.h>

#include <string>
#include <vector>

#include "skin/form/FrameMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinFormMessages.h"
#include "skin/form/WinSkinMenuBar.h"
#include "skin/model/WinSkinManage.h"

namespace skin {

namespace {

// Windows NT before version 5 has no system menu worth mirroring; 9x has no
// reliable menu-item information.
bool OldPlatform() {
  const DWORD version = GetVersion();
  const bool nt = (version & 0x80000000u) == 0;
  const DWORD major = LOBYTE(LOWORD(version));
  return !nt || major < 5;
}

std::wstring MenuItemText(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info) || info.cch == 0) return {};
  std::vector<wchar_t> text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return {};
  return std::wstring(text.data(), info.cch);
}

}  // namespace

HMENU MirrorSystemMenu(HMENU system, const TSysMenuWindow& window) {
  const int count = system ? GetMenuItemCount(system) : -1;
  if (count < 0) return nullptr;
  HMENU popup = CreatePopupMenu();
  if (!popup) return nullptr;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
    if (!GetMenuItemInfoW(system, static_cast<UINT>(i), TRUE, &info)) continue;
    const std::wstring text = SysMenuItemText(MenuItemText(system, static_cast<UINT>(i)));
    if ((info.fType & MFT_SEPARATOR) || text == L"-") {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const TSysMenuItemLook look = SysMenuItemLook(info.wID, window, info.fState);
    const UINT flags = MF_STRING | (look.enabled ? MF_ENABLED : MF_GRAYED) | (look.checked ? MF_CHECKED : 0);
    AppendMenuW(popup, flags, info.wID, text.c_str());
    if (info.fState & MFS_DEFAULT) SetMenuDefaultItem(popup, info.wID, FALSE);
  }
  return popup;
}

// ---------------------------------------------------------------- window-state commands

void TWinSkinForm::Minimize() {
  if (Windowstate == swsMin) return Restore();
  Windowstate = swsMin;
  // A minimised window offers the system menu again.
  SetSysMenuStyle(true);
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Maximize() {
  if (Windowstate == swsMax) return Restore();
  if (FormStyle == sfsMDIChild)
    if (TSkinManage* manager = FormManager()) manager->SetMDIMax(true);
  Windowstate = swsMax;
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ActiveBtn = nullptr;
}

void TWinSkinForm::Restore() {
  Windowstate = swsNormal;
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::SendToActiveMDIChild(UINT command) {
  if (FormStyle != sfsMDIform || !ClientHwnd) return;
  HWND child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0));
  if (child) SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::SetSysMenuStyle(bool add) {
  // A window that shows its caption on the taskbar keeps the style the
  // taskbar's window menu needs.
  if (HasIcon(FormIcons, sbicaption) || !hwnd) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  LONG_PTR wanted = style;
  if (!add)
    wanted &= ~static_cast<LONG_PTR>(WS_SYSMENU);
  else if (hsysmenu)
    wanted |= WS_SYSMENU;
  dwstyle = static_cast<DWORD>(wanted);
  // Every skinned frame paint asks for this: write only a change.
  if (wanted != style) SetWindowLongPtrW(hwnd, GWL_STYLE, wanted);
}

bool TWinSkinForm::CanClose() const {
  if (OldPlatform()) return true;
  HMENU system = hsysmenu ? hsysmenu : GetSystemMenu(hwnd, FALSE);
  if (!system) return false;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(system, SC_CLOSE, FALSE, &info)) return false;
  // A program forbids closing by graying Close in the system menu.
  return (info.fState & MFS_GRAYED) == 0;
}

// ---------------------------------------------------------------- the system popup

void TWinSkinForm::PopupSysMenu(POINT screen) {
  TSkinManage* manager = FormManager();
  if (manager && manager->Mode() != 0) return;
  const DWORD now = GetTickCount();
  if (poptime != 0 && WithinDoubleClick(now, poptime, static_cast<uint32_t>(DoubleTime))) {
    // The window-icon button clicked twice closes the window.
    if (ActiveBtn) {
      StopTimer();
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return;
  }
  if (manager) manager->menutype = 2;
  poptime = now;
  TFormMessages::BuildSysMenu(*this);
  if (!sysmenu) return;
  CancelHint();
  const bool wasInMenu = fInMenu;
  fInMenu = true;
  // The popup closes properly on a click elsewhere only when its owner is the foreground window.
  SetForegroundWindow(hwnd);
  const UINT align = bidileft ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  // Native items of the open menu are measured by their text in it.
  HMENU wasActive = activemenu;
  activemenu = sysmenu;
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      sysmenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_TOPALIGN | align, screen.x, screen.y, 0, hwnd, nullptr));
  activemenu = wasActive;
  fInMenu = wasInMenu;
  DestroyMenu(sysmenu);
  sysmenu = nullptr;
  if (command && IsWindow(hwnd)) TFormMessages::RunSysMenuCommand(*this, command);
}

void TFormMessages::BuildSysMenu(TWinSkinForm& sf) {
  if (sf.sysmenu) {
    DestroyMenu(sf.sysmenu);
    sf.sysmenu = nullptr;
  }
  HMENU system = nullptr;
  if (!OldPlatform()) system = sf.hsysmenu ? sf.hsysmenu : GetSystemMenu(sf.hwnd, FALSE);
  if (!system) return BuildDefaultSysMenu(sf);
  const TSysMenuWindow window{sf.Windowstate, HasIcon(sf.FormIcons, sbiMin), HasIcon(sf.FormIcons, sbiMax),
                              sf.fSizeable};
  sf.sysmenu = MirrorSystemMenu(system, window);
  // Its items are drawn from the skin like every menu of the window; their
  // ids are system commands, which the item painter reads from the menu itself.
  if (sf.sysmenu) MakeMenuOwnerDrawn(sf.sysmenu);
}

void TFormMessages::BuildDefaultSysMenu(TWinSkinForm& sf) {
  if (sf.sysmenu) DestroyMenu(sf.sysmenu);
  sf.sysmenu = CreatePopupMenu();
  sf.AddSysMenuitem(L" Restore ", 0);
  if (HasIcon(sf.FormIcons, sbiMax)) sf.AddSysMenuitem(L" Maximize ", 1);
  if (HasIcon(sf.FormIcons, sbiMin)) sf.AddSysMenuitem(L" Minimize ", 2);
  sf.AddSysMenuitem(L"-", 100);
  sf.AddSysMenuitem(L" Close ", 3);
}

void TWinSkinForm::AddSysMenuitem(const std::wstring& acaption, int action) {
  if (!sysmenu) return;
  if (acaption == L"-") {
    AppendMenuW(sysmenu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  const std::wstring text = action == 3 ? acaption + L"\tALT+F4" : acaption;
  AppendMenuW(sysmenu, MF_STRING, kSysMenuActionBase + static_cast<UINT>(action), text.c_str());
}

void TFormMessages::RunSysMenuCommand(TWinSkinForm& sf, UINT command) {
  switch (command) {
    case kSysMenuActionBase + 0:
      return sf.Restore();
    case kSysMenuActionBase + 1:
      return sf.Maximize();
    case kSysMenuActionBase + 2:
      return sf.Minimize();
    case kSysMenuActionBase + 3:
      sf.StopTimer();
      PostMessageW(sf.hwnd, WM_CLOSE, 0, 0);
      return;
    default:
      // An item mirrored from the system menu: its identifier is the system command.
      PostMessageW(sf.hwnd, WM_SYSCOMMAND, command, 0);
  }
}

}  // namespace skin
