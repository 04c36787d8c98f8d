// The form skinner's replacement window procedure and what hangs off it:
// the three message layers, the framework form's message hook, the MDI
// client's procedure, and the hover and hint timer. Every decision that does
// not need the window system is made in FrameMessages.h.
#include <windows.h>
#include <windowsx.h>

#include "gui/Application.h"
#include "gui/Form.h"
#include "skin/form/FrameMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinFormMessages.h"
#include "skin/form/WinSkinMenuBar.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinManage.h"

namespace skin {

namespace {

// The application's hint timing (ms): a caption-button hint shows once the
// mouse has rested twice the pause on the button, and goes after the hide pause.
constexpr int kHintPause = 500;
constexpr int kHintHidePause = 2500;
// The form skinner's timer runs at this interval.
constexpr int kHoverInterval = 250;
// Hints appear this far below the cursor.
constexpr int kHintBelowCursor = 24;

// RedrawWindow of an MDI frame after a child was maximised: everything, frame included, now.
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

bool PointIn(const TRect& r, POINT p) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

}  // namespace

TSkinManage* FormManager() {
  return dynamic_cast<TSkinManage*>(SkinManager());
}

bool IsCaptionButton(const TWinSkinForm& sf, const TNCObject* object) {
  for (const auto& b : sf.SysBtn)
    if (b.get() == object) return true;
  return false;
}

bool IsMenuBarButton(const TWinSkinForm& sf, const TNCObject* object) {
  if (!sf.menu) return false;
  for (const auto& b : sf.menu->Buttons)
    if (b.get() == object) return true;
  return false;
}

// ---------------------------------------------------------------- entry points

LRESULT TWinSkinForm::SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return TFormMessages(*this, msg, wParam, lParam).Dispatch();
}

LRESULT TWinSkinForm::MDIClientProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return TFormMessages(*this, msg, wParam, lParam).DispatchMdiClient();
}

LRESULT TWinSkinForm::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (FPrevWndProc) return CallWindowProcW(FPrevWndProc, hwnd, msg, wParam, lParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT TFormMessages::Default() {
  return sf_.CallDefault(msg_, wParam_, lParam_);
}

POINT TFormMessages::ScreenPoint() const {
  return POINT{GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_)};
}

TNCObject* TFormMessages::ObjectAt(POINT p) const {
  if (TWinSysButton* button = sf_.FindSysBtn(p)) return button;
  return sf_.menu ? sf_.menu->FindBtn(p) : nullptr;
}

LRESULT TFormMessages::Dispatch() {
  // Nothing of the frame is drawn before activation has given it the skin's size.
  if (sf_.Skinstate == ssAttached && msg_ == WM_NCPAINT) return 0;
  LRESULT result = 0;
  if (Always(result)) return result;
  if (!sf_.sMainMenu) return Default();
  if (Framed(result)) return result;
  if (!PaintedLayerRuns()) return Default();
  return Painted();
}

bool TFormMessages::PaintedLayerRuns() const {
  return sf_.Skinstate != ssAttached && !(sf_.FormStyle == sfsMDIChild && sf_.Windowstate == swsMax);
}

// ---------------------------------------------------------------- layer 1: every adopted window

