// TSkinScrollbar: a framework control with window scroll bars (memo, list
// box, grid) gets an overlay on each bar and a two-pixel skin frame;
// TSkinListView adds the skin's column header (TSkinHeader).
//
// The overlays follow the control along every road the bars can change:
// moving, resizing, showing and hiding arrive as WM_WINDOWPOSCHANGED (the
// bar's place is asked again); scrolling by wheel, keyboard or program
// moves the content, which the control repaints, and every paint of the
// control repaints the overlays from the platform's record of the bars; a
// bar that appears or disappears changes the frame, which arrives as
// WM_WINDOWPOSCHANGED and WM_NCPAINT.
#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <string>

#include "skin/controls/WinSkinBars.h"
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return s;
}

bool Showing(const TWScrollbar* bar) {
  return bar && bar->sbVisible;
}

// The two-pixel frame goes where the window's own edge is; a window
// without one would have it drawn over its client area.
bool HasEdge(HWND hwnd) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  return (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
}

}  // namespace

const fw::TClassInfo& TSkinScrollbar::StaticClass() {
  static const fw::TClassInfo info{L"TSkinScrollbar", &TSkinControl::StaticClass(), {}};
  return info;
}

const fw::TClassInfo& TSkinListView::StaticClass() {
  static const fw::TClassInfo info{L"TSkinListView", &TSkinScrollbar::StaticClass(), {}};
  return info;
}

TSkinScrollbar::~TSkinScrollbar() {
  FreeBars();
}

void TSkinScrollbar::InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf) {
  if (Inited || !acontrol) return;
  acontrol->HandleNeeded();
  if (!acontrol->HandleAllocated()) return;
  border = Lower(fw::GetEnumText(acontrol, L"BorderStyle")) != L"bsnone";
  if (acontrol->ClassName() == L"TImageScrollBox" || kind == 1) border = false;
  // Takes over the control's messages; the control keeps its own colour.
  Init(sf, sd, false);
  if (!Inited) return;
  border = border && HasEdge(hwnd);
  ApplyFixedColor();
  hb = new TWScrollbar(this);
  vb = new TWScrollbar(this);
  hb->Attach(this, acontrol, 0);
  vb->Attach(this, acontrol, 1);
  for (TWScrollbar* bar : {hb, vb}) {
    if (bar->Handle()) EnableWindow(bar->Handle(), acontrol->Enabled());
    if (!acontrol->Visible()) bar->HideScrollbar();
  }
}

void TSkinScrollbar::ApplyFixedColor() {
  if (!control || !fsd) return;
  int fixed = fw::GetIntProp(*control, L"FixedColor");
  if (fixed == -1) return;
  if (!fixedColorChanged_) oldcolor = fixed;
  try {
    fw::SetPropText(*control, L"FixedColor", std::to_wstring(fsd->Colors[3]));
    fixedColorChanged_ = true;
  } catch (const std::invalid_argument&) {
  }
}

void TSkinScrollbar::FreeBars() {
  delete hb;
  hb = nullptr;
  delete vb;
  vb = nullptr;
}

void TSkinScrollbar::PlaceBars() {
  if (hb) hb->SetPosition(hwnd);
  if (vb) vb->SetPosition(hwnd);
}

void TSkinScrollbar::RepaintBars() {
  for (TWScrollbar* bar : {hb, vb})
    if (Showing(bar)) bar->Repaint();
}

bool TSkinScrollbar::BeforeProc(fw::TMessage& message) {
  if (message.Msg == WM_NCPAINT && border) {
    CallOldProc(message);
    HDC dc = GetWindowDC(hwnd);
    if (dc) {
      DrawFrame(dc);
      ReleaseDC(hwnd, dc);
    }
    // The bars are part of what the control just painted over.
    RepaintBars();
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinScrollbar::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      sizing = true;
      PlaceBars();
      break;
    case WM_NCPAINT:
      RepaintBars();
      break;
    case WM_DESTROY:
      // The overlays are the parent's children and would outlive the window.
      for (TWScrollbar* bar : {hb, vb})
        if (bar) bar->HideScrollbar();
      break;
    case WM_HSCROLL:
      if (hb) hb->FollowScroll(message.WParam);
      break;
    case WM_VSCROLL:
      if (vb) vb->FollowScroll(message.WParam);
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_KEYDOWN:
    // The control paints its own content: focus and text changes need no
    // repaint of the whole window here, only the bars may have moved.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
      RepaintBars();
      break;
    case fw::CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {hb, vb})
        if (bar && bar->Handle() && control) EnableWindow(bar->Handle(), control->Enabled());
      RepaintBars();
      break;
    case WM_SKINPRINT:
      if (message.LParam == SKIN_MAGIC) {
        if (message.WParam) DrawFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = SKIN_MAGIC;
      }
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinScrollbar::DrawFrame(HDC dc) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return;
  RECT outer{0, 0, r.right - r.left, r.bottom - r.top};
  HBRUSH shadow = CreateSolidBrush(SkinColor(7));
  HBRUSH face = CreateSolidBrush(SkinColor(3));
  FrameRect(dc, &outer, shadow);
  RECT inner{1, 1, outer.right - 1, outer.bottom - 1};
  FrameRect(dc, &inner, face);
  DeleteObject(shadow);
  DeleteObject(face);
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT&) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  // A bar that appeared since the last placing gets its overlay now.
  if (hb && !hb->sbVisible && (style & WS_HSCROLL)) hb->SetPosition(hwnd);
  if (vb && !vb->sbVisible && (style & WS_VSCROLL)) vb->SetPosition(hwnd);
  RepaintBars();
  if (Showing(hb) && Showing(vb)) {
    RECT corner{vb->sbRect.left + 2, hb->sbRect.top + 2, vb->sbRect.right + 2, hb->sbRect.bottom + 2};
    FillColorRect(dc, corner, SkinColor(3));
  }
}

void TSkinScrollbar::SkinChange() {
  ApplyFixedColor();
  TSkinControl::SkinChange();
  RepaintBars();
}

void TSkinScrollbar::Unsubclass() {
  if (!skinned) return;
  if (fixedColorChanged_ && control && skinstate != scDestroyed) {
    try {
      fw::SetPropText(*control, L"FixedColor", std::to_wstring(oldcolor));
    } catch (const std::invalid_argument&) {
    }
    fixedColorChanged_ = false;
  }
  TSkinControl::Unsubclass();
  // The overlays die with their window's parent when the window is going;
  // otherwise they go now, so the native bars show again.
  if (skinstate != scDestroyed) FreeBars();
}

// ---------------------------------------------------------------- list view

void TSkinListView::InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf) {
  TSkinScrollbar::InitScrollbar(acontrol, sd, sf);
  if (!Inited || !hwnd) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
  if (!header || (skinform && skinform->FindControlByHandle(header))) return;
  // Owned by the list view: it goes with it.
  auto* skinnedHeader = new TSkinHeader(acontrol);
  skinnedHeader->Inithwnd(header, fsd, skinform);
  if (skinnedHeader->skinstate != scAttached) delete skinnedHeader;
}

}  // namespace skin
