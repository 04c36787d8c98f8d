// The form skinner's lifecycle: creation, attaching to a framework form or a
// bare window, activation, the skinned size, skin changes, and the three ways
// of giving the window back.
#include "skin/form/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>

#include "gui/Form.h"
#include "skin/controls/WinSkinControl.h"
#include "skin/form/WinSkinMenuBar.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

// The window property that leads from an adopted window to its skinner.
ATOM SkinnerAtom() {
  static ATOM atom = GlobalAddAtomW(L"QuellmarkFormSkinner");
  return atom;
}

// The hover and hint timer's identifier on the skinned window; far from the
// small numbers windows use for their own timers.
constexpr UINT_PTR kHoverTimerId = 0x51A7;

constexpr UINT kSizeOnlyFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr UINT kFrameOnlyFlags = SWP_NOSIZE | kSizeOnlyFlags;

// The system caption font. Older systems know NONCLIENTMETRICSW without its
// last field and refuse the current size: ask with that size, then the older
// one; nullptr leaves the painters on the default font.
HFONT CreateSystemCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  bool ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
  if (!ok) {
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
  }
  return ok ? CreateFontIndirectW(&metrics.lfCaptionFont) : nullptr;
}

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[101] = {};
  int n = GetClassNameW(hwnd, name, 101);
  return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

TSkinManage* Manager() {
  return static_cast<TSkinManage*>(SkinManager());
}

}  // namespace

TWinSkinForm* FindFormSkinner(HWND hwnd) {
  return hwnd ? static_cast<TWinSkinForm*>(GetPropW(hwnd, MAKEINTATOM(SkinnerAtom()))) : nullptr;
}

const fw::TClassInfo& TWinSkinForm::StaticClass() {
  static const fw::TClassInfo info{
      L"TWinSkinForm",
      &fw::TComponent::StaticClass(),
      {
          // Read-only: the skinner alone decides when it is active.
          fw::BoolProp(
              L"Active", [](const fw::TComponent& c) { return fw::As<TWinSkinForm>(c).Active(); },
              [](fw::TComponent&, bool) {}),
      }};
  return info;
}

TWinSkinForm::TWinSkinForm(fw::TComponent* owner) : fw::TComponent(owner) {
  DoubleTime = static_cast<int>(GetDoubleClickTime());
  Iconx = GetSystemMetrics(SM_CXSMICON);
  CaptionFont = CreateSystemCaptionFont();
}

TWinSkinForm::~TWinSkinForm() {
  releasePending_ = false;
  StopTimer();
  if (subclass_) {
    // Freed while still attached (its owner goes first): hand the window its
    // procedure back, leave size and menu to whoever destroys it.
    if (FForm && OldWndProc && !(FForm->ComponentState() & fw::csDestroying)) FForm->WindowProc = OldWndProc;
    OldWndProc = nullptr;
    if (FindFormSkinner(hwnd) == this) RemovePropW(hwnd, MAKEINTATOM(SkinnerAtom()));
    subclass_->Remove();
    subclass_ = nullptr;
  }
  RestoreMDIClient();
  FreeSkinControls();
  ActiveBtn = nullptr;
  SysBtn.clear();
  delete menu;
  menu = nullptr;
  if (sysmenu) DestroyMenu(sysmenu);
  if (CaptionFont) DeleteObject(CaptionFont);
  if (itemFont_) DeleteObject(itemFont_);
  if (itemBoldFont_) DeleteObject(itemBoldFont_);
  if (TSkinManage* manager = Manager()) manager->DeleteForm2(this);
}

template <class Body>
LRESULT TWinSkinForm::Nested(Body&& body) {
  ++nesting_;
  LRESULT result = body();
  if (--nesting_ == 0 && releasePending_) delete this;
  return result;
}

void TWinSkinForm::Release() {
  if (nesting_ > 0) {
    releasePending_ = true;
    return;
  }
  delete this;
}

// ---------------------------------------------------------------- attaching