bool TFormMessages::Always(LRESULT& result) {
  switch (msg_) {
    case WM_ERASEBKGND:
      result = OnEraseBkgnd();
      return true;
    case WM_NCDESTROY:
      result = OnNcDestroy();
      return true;
    case WM_NCACTIVATE:
      // Before activation the frame is not drawn at all. The answer lets the
      // activation change go ahead: answering 0 to a deactivation would keep
      // the window active.
      if (sf_.Skinstate == ssAttached && sf_.FormStyle != sfsMDIChild) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_NCUAHDRAWCAPTION:
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      result = OnInitMenuPopup();
      return true;
    case WM_CTLCOLORBTN:
      result = OnCtlColorBtn();
      return true;
    case WM_CTLCOLORSTATIC:
      result = OnCtlColorStatic();
      return true;
    case WM_SKINACTIVATE:
      sf_.Activate();
      result = 0;
      return true;
    case WM_ISSKINNED:
      result = OnIsSkinned();
      return true;
    case WM_SKINRESCROLL:
      sf_.RebuildScrollSkin(reinterpret_cast<HWND>(wParam_));
      result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT TFormMessages::OnEraseBkgnd() {
  LRESULT result = Default();
  // A framework form paints its own background; a bare dialog gets the skin's.
  if (sf_.FForm || !sf_.fsd || !sf_.fsd->BGBrush) return result;
  RECT client;
  GetClientRect(sf_.hwnd, &client);
  FillRect(reinterpret_cast<HDC>(wParam_), &client, sf_.fsd->BGBrush);
  return 1;
}

LRESULT TFormMessages::OnNcDestroy() {
  sf_.Skinstate = ssDestroying;
  sf_.UnSubclass3();
  LRESULT result = Default();
  sf_.Skinstate = ssDestroyed;
  return result;
}

LRESULT TFormMessages::OnInitMenuPopup() {
  if (TSkinManage* manager = FormManager()) {
    HMENU popup = reinterpret_cast<HMENU>(wParam_);
    manager->menutype = popup && (popup == sf_.hsysmenu || popup == sf_.sysmenu) ? 2 : 1;
  }
  return Default();
}

LRESULT TFormMessages::OnCtlColorBtn() {
  LRESULT result = Default();
  if (!sf_.FForm) SetBkMode(reinterpret_cast<HDC>(wParam_), TRANSPARENT);
  return result;
}

LRESULT TFormMessages::OnCtlColorStatic() {
  LRESULT result = Default();
  if (sf_.FForm || !sf_.fsd || !sf_.fsd->BGBrush) return result;
  // A bare dialog's texts stand on the skin's background.
  SetBkMode(reinterpret_cast<HDC>(wParam_), TRANSPARENT);
  return reinterpret_cast<LRESULT>(sf_.fsd->BGBrush);
}

LRESULT TFormMessages::OnIsSkinned() {
  PostMessageW(sf_.hwnd, WM_SKINDONE, 0, SKIN_MAGIC);
  return 1;
}

// ---------------------------------------------------------------- layer 2: the skinned frame

bool TFormMessages::Framed(LRESULT& result) {
  // A child window has no frame of ours (an MDI child has).
  if (sf_.ischildform && sf_.FormStyle != sfsMDIChild) {
    result = Default();
    return true;
  }
  switch (msg_) {
    case WM_SIZE:
      // Runs once: here when the painted layer will not see it.
      if (PaintedLayerRuns()) return false;
      result = OnSize();
      return true;
    case WM_ACTIVATE:
      sf_.FWindowActive = LOWORD(wParam_) != WA_INACTIVE;
      return false;
    case WM_NCACTIVATE:
      sf_.FWindowActive = wParam_ != 0;
      return false;
    case WM_GETMINMAXINFO:
      result = OnGetMinMaxInfo();
      return true;
    case WM_WINDOWPOSCHANGED:
      result = OnWindowPosChanged();
      return true;
    case WM_SETICON:
      result = OnSetIcon();
      return true;
    case WM_COMMAND:
      result = OnCommand();
      return true;
    case WM_SYSCOMMAND:
      result = OnSysCommand();
      return true;
    case WM_SKINMENUCLICK:
      result = OnSkinMenuClick();
      return true;
    case CM_MENUCHANGED:
      result = OnMenuChanged();
      return true;
    default:
      return false;
  }
}

LRESULT TFormMessages::OnGetMinMaxInfo() {
  LRESULT result = Default();
  sf_.ReadWindowState();
  return result;
}

LRESULT TFormMessages::OnWindowPosChanged() {
  sf_.ReadWindowState();
  return Default();
}

LRESULT TFormMessages::OnSetIcon() {
  LRESULT result = Default();
  sf_.BuildIconBitmap();
  // The caption shows the icon: a new one is drawn at once.
  if (sf_.Skinstate == ssActive && IsWindowVisible(sf_.hwnd)) sf_.PaintFrame(nullptr);
  return result;
}

LRESULT TFormMessages::OnCommand() {
  // Window commands chosen from a system popup whose items are drawn by the
  // skin arrive as menu commands (no control window in lParam).
  const UINT id = LOWORD(wParam_);
  if (lParam_ == 0 && IsForwardedSysCommand(id)) {
    PostMessageW(sf_.hwnd, WM_SYSCOMMAND, id, 0);
    return 0;
  }
  return Default();
}

LRESULT TFormMessages::OnSysCommand() {
  const uint32_t code = SysCommandCode(wParam_);
  if (code == kScKeyMenu && !sf_.fInMenu) {
    const wchar_t key = static_cast<wchar_t>(LOWORD(lParam_));
    switch (KeyMenuRequest(key, GetCapture() != nullptr)) {
      case TKeyMenuRequest::MenuBarFirst:
        // Taken even without a bar: the system's own menu mode has nothing to show on a skinned frame.
        if (sf_.menu)
          if (TMenuBtn* first = sf_.menu->FirstButton()) sf_.CheckMenu(first);
        return 1;
      case TKeyMenuRequest::MenuBarKey:
        if (TMenuBtn* button = sf_.FindAccelButton(key)) {
          sf_.CheckMenu(button);
          return 1;
        }
        break;
      case TKeyMenuRequest::SystemMenu: {
        POINT origin{0, 0};
        ClientToScreen(sf_.hwnd, &origin);
        sf_.PopupSysMenu(origin);
        // Not passed on: the popup has run, and the system would start its own menu mode.
        return 0;
      }
      case TKeyMenuRequest::Default:
        break;
    }
  }
  const int state = WindowStateAfterSysCommand(code);
  if (state >= 0) sf_.Windowstate = static_cast<TSkinWindowState>(state);
  if (code == kScRestore && sf_.FormStyle == sfsMDIChild)
    if (TSkinManage* manager = FormManager(); manager && manager->MDIMax) manager->SetMDIMax(false);
  return Default();
}

LRESULT TFormMessages::OnSkinMenuClick() {
  POINT p = WindowPoint();
  if (!sf_.FindSysBtn(p) && sf_.menu)
    if (TNCObject* button = sf_.menu->FindBtn(p)) sf_.CheckMenu(static_cast<TMenuBtn*>(button));
  return 0;
}

LRESULT TFormMessages::OnMenuChanged() {
  // No frame painting while the framework rebuilds its menu.
  const bool paintMenus = sf_.fsd && sf_.fsd->MenuMsg;
  if (sf_.fsd) sf_.fsd->MenuMsg = false;
  LRESULT result = Default();
  if (sf_.fsd) sf_.fsd->MenuMsg = paintMenus;
  HMENU rebuilt = GetMenu(sf_.hwnd);
  // The skinned bar stands in for the new menu as it did for the old one; the
  // window's menu is kept to be put back when skinning ends. Without a bar the
  // native menu stays: taking it away would leave the window without one.
  if (rebuilt && sf_.menu) {
    sf_.hmenu = rebuilt;
    sf_.menu->hmenu = rebuilt;
    if (sf_.fsd && sf_.fsd->MenuUpdate()) sf_.menu->UpdataBtn();
    if (GetMenu(sf_.hwnd)) SetMenu(sf_.hwnd, nullptr);
  }
  return result;
}

// ---------------------------------------------------------------- layer 3: the activated frame

LRESULT TFormMessages::Painted() {
  switch (msg_) {
    case WM_SIZE:
      return OnSize();
    case WM_NCCALCSIZE:
      return OnNcCalcSize();
    case WM_NCHITTEST:
      return OnNcHitTest();
    case WM_NCPAINT:
      return OnNcPaint();
    case WM_NCACTIVATE:
      return OnNcActivate();
    case WM_NCMOUSEMOVE:
      return OnNcMouseMove();
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown();
    case WM_NCLBUTTONUP:
      return OnNcLButtonUp();
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDblClk();
    case WM_NCRBUTTONDOWN:
      return OnNcRButtonDown();
    case WM_NCRBUTTONUP:
      return OnNcRButtonUp();
    case WM_SKINPAINTFRAME:
      sf_.PaintFrame(nullptr);
      return 0;
    case WM_MEASUREITEM:
      return OnMeasureItem();
    case WM_DRAWITEM:
      return OnDrawItem();
    default:
      return Default();
  }
}

LRESULT TFormMessages::OnSize() {
  LRESULT result = Default();
  const int state = WindowStateFromSizeKind(wParam_);
  if (state >= 0) sf_.Windowstate = static_cast<TSkinWindowState>(state);
  TSkinManage* manager = FormManager();
  const bool ownShape =
      sf_.FormStyle != sfsMDIChild || (!(manager && manager->MDIMax) && sf_.Windowstate == swsNormal);
  if (sf_.Windowstate != swsMin && ownShape && (sf_.Skinstate == ssActive || sf_.Skinstate == ssChanging))
    sf_.Cropwindow();
  return result;
}

LRESULT TFormMessages::OnMeasureItem() {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam_);
  if (mis && sf_.MeasureItemMessage(*mis)) return TRUE;
  return Default();
}

LRESULT TFormMessages::OnDrawItem() {
  const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam_);
  if (dis && sf_.DrawItemMessage(*dis)) return TRUE;
  return Default();
}

