#include "skin/model/WinSkinPopMenu.h"

#include "skin/form/MenuItemLayout.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinManage.h"

namespace skin {

namespace {
// The target of WM_PRINT is clipped this far inside the window, where the
// platform's own frame ends.
constexpr int kPrintFrame = 3;
// WM_NCPAINT's wParam when the whole frame is to be painted.
constexpr WPARAM kWholeWindow = 1;

int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}
}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
}

void TWinSkinPopMenu::InitSkin(HWND ahwnd, TSkinData* afsd, HMENU amenu) {
  hwnd = ahwnd;
  fsd = afsd;
  hmenu = amenu;
  ownerdraw = false;
  if (subclass_ || !hwnd) return;
  subclass_ = TWindowSubclass::Install(hwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    ++nesting_;
    LRESULT result = WindowProc(msg, wParam, lParam);
    if (--nesting_ == 0 && releasePending_) delete this;
    return result;
  });
}

void TWinSkinPopMenu::UnSubClass() {
  if (subclass_) subclass_->Remove();
  subclass_ = nullptr;
  MenuBg.Clear();
}

void TWinSkinPopMenu::Release() {
  if (nesting_ > 0) {
    UnSubClass();
    releasePending_ = true;
    return;
  }
  delete this;
}

LRESULT TWinSkinPopMenu::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (subclass_) return subclass_->CallPrevious(msg, wParam, lParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool TWinSkinPopMenu::HasSkinFrame() const {
  return fsd && !fsd->Empty && fsd->MenuitemBG && !fsd->MenuitemBG->Map.Empty();
}

bool TWinSkinPopMenu::RenderBackground(int32_t width, int32_t height) {
  MenuBg = HasSkinFrame() ? ComposeMenuBackground(width, height, *fsd->MenuitemBG) : TBitmap();
  return !MenuBg.Empty();
}

const TBitmap* TWinSkinPopMenu::Background() {
  if (MenuBg.Empty() && HasSkinFrame()) {
    RECT r;
    if (GetWindowRect(hwnd, &r)) RenderBackground(r.right - r.left, r.bottom - r.top);
  }
  return MenuBg.Empty() ? nullptr : &MenuBg;
}

POINT TWinSkinPopMenu::ClientOffset() const {
  RECT window{};
  POINT origin{0, 0};
  if (!GetWindowRect(hwnd, &window) || !ClientToScreen(hwnd, &origin)) return POINT{0, 0};
  return POINT{origin.x - window.left, origin.y - window.top};
}

void TWinSkinPopMenu::PaintMargins() {
  const TBitmap* background = Background();
  if (!background) return;
  HMENU shown = hmenu ? hmenu : reinterpret_cast<HMENU>(SendMessageW(hwnd, MN_GETHMENU, 0, 0));
  RECT window;
  if (!GetWindowRect(hwnd, &window)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  const int saved = SaveDC(dc);
  const int count = shown ? GetMenuItemCount(shown) : 0;
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (GetMenuItemRect(nullptr, shown, static_cast<UINT>(i), &item))
      ExcludeClipRect(dc, item.left - window.left, item.top - window.top, item.right - window.left,
                      item.bottom - window.top);
  }
  BlitBitmap(dc, 0, 0, *background);
  RestoreDC(dc, saved);
  ReleaseDC(hwnd, dc);
}

void TWinSkinPopMenu::NoteSkinnedPaint() {
  if (firstSkinnedPaint == 0) firstSkinnedPaint = Now();
}

LRESULT TWinSkinPopMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  done = false;
  if (msg == WM_ISSKINNED) return 1;
  auto* manager = dynamic_cast<TSkinManage*>(SkinManager());
  if (!manager || !manager->active) return CallPrevious(msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: {
      // The window's own procedure still gets the message, through the link
      // that passes everything on once it is released.
      TWindowSubclass* link = subclass_;
      UnSubClass();
      return link ? link->CallPrevious(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
      return OnEraseBkgnd(wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(wParam, lParam);
    case WM_PRINT:
      return OnPrint(wParam, lParam);
    case WM_PAINT:
      return OnPaint(wParam, lParam);
    default:
      return CallPrevious(msg, wParam, lParam);
  }
}

LRESULT TWinSkinPopMenu::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  if (!IsWinNT()) return 0;
  // With xoMenuBG the items draw the skin's background themselves.
  if (!fsd || !InSet(fsd->Options(), xoMenuBG)) CallPrevious(WM_ERASEBKGND, wParam, lParam);
  return 1;
}

LRESULT TWinSkinPopMenu::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  if (wParam == kWholeWindow && HasSkinFrame() && PaintMenuFrame()) return 0;
  return CallPrevious(WM_NCPAINT, wParam, lParam);
}

bool TWinSkinPopMenu::PaintMenuFrame() {
  RECT window;
  if (!GetWindowRect(hwnd, &window)) return false;
  // The whole window is meant: its window DC, never a DC cut by a made-up region.
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return false;
  if (RenderBackground(window.right - window.left, window.bottom - window.top)) {
    BlitBitmap(dc, 0, 0, MenuBg);
    NoteSkinnedPaint();
  }
  ReleaseDC(hwnd, dc);
  return !MenuBg.Empty();
}

LRESULT TWinSkinPopMenu::OnPrint(WPARAM wParam, LPARAM lParam) {
  RECT window;
  if (!wParam || !HasSkinFrame() || !GetWindowRect(hwnd, &window))
    return CallPrevious(WM_PRINT, wParam, lParam);
  return PrintMenuFrame(reinterpret_cast<HDC>(wParam), lParam);
}

LRESULT TWinSkinPopMenu::PrintMenuFrame(HDC target, LPARAM flags) {
  RECT window;
  GetWindowRect(hwnd, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (!RenderBackground(w, h)) return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(target), flags);
  BlitBitmap(target, 0, 0, MenuBg);
  const int oldMode = SetBkMode(target, TRANSPARENT);
  const int saved = SaveDC(target);
  IntersectClipRect(target, kPrintFrame, kPrintFrame, w - kPrintFrame, h - kPrintFrame);
  const LRESULT result = CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(target), flags);
  RestoreDC(target, saved);
  SetBkMode(target, oldMode);
  NoteSkinnedPaint();
  return result;
}

LRESULT TWinSkinPopMenu::OnPaint(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallPrevious(WM_PAINT, wParam, lParam);
  if (HasSkinFrame()) PaintMargins();
  // The items are owner-drawn from the skin inside the window's painting.
  if (ownerdraw || HasSkinFrame()) NoteSkinnedPaint();
  return result;
}

}  // namespace skin