void TWinSkinForm::InitTform(TSkinData* afsd, fw::TForm* aform) {
  FForm = aform;
  if (afsd && afsd->OnBeforeSkinForm) afsd->OnBeforeSkinForm(aform, hwnd, formclass);
  if (afsd && InSet(afsd->SkinControls(), xcMenuItem))
    TSkinData::ChangeProperty(aform, L"AutoScroll", L"False");
  InitWindow(afsd);
  if (!subclass_) return;
  if (sMainMenu && aform) {
    OldWndProc = aform->WindowProc;
    aform->WindowProc = [this](fw::TMessage& m) {
      Nested([&] {
        FormMessageHook(m);
        return m.Result;
      });
    };
  }
  // The framework's forms paint their background with the system's button
  // face (a class brush): there is no form colour to keep or replace.
  if (InSet(fsd->SkinControls(), xcMenuItem)) InitMainMenu(aform, true, false);
}

void TWinSkinForm::InitWindow(TSkinData* afsd) {
  // Attaching twice, or to a window another skinner holds, never subclasses again.
  if (subclass_ || !afsd || !hwnd || !IsWindow(hwnd)) return;
  if (TWinSkinForm* other = FindFormSkinner(hwnd); other && other != this) return;
  TSkinManage* manager = Manager();
  if (manager) manager->state = 1;
  fsd = afsd;
  sMainMenu = InSet(fsd->SkinControls(), xcMainMenu);
  dwstyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  DWORD exstyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  bidileft = (exstyle & WS_EX_LEFTSCROLLBAR) != 0;
  ischildform = (dwstyle & WS_CHILD) != 0;
  classname = ClassNameOf(hwnd);
  parenthwnd = GetWindow(hwnd, GW_OWNER);

  FormIcons = 0;
  if ((dwstyle & WS_SYSMENU) || hsysmenu) FormIcons |= IconBit(sbisystem);
  if (dwstyle & WS_MINIMIZEBOX) FormIcons |= IconBit(sbiMin);
  if (dwstyle & WS_MAXIMIZEBOX) FormIcons |= IconBit(sbiMax);
  if (exstyle & WS_EX_CONTEXTHELP) FormIcons |= IconBit(sbiHelp);

  ReadWindowState();
  fSizeable = (dwstyle & WS_THICKFRAME) != 0;
  DetectMDIForm();
  if (exstyle & WS_EX_MDICHILD) {
    FormStyle = sfsMDIChild;
    if (InSet(fsd->Options(), xoMDIChildBorder)) sMainMenu = false;
  }
  FormBorder = sbsSingle;
  if ((dwstyle & WS_CAPTION) != WS_CAPTION) {
    FormBorder = sbsNone;
  } else if (dwstyle & WS_THICKFRAME) {
    FormBorder = sbsSizeable;
  } else if (dwstyle & DS_MODALFRAME) {
    FormBorder = sbsDialog;
  }
  if (exstyle & WS_EX_DLGMODALFRAME) FormBorder = sbsDialog;

  DWORD version = GetVersion();
  int major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
  bool windows9x = (version & 0x80000000u) != 0;
  if (((exstyle & WS_EX_APPWINDOW) && !windows9x && major > 4 && minor == 0) ||
      (!parenthwnd && FormStyle != sfsMDIChild && major > 4 && minor == 0))
    FormIcons |= IconBit(sbicaption);

  isunicode = IsWindowUnicode(hwnd) != FALSE;
  ismessagebox = classname == L"#32770" || classname == L"TMessageForm";
  if (ismessagebox) FormBorder = sbsDialog;
  HideDuringSkinning();
  if (windows9x) fsd->SetSkinControls(fsd->SkinControls() & ~SetOf(xcSystemMenu));
  if (FormStyle == sfsMDIform) {
    menuauto = fsd->MenuUpdate();
    SubclassMDIClient();
  }

  subclass_ = TWindowSubclass::Install(hwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return Nested([&] { return SubclassProc(msg, wParam, lParam); });
  });
  if (!subclass_) {
    RestoreMDIClient();
    ShowAfterSkinning();
    return;
  }
  FPrevWndProc = subclass_->Previous();
  SetPropW(hwnd, MAKEINTATOM(SkinnerAtom()), this);
  // Measured before the skinned menu bar takes the window's own menu away,
  // which would add the menu's height to the client area.
  SaveNonClientSize();

  if (sMainMenu) {
    hmenu = GetMenu(hwnd);
    if (hmenu && FormStyle != sfsMDIChild) {
      menu = new TWinSkinMenu(this);
      MenuHeight = GetSystemMetrics(SM_CYMENU);
      menu->UpdataBtn();
    }
    InitSkinData();
  } else {
    Skinstate = ssActive;
  }
  if (FormStyle == sfsMDIChild) {
    int band = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (bw.Top < band) MenuHeight = band - bw.Top;
    if (Windowstate == swsMax && manager && !manager->MDIMax) manager->SetMDIMax(true);
  }
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(hwnd, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      Windowstate = swsMin;
      break;
    case SW_SHOWMAXIMIZED:
      Windowstate = swsMax;
      break;
    default:
      Windowstate = swsNormal;
  }
}