LRESULT TFormMessages::OnNcCalcSize() {
  const bool systemFrame =
      (sf_.FormStyle == sfsMDIChild && sf_.Windowstate != swsNormal) || sf_.FormBorder == sbsNone;
  if (!wParam_) {
    // Only the window rectangle is given: it becomes the client rectangle.
    auto* rect = reinterpret_cast<RECT*>(lParam_);
    const RECT window = *rect;
    LRESULT result = Default();
    if (!systemFrame)
      *rect = ToRECT(SkinnedClientRect(window.left, window.top, window.right - window.left,
                                       window.bottom - window.top, sf_.bw, sf_.MenuHeight));
    return result;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam_);
  // The proposed window rectangle, taken before the system replaces it; its
  // WINDOWPOS may leave position or size unset (SWP_NOMOVE, SWP_NOSIZE).
  const RECT proposed = params->rgrc[0];
  Default();
  if (!systemFrame) {
    params->rgrc[0] = ToRECT(SkinnedClientRect(proposed.left, proposed.top, proposed.right - proposed.left,
                                               proposed.bottom - proposed.top, sf_.bw, sf_.MenuHeight));
    sf_.done = true;
  }
  params->rgrc[1] = params->rgrc[0];
  return WVR_VALIDRECTS;
}

LRESULT TFormMessages::OnNcHitTest() {
  LRESULT answer = Default();
  if (sf_.FormBorder == sbsNone || IsIconic(sf_.hwnd)) return answer;
  RECT window;
  GetWindowRect(sf_.hwnd, &window);
  const TFrameGeometry frame{sf_.bw, sf_.MenuHeight, window.right - window.left, window.bottom - window.top};
  const POINT p = ScreenPoint();
  return SkinnedHitTest(static_cast<int>(answer), p.x - window.left, p.y - window.top, frame);
}

