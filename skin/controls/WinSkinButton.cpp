// TSkinButton: plain push buttons (framework buttons and bare windows of the
// system button class) drawn from the skin's button strip. The window's own
// procedure never paints and never sees a mouse press: the object tracks hot
// and pressed itself (TPushTracker holds the rules), keeps the mouse capture
// while a press lasts, and clicks on a release inside the button. Keyboard
// clicks (space, Enter through the dialog manager) stay with the window's own
// procedure; BM_CLICK reaches us as a press and release at the origin.
#include "skin/controls/WinSkinButton.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>

#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

constexpr intptr_t kTransparentTag = 5555;

std::wstring Lowered(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
  return Lowered(text).rfind(Lowered(prefix), 0) == 0;
}

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

bool PointInClient(HWND hwnd, LPARAM lParam) {
  RECT client;
  if (!GetClientRect(hwnd, &client)) return false;
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&client, p) != FALSE;
}

}  // namespace

const fw::TClassInfo& TSkinButton::StaticClass() {
  static const fw::TClassInfo info{L"TSkinButton", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinButton::TSkinButton(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinButton::~TSkinButton() {
  // A button freed in the middle of a press must not keep the mouse.
  if (tracker_.Tracking() && hwnd && GetCapture() == hwnd) ReleaseCapture();
}

void TSkinButton::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  bool attachedBefore = Inited;
  TSkinControl::Init(sf, sd, acolor);
  if (attachedBefore || !control) return;
  std::wstring cls = control->ClassName();
  kind = StartsWithIgnoringCase(cls, kForeignLibraryAPrefix) ||
                 StartsWithIgnoringCase(cls, kForeignLibraryBPrefix)
             ? 1
             : 0;
  trans = control->Tag() == kTransparentTag || (fsd && InSet(fsd->Options(), xoTransparent));
}

// ---------------------------------------------------------------- messages

bool TSkinButton::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintMessage(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(hwnd, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      WMLButtonDown(message);
      return false;
    case WM_LBUTTONUP:
      WMLButtonUp(message);
      return true;
    case WM_CAPTURECHANGED:
      WMCaptureChanged(message);
      return true;
    case WM_CANCELMODE:
      Apply(tracker_.Cancel());
      return true;
    case WM_KEYDOWN:
      WMKeyDown(message);
      return true;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinButton::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      PaintControl(nullptr);
      break;
    case WM_KEYUP:
      WMKeyUp(message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(message);
      break;
    case WM_LBUTTONUP:
      // Last: the click may run anything, even free this object.
      if (clickPending_) {
        clickPending_ = false;
        RaiseClick();
      }
      break;
    case WM_MOUSELEAVE:
    case fw::CM_MOUSELEAVE:
      Apply(tracker_.Leave());
      break;
    case WM_KILLFOCUS:
      Apply(tracker_.Cancel());
      Redraw();
      break;
    case fw::CM_DIALOGKEY:
    case fw::CM_FOCUSCHANGED:
      Redraw();
      break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
      // The system button paints its own look for these at once.
      PaintControl(nullptr);
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinButton::WMLButtonDown(fw::TMessage& message) {
  if (!IsWindowEnabled(hwnd)) return;
  if (GetFocus() != hwnd) SetFocus(hwnd);
  Apply(tracker_.Press(true));
  // The window's own procedure never sees the press: the control's mouse-down event is raised here.
  if (kind == 0 && control) DoMouseDown(message);
}

void TSkinButton::WMLButtonUp(fw::TMessage& message) {
  // Decided before the window's own procedure runs, which may move the capture.
  TPushTracker::Outcome outcome =
      tracker_.Release(PointInClient(hwnd, message.LParam), IsWindowEnabled(hwnd));
  clickPending_ = outcome.click;
  Apply(outcome);
}

void TSkinButton::WMMouseMove(fw::TMessage& message) {
  Apply(tracker_.Move(PointInClient(hwnd, message.LParam), IsWindowEnabled(hwnd)));
  RequestMouseLeave(hwnd);
}

void TSkinButton::WMCaptureChanged(fw::TMessage& message) {
  if (tracker_.Tracking() && reinterpret_cast<HWND>(message.LParam) != hwnd) Apply(tracker_.Cancel());
}

void TSkinButton::WMKeyDown(fw::TMessage& message) {
  if (message.WParam == VK_ESCAPE && tracker_.Tracking()) {
    Apply(tracker_.Cancel());
  } else if (message.WParam == VK_SPACE) {
    Apply(tracker_.KeyDown());
  }
}

void TSkinButton::WMKeyUp(fw::TMessage& message) {
  if (message.WParam == VK_SPACE) Apply(tracker_.KeyUp());
}

void TSkinButton::Apply(const TPushTracker::Outcome& outcome) {
  state = static_cast<uint8_t>((tracker_.Hot() ? Hot : 0) | (tracker_.Down() ? Down : 0));
  if (!hwnd) return;
  if (outcome.capture == TPushTracker::Capture::Take) {
    SetCapture(hwnd);
  } else if (outcome.capture == TPushTracker::Capture::Release && GetCapture() == hwnd) {
    // Only our own capture: another window of the thread may hold it by now.
    ReleaseCapture();
  }
  if (outcome.repaint) PaintControl(nullptr);
}

void TSkinButton::RaiseClick() {
  if (control) {
    control->Click();
    return;
  }
  HWND parent = GetParent(hwnd);
  wchar_t cls[101] = {};
  GetClassNameW(hwnd, cls, 100);
  WPARAM command = Lowered(cls) == L"tbutton" ? 0 : MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED);
  PostMessageW(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(hwnd));
}

// ---------------------------------------------------------------- drawing

void TSkinButton::RefreshFocusAndEnabled() {
  focused = GetFocus() == hwnd;
  enabled = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) == 0;
}

bool TSkinButton::IsDefaultButton() const {
  // A bare window is never the default button.
  return control && Lowered(fw::GetEnumText(control, L"Default")) == L"true";
}

std::wstring TSkinButton::ReadCaption() const {
  return control ? fw::GetTextProp(*control, L"Caption") : GetWindowCaption(hwnd);
}

HFONT TSkinButton::CaptionFont() const {
  if (control) return control->Font().Handle();
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  // The system font draws Chinese as boxes; the GUI font does not.
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool TSkinButton::PrepareBuffer(const RECT& rc) {
  int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return false;
  if (!btemp || btemp->Width() != w || btemp->Height() != h) {
    btemp = std::make_unique<TDibSection>(w, h);
    faces_ = {};
  }
  return btemp->Valid();
}

void TSkinButton::ComposeFace(int face) {
  RECT whole{0, 0, btemp->Width(), btemp->Height()};
  if (trans && Target()) {
    FillBackground(whole);
    DrawSkinMap(btemp->DC(), whole, fsd->Button, face, fsd->Button.frame);
    return;
  }
  TBitmap& picture = faces_[static_cast<size_t>(std::clamp(face, 1, kButtonFaceCount))];
  if (picture.Empty()) {
    const TDataSkinButton& b = fsd->Button;
    picture = TBitmap(whole.right, whole.bottom, ColorToPixel(SkinColor(3)));
    DrawSkinImage(picture, Rect(0, 0, whole.right, whole.bottom), b.Map, b.r, face, b.frame, b.trans == 1,
                  b.Tile != 0, false);
  }
  btemp->Assign(picture);
}

void TSkinButton::SkinChange() {
  faces_ = {};
  TSkinControl::SkinChange();
}

fw::TControl* TSkinButton::Target() const {
  return control ? static_cast<fw::TControl*>(control) : GControl;
}

void TSkinButton::FillBackground(const RECT& rc) {
  if (fw::TControl* target = Target(); trans && target)
    PaintParentBackground(*target, btemp->DC());
  else
    FillSkinFace(btemp->DC(), rc);
}

COLORREF TSkinButton::InkColour(TCaptionInk ink, COLORREF base) const {
  switch (ink) {
    case TCaptionInk::Normal2:
      return ResolveColor(fsd->Button.Normalcolor2);
    case TCaptionInk::Over2:
      return ResolveColor(fsd->Button.Overcolor2);
    case TCaptionInk::Down2:
      return ResolveColor(fsd->Button.Downcolor2);
    case TCaptionInk::Disabled:
      return GetSysColor(COLOR_BTNSHADOW);
    case TCaptionInk::Default:
      break;
  }
  return base;
}

bool TSkinButton::FocusRectWanted() const {
  return focused && fsd && !InSet(fsd->Options(), xoNoFocusRect);
}

void TSkinButton::DrawButtonCaption(HDC dc, const RECT& rc, UINT alignment) {
  caption = SplitCaptionBars(caption);
  UINT format = alignment | DT_WORDBREAK | DT_EXPANDTABS;
  RECT measured{rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawSkinText(dc, caption, measured, format | DT_CALCRECT | DT_NOCLIP);
  TRect placed = PlaceButtonCaption(ToTRect(rc), measured.right - measured.left,
                                    measured.bottom - measured.top, alignment == DT_CENTER);
  RECT r = ToRECT(placed);
  DrawSkinText(dc, caption, r, CheckBiDi(format));
  SetBkMode(dc, oldMode);
  if (FocusRectWanted()) {
    RECT focus = ToRECT(ButtonFocusRect(placed));
    DrawFocusRect(dc, &focus);
  }
}

void TSkinButton::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.Map.Empty()) return;
  RefreshFocusAndEnabled();
  TButtonLook look{focused, IsDefaultButton(), (state & Hot) != 0, (state & Down) != 0, enabled};
  caption = ReadCaption();
  int face = PushButtonFace(look);
  if (!PrepareBuffer(rc)) return;
  HDC buffer = btemp->DC();
  RECT whole{0, 0, rc.right - rc.left, rc.bottom - rc.top};
  ComposeFace(face);

  HGDIOBJ oldFont = SelectObject(buffer, CaptionFont());
  COLORREF base = control ? control->Font().Color() : SkinColor(4);
  TInkChoice choice{fsd->Button.newnormal, fsd->Button.newover, fsd->Button.newdown};
  SetTextColor(buffer, InkColour(PushCaptionInk(face, enabled, choice), base));
  DrawButtonCaption(buffer, whole, DT_CENTER);
  BitBlt(dc, rc.left, rc.top, whole.right, whole.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldFont);
}

}  // namespace skin