void TWinSkinForm::DetectMDIForm() {
  FormStyle = sfsNormal;
  for (HWND child = GetTopWindow(hwnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) != L"MDIClient") continue;
    FormStyle = sfsMDIform;
    ClientHwnd = child;
    if (TSkinManage* manager = Manager()) {
      manager->clienthwnd = child;
      manager->MDIForm = FForm;
    }
    return;
  }
}

void TWinSkinForm::SubclassMDIClient() {
  if (!ClientHwnd || mdiSubclass_) return;
  mdiSubclass_ = TWindowSubclass::Install(ClientHwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return Nested([&] { return MDIClientProc(msg, wParam, lParam); });
  });
  if (mdiSubclass_) FMDIWndProc = mdiSubclass_->Previous();
}

void TWinSkinForm::RestoreMDIClient() {
  if (!mdiSubclass_) return;
  mdiSubclass_->Remove();
  mdiSubclass_ = nullptr;
}

void TWinSkinForm::HideDuringSkinning() {
  TSkinManage* manager = Manager();
  if (!manager || !manager->WMSetDraw || ischildform || !sMainMenu || FormBorder == sbsNone) return;
  // Only the style bit: the window stays shown to the system, nothing draws until activation.
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
}

void TWinSkinForm::ShowAfterSkinning() {
  TSkinManage* manager = Manager();
  if (!manager || !manager->WMSetDraw) return;
  manager->WMSetDraw = false;
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (!(style & WS_VISIBLE)) SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_VISIBLE);
}

// ---------------------------------------------------------------- activation

void TWinSkinForm::SaveNonClientSize() {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  fClientRect = client;
  oldsize =
      Rect(0, 0, (window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom);
}

void TWinSkinForm::Activate() {
  if (!subclass_) return;
  FActive = true;
  hsysmenu = GetSystemMenu(hwnd, FALSE);
  BuildIconBitmap();
  ShowAfterSkinning();
  if (FForm)
    InitControls(FForm);
  else
    InitHwndControls(hwnd);
  if (Skinstate == ssAttached) {
    if (FormStyle == sfsMDIChild) {
      TSkinManage* manager = Manager();
      if (Windowstate == swsMax) {
        if (manager && manager->clienthwnd)
          PostMessageW(manager->clienthwnd, WM_SKINMDIMAX, reinterpret_cast<WPARAM>(hwnd), 0);
      } else if (Windowstate == swsNormal) {
        Skinstate = ssSizing;
        AdjustWindowSize(false);
        Skinstate = ssActive;
        Cropwindow();
      }
    } else if (!ischildform && FormBorder != sbsNone && Windowstate != swsMin) {
      Skinstate = ssSizing;
      AdjustWindowSize(false);
      Skinstate = ssActive;
      if (Windowstate == swsNormal)
        Cropwindow();
      else
        Refresh();
    }
  }
  NotifySkinned();
  Skinstate = ssActive;
  doLog(L"*****Skin Active finish");
  StartTimer();
}

void TWinSkinForm::NotifySkinned() {
  SendMessageW(hwnd, WM_SKINDONE, 0, SKIN_MAGIC);
  if (fsd && fsd->OnAfterSkinForm) fsd->OnAfterSkinForm(FForm, hwnd, formclass);
}

void TWinSkinForm::AdjustWindowSize(bool fromClient) {
  if (Windowstate == swsMax) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kFrameOnlyFlags);
    return;
  }
  GetWindowRect(hwnd, &wTr);
  if (ismessagebox || Skinstate == ssChanging) GetClientRect(hwnd, &fClientRect);
  int width = fClientRect.right + bw.Left + bw.Right;
  if (fromClient) {
    GetClientRect(hwnd, &fClientRect);
  } else if (FForm) {
    // The framework keeps the designed client size, which excludes the menu
    // bar: the skinned bar is added to the frame instead.
    width = FForm->ClientWidth() + bw.Left + bw.Right;
    fClientRect.right = FForm->ClientWidth();
    fClientRect.bottom = FForm->ClientHeight();
  }
  int height = fClientRect.bottom + bw.Top + bw.Bottom + MenuHeight;
  if (ismessagebox && !fromClient) ResizeMessageBoxToTitle(width);
  SetWindowPos(hwnd, nullptr, wTr.left, wTr.top, width, height, kSizeOnlyFlags);
}