LRESULT TFormMessages::OnNcPaint() {
  sf_.SetSysMenuStyle(false);
  if (!sf_.fsd || !sf_.fsd->MenuMsg) return 0;
  if (sf_.FormBorder == sbsNone) return Default();
  sf_.PaintFrame(nullptr);
  return 0;
}

LRESULT TFormMessages::OnNcActivate() {
  sf_.FWindowActive = wParam_ != 0;
  if (sf_.FWindowActive) {
    sf_.StartTimer();
  } else {
    sf_.StopTimer();
    // With the timer stopped nothing would turn a hot button back: an
    // inactive frame shows none.
    if (sf_.ActiveBtn && (IsCaptionButton(sf_, sf_.ActiveBtn) || IsMenuBarButton(sf_, sf_.ActiveBtn)))
      sf_.ActiveBtn->MouseLeave();
    sf_.ActiveBtn = nullptr;
    sf_.CancelHint();
  }
  if (sf_.FormStyle == sfsMDIform && sf_.ClientHwnd) SendMessageW(sf_.ClientHwnd, WM_NCACTIVATE, wParam_, 0);
  if (sf_.FormStyle == sfsMDIChild) Default();
  sf_.PaintFrame(nullptr);
  return TRUE;
}

LRESULT TFormMessages::OnNcMouseMove() {
  if (!sf_.FWindowActive) return Default();
  if (TNCObject* object = ObjectAt(WindowPoint())) {
    object->MouseEnter();
    return 0;
  }
  if (TNCObject* left = sf_.ActiveBtn) {
    sf_.ActiveBtn = nullptr;
    left->MouseLeave();
  }
  return Default();
}

