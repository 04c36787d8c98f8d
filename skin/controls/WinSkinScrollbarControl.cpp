// TSkinScControl: a stand-alone scroll-bar control covered whole by one
// overlay that draws it from the control's range, page and position.
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {
// The framework reflects a parent's WM_VSCROLL to the bar's object with this value.
constexpr UINT kReflectedVScroll = fw::CN_VSCROLL;
constexpr UINT kReflectedHScroll = fw::CN_HSCROLL;
}  // namespace

const fw::TClassInfo& TSkinScControl::StaticClass() {
  static const fw::TClassInfo info{L"TSkinScControl", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinScControl::~TSkinScControl() {
  delete sb;
  sb = nullptr;
}

void TSkinScControl::InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf) {
  if (Inited || !acontrol) return;
  acontrol->HandleNeeded();
  if (!acontrol->HandleAllocated()) return;
  Init(sf, sd, false);
  if (!Inited) return;
  sb = new TWScrollbar(this);
  sb->Attach(this, acontrol, 2);
  if (!acontrol->Visible()) sb->HideScrollbar();
}

void TSkinScControl::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (sb) sb->SetPosition(hwnd);
      break;
    case WM_NCPAINT:
      if (control && control->HandleAllocated()) hwnd = control->Handle();
      if (sb) sb->SetPosition(hwnd);
      break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case kReflectedVScroll:
    case kReflectedHScroll:
    case WM_ENABLE:
      if (sb) sb->Repaint();
      break;
    case WM_DESTROY:
      if (sb) sb->HideScrollbar();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinScControl::DrawControl(HDC, const RECT&) {
  if (sb) sb->Repaint();
}

void TSkinScControl::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate != scDestroyed) {
    delete sb;
    sb = nullptr;
  }
}

}  // namespace skin