void TWinSkinForm::ResizeMessageBoxToTitle(int& width) {
  int n = GetWindowTextLengthW(hwnd);
  caption.assign(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
  n = GetWindowTextW(hwnd, caption.data(), n + 1);
  caption.resize(static_cast<size_t>(std::max(n, 0)));
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  HGDIOBJ oldFont = SelectObject(dc, CaptionFont ? CaptionFont : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd, dc);
  charwidth = extent.cx;
  int needed = fsd->Title.r.Left + charwidth + fsd->Title.r.Right;
  if (width >= needed) return;
  int shift = (needed - width) / 2;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
  }
  width = needed;
}

POINT TWinSkinForm::ScreenToWindowPoint(LPARAM lParam) const {
  return ScreenToWindowPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

POINT TWinSkinForm::ScreenToWindowPoint(POINT screen) const {
  ScreenToClient(hwnd, &screen);
  if (FormStyle == sfsMDIChild && Windowstate == swsMin) return screen;
  screen.x += bw.Left;
  screen.y += bw.Top + MenuHeight;
  return screen;
}

void TWinSkinForm::StartTimer() {
  if (timer || !hwnd) return;
  timer = SetTimer(hwnd, kHoverTimerId, 250, TimerThunk);
  timerEnabled = timer != 0;
}

void TWinSkinForm::StopTimer() {
  if (timer && IsWindow(hwnd)) KillTimer(hwnd, timer);
  timer = 0;
  timerEnabled = false;
}

void CALLBACK TWinSkinForm::TimerThunk(HWND window, UINT, UINT_PTR, DWORD) {
  // Dispatched straight to this procedure, not through the window procedure:
  // counted like a message so a Release inside it is deferred.
  TWinSkinForm* self = FindFormSkinner(window);
  if (!self || !self->timerEnabled) return;
  self->Nested([self] {
    self->TimerTick();
    return LRESULT{0};
  });
}

void TWinSkinForm::Refresh() {
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kFrameOnlyFlags);
}