LRESULT TFormMessages::OnNcLButtonDown() {
  sf_.CancelHint();
  const POINT p = WindowPoint();
  if (TNCObject* object = ObjectAt(p)) {
    if (!sf_.FWindowActive) SetForegroundWindow(sf_.hwnd);
    object->MouseDown();
    if (!IsCaptionButton(sf_, object)) {
      auto* button = static_cast<TMenuBtn*>(object);
      sf_.CheckMenu(button);
      // The bar may have been rebuilt while its drop-down was open.
      if (IsMenuBarButton(sf_, button)) sf_.ActiveBtn = button;
    }
    return 0;
  }
  // A maximised window cannot be dragged by its caption.
  WPARAM hit = wParam_;
  if (hit == HTCAPTION && sf_.Windowstate == swsMax && sf_.FWindowActive) hit = HTMENU;
  return sf_.CallDefault(msg_, hit, lParam_);
}

LRESULT TFormMessages::OnNcLButtonUp() {
  sf_.CancelHint();
  const POINT p = WindowPoint();
  if (TWinSysButton* button = sf_.FindSysBtn(p)) {
    // Only the button the press began on, still pressed, acts: a press
    // dragged here from another button (which handed this one the hover) or
    // that left this button on the way does nothing.
    if (button == sf_.ActiveBtn && button->state == 2) {
      button->MouseUp();
      const POINT screen = ScreenPoint();
      sf_.SysButtonAction(screen.x, screen.y);
    }
    return 0;
  }
  if (sf_.menu && sf_.menu->FindBtn(p)) return 0;
  return Default();
}