void TWinSkinForm::RePaint(HWND ahwnd) {
  if (!ahwnd || !IsWindow(ahwnd)) return;
  RedrawWindow(ahwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::RestoreMDI() {
  if (!ClientHwnd) return;
  HWND child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0));
  if (child) SendMessageW(ClientHwnd, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
}

bool TWinSkinForm::MDIChildMax() const {
  if (FormStyle != sfsMDIform || !ClientHwnd) return false;
  BOOL maximized = FALSE;
  HWND child = reinterpret_cast<HWND>(
      SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return child && maximized;
}

// ---------------------------------------------------------------- menus
// (Control binding and the object list: WinSkinFormControls.cpp.)

// Owner-drawn items (InitPopMenu, InitMainMenu): WinSkinFormMenuItems.cpp.

// ---------------------------------------------------------------- skin change

void TWinSkinForm::SkinChange() {
  for (TSkinControl* c : std::vector<TSkinControl*>(Controllist)) c->SkinChange();
  Skinstate = ssChanging;
  if (sMainMenu && FormBorder != sbsNone && !ischildform && Windowstate == swsNormal) {
    if (FForm) InitPopMenu(FForm, true, true);
    // New border widths around the same client area; one pixel taller and
    // back makes the window lay itself out again.
    AdjustWindowSize(true);
    RECT r;
    GetWindowRect(hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd, nullptr, 0, 0, w, h + 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Cropwindow();
  }
  NotifySkinned();
  Skinstate = ssActive;
}

// ---------------------------------------------------------------- detaching

void TWinSkinForm::RestoreForm() {
  if (FForm && OldWndProc) FForm->WindowProc = OldWndProc;
  OldWndProc = nullptr;
}

void TWinSkinForm::PutMenuBack() {
  delete menu;
  menu = nullptr;
  MenuHeight = 0;
  if (!hmenu) return;
  HMENU own = hmenu;
  hmenu = nullptr;
  if (!IsMenu(own) || GetMenu(hwnd) == own) return;
  // A dying window no longer destroys a menu it does not hold: we do.
  if (Skinstate == ssDestroying || !IsWindow(hwnd))
    DestroyMenu(own);
  else
    SetMenu(hwnd, own);
}

void TWinSkinForm::UnSubclass() {
  if (!sMainMenu) return UnSubclass2();
  if (sysmenu) DestroyMenu(sysmenu);
  sysmenu = nullptr;
  StopTimer();
  if (!subclass_) return;
  // The client area the window has now is the one it keeps without the skin.
  RECT client{};
  GetClientRect(hwnd, &client);
  RestoreForm();
  RemovePropW(hwnd, MAKEINTATOM(SkinnerAtom()));
  subclass_->Remove();
  subclass_ = nullptr;
  FActive = false;
  FreeSkinControls();
  if (FForm) {
    InitPopMenu(FForm, false, false);
    if (fsd && InSet(fsd->SkinControls(), xcMenuItem)) InitMainMenu(FForm, false, false);
  }
  SetSysMenuStyle(true);
  PutMenuBack();
  RestoreMDIClient();
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  DWORD exstyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  if (Skinstate != ssDestroying && (FormStyle == sfsMDIChild || !(style & WS_CHILD)) &&
      Windowstate == swsNormal && FormBorder != sbsNone) {
    RECT outer = client;
    AdjustWindowRectEx(&outer, style, GetMenu(hwnd) != nullptr, exstyle);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  } else if (Skinstate != ssDestroying) {
    Refresh();
  }
  Uncropwindow();
  // The region belonged to the system from the moment it took it.
  if (IsWindow(hwnd)) SetWindowRgn(hwnd, nullptr, TRUE);
  WinRgn = nullptr;
  crop = false;
}

void TWinSkinForm::UnSubclass2() {
  StopTimer();
  FreeSkinControls();
  if (FForm) {
    InitPopMenu(FForm, false, false);
    if (fsd && InSet(fsd->SkinControls(), xcMenuItem)) InitMainMenu(FForm, false, false);
  }
  if (subclass_) {
    RestoreForm();
    RemovePropW(hwnd, MAKEINTATOM(SkinnerAtom()));
    subclass_->Remove();
    subclass_ = nullptr;
  }
  FActive = false;
  RestoreMDIClient();
  if (FForm && Skinstate != ssDestroying && IsWindow(hwnd))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

void TWinSkinForm::UnSubclass3() {
  if (!sMainMenu) return UnSubclass2();
  if (sysmenu) DestroyMenu(sysmenu);
  sysmenu = nullptr;
  StopTimer();
  if (!subclass_) return;
  RestoreForm();
  RemovePropW(hwnd, MAKEINTATOM(SkinnerAtom()));
  subclass_->Remove();
  subclass_ = nullptr;
  FActive = false;
  FreeSkinControls();
  PutMenuBack();
  RestoreMDIClient();
}

}  // namespace skin