LRESULT TFormMessages::OnNcLButtonDblClk() {
  const POINT p = WindowPoint();
  TWinSysButton* button = sf_.FindSysBtn(p);
  sf_.done = true;
  // The first click of the pair has opened the menu-bar button's drop-down.
  if (!button && sf_.menu && sf_.menu->FindBtn(p)) return 0;
  const int action = button && button->data ? button->data->Action : kNoButton;
  switch (FrameDoubleClick(action, sf_.Windowstate, HasIcon(sf_.FormIcons, sbiMax))) {
    case TFrameDoubleClick::Close:
      sf_.StopTimer();
      PostMessageW(sf_.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case TFrameDoubleClick::Maximize:
      sf_.Maximize();
      return 0;
    case TFrameDoubleClick::Restore:
      sf_.Restore();
      return 0;
    case TFrameDoubleClick::Nothing:
      return 0;
    case TFrameDoubleClick::Default:
      break;
  }
  return Default();
}

LRESULT TFormMessages::OnNcRButtonDown() {
  sf_.CancelHint();
  // The system menu opens on the release (below), as the system's own does:
  // opened on the press, the release would choose the item under the cursor.
  if (wParam_ == HTCAPTION && sf_.FormStyle != sfsMDIChild) return 0;
  return Default();
}

LRESULT TFormMessages::OnNcRButtonUp() {
  if (wParam_ == HTCAPTION && sf_.FormStyle != sfsMDIChild) {
    sf_.PopupSysMenu(ScreenPoint());
    return 0;
  }
  return Default();
}

// ---------------------------------------------------------------- the framework form's message hook

void TWinSkinForm::FormMessageHook(fw::TMessage& m) {
  done2 = false;
  switch (m.Msg) {
    case WM_SETTEXT:
      return TFormMessages::FormSetText(*this, m);
    case WM_SKINCHANGED:
      SkinChange();
      done = true;
      m.Result = 0;
      return;
    case CM_DIALOGCHAR:
      return TFormMessages::DialogChar(*this, m);
    case WM_SKINPRINT:
      return TFormMessages::FormSkinPrint(*this, m);
    case WM_SKINQUERY:
      m.Result = m.LParam == static_cast<LPARAM>(SKIN_MAGIC) ? SKIN_MAGIC : 1;
      return;
    default:
      return TFormMessages::CallOldHandler(*this, m);
  }
}

void TFormMessages::CallOldHandler(TWinSkinForm& sf, fw::TMessage& m) {
  if (sf.OldWndProc) sf.OldWndProc(m);
}

void TFormMessages::FormSetText(TWinSkinForm& sf, fw::TMessage& m) {
  if (!IsWindowVisible(sf.hwnd)) return CallOldHandler(sf, m);
  CallOldHandler(sf, m);
  TSkinManage* manager = FormManager();
  if (sf.Windowstate == swsMax && manager && manager->clienthwnd)
    PostMessageW(manager->clienthwnd, WM_SKINMDIMAX, reinterpret_cast<WPARAM>(sf.hwnd), 0);
  else if (sf.Windowstate == swsMin)
    sf.PaintFrame(nullptr);
  else
    sf.Refresh();
  sf.done2 = true;
}

void TFormMessages::FormSkinPrint(TWinSkinForm& sf, fw::TMessage& m) {
  // Only our own request carries a device context in wParam.
  if (m.LParam != static_cast<LPARAM>(SKIN_MAGIC)) return CallOldHandler(sf, m);
  if (m.WParam) sf.PaintFrame(reinterpret_cast<HDC>(m.WParam));
  m.Result = SKIN_MAGIC;
}

void TFormMessages::DialogChar(TWinSkinForm& sf, fw::TMessage& m) {
  CallOldHandler(sf, m);
  if (m.Result != 0) return;
  const bool altOnly = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
  if (altOnly)
    if (TMenuBtn* button = sf.FindAccelButton(static_cast<wchar_t>(m.WParam))) {
      sf.ClickButton(button);
      m.Result = 1;
      sf.done2 = true;
      return;
    }
  // Not ours: the form that has the menu may know the key.
  TSkinManage* manager = FormManager();
  if (sf.FormStyle == sfsMDIChild) {
    if (manager && manager->MDIForm && manager->MDIForm->HandleAllocated())
      manager->MDIForm->Perform(m.Msg, m.WParam, m.LParam);
  } else if (fw::Application && fw::Application->MainForm() && fw::Application->MainForm() != sf.FForm) {
    fw::TForm* main = fw::Application->MainForm();
    if (main->HandleAllocated()) main->Perform(m.Msg, m.WParam, m.LParam);
  }
  m.Result = 0;
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t key) const {
  if (!menu) return nullptr;
  for (const auto& button : menu->Buttons)
    if (button->enabled && button->visible && SameAccelerator(MenuAccelerator(button->caption), key))
      return button.get();
  return nullptr;
}

// ---------------------------------------------------------------- the MDI client

LRESULT TFormMessages::DispatchMdiClient() {
  switch (msg_) {
    case WM_NCDESTROY:
      return OnMdiNcDestroy();
    case WM_NCCALCSIZE:
      return OnMdiNcCalcSize();
    case WM_MDICREATE:
      if (sf_.fsd) sf_.fsd->SetMenuUpdate(false);
      return MdiDefault();
    case WM_MDIDESTROY:
      return OnMdiDestroy();
    case WM_MDITILE:
    case WM_MDICASCADE:
      return OnMdiArrange();
    case WM_MDISETMENU:
      return OnMdiSetMenu();
    case WM_SKINMDIMAX:
      RedrawWindow(sf_.hwnd, nullptr, nullptr, kRedrawAll);
      return 0;
    default:
      return MdiDefault();
  }
}

LRESULT TFormMessages::MdiDefault() {
  if (sf_.FMDIWndProc) return CallWindowProcW(sf_.FMDIWndProc, sf_.ClientHwnd, msg_, wParam_, lParam_);
  return DefWindowProcW(sf_.ClientHwnd, msg_, wParam_, lParam_);
}

LRESULT TFormMessages::OnMdiNcDestroy() {
  LRESULT result = MdiDefault();
  sf_.RestoreMDIClient();
  return result;
}

LRESULT TFormMessages::OnMdiNcCalcSize() {
  // The skinned frame draws no scroll bars of its own for the client.
  if (sf_.sMainMenu && sf_.fsd && !InSet(sf_.fsd->Options(), xoMDIScrollbar)) {
    LONG_PTR style = GetWindowLongPtrW(sf_.ClientHwnd, GWL_STYLE);
    LONG_PTR bare = style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL);
    if (bare != style) SetWindowLongPtrW(sf_.ClientHwnd, GWL_STYLE, bare);
  }
  return MdiDefault();
}

LRESULT TFormMessages::OnMdiDestroy() {
  LRESULT result = MdiDefault();
  if (!sf_.sMainMenu) return result;
  if (TSkinManage* manager = FormManager()) manager->SetMDIMax(sf_.MDIChildMax());
  if (!SendMessageW(sf_.ClientHwnd, WM_MDIGETACTIVE, 0, 0) && sf_.menu) {
    if (sf_.fsd) sf_.fsd->SetMenuUpdate(sf_.menuauto);
    sf_.menu->UpdataBtn();
  }
  return result;
}

LRESULT TFormMessages::OnMdiArrange() {
  if (sf_.sMainMenu)
    if (TSkinManage* manager = FormManager(); manager && manager->MDIMax) manager->SetMDIMax(false);
  return MdiDefault();
}

LRESULT TFormMessages::OnMdiSetMenu() {
  LRESULT result = MdiDefault();
  if (!sf_.sMainMenu) return result;
  if (wParam_ && sf_.menu) {
    sf_.menu->UpdataBtn2(reinterpret_cast<HMENU>(wParam_));
    SetMenu(sf_.hwnd, nullptr);
  }
  return result;
}

// ---------------------------------------------------------------- the hover and hint timer

void TWinSkinForm::TimerTick() {
  if (fInMenu || !ActiveBtn) return;
  const bool captionButton = IsCaptionButton(*this, ActiveBtn);
  // A button rebuilt away (a skin change, a new menu) is only forgotten.
  if (!captionButton && !IsMenuBarButton(*this, ActiveBtn)) {
    ActiveBtn = nullptr;
    return;
  }
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  if (!PointIn(ActiveBtn->bounds, ScreenToWindowPoint(cursor))) {
    TNCObject* left = ActiveBtn;
    ActiveBtn = nullptr;
    left->MouseLeave();
    CancelHint();
    return;
  }
  if (!captionButton || !fsd) return;
  fsd->hintcount += kHoverInterval;
  const int shown = 2 * kHintPause;
  if (fsd->hintcount < shown) return;
  if (fsd->hintcount >= shown + kHintHidePause) {
    fsd->HideHint();
    return;
  }
  const auto* button = static_cast<const TWinSysButton*>(ActiveBtn);
  const std::wstring hint = button->data ? SysButtonHint(button->data->Action) : std::wstring();
  if (hint.empty()) return;
  RECT window;
  GetWindowRect(hwnd, &window);
  const LONG x = button->bounds.Left + window.left;
  const LONG y = cursor.y + kHintBelowCursor;
  fsd->ActivateHint(RECT{x, y, x, y}, hint);
}

void TWinSkinForm::CancelHint() {
  if (!fsd) return;
  fsd->hintcount = 0;
  fsd->HideHint();
}

}  // namespace skin
