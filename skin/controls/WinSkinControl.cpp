#include "skin/controls/WinSkinControl.h"

#include <windowsx.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "skin/controls/CaptionPlacement.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"

namespace skin {

// What the installed handler reaches the object through. The object clears
// `self` when it goes; a handler still in place (someone chained after us)
// then passes every message straight to `previous`.
struct TSkinControlLink {
  TSkinControl* self = nullptr;
  fw::TWndMethod previous;
};

namespace {

// The handler put into a framework control's WindowProc.
struct TControlHandler {
  std::shared_ptr<TSkinControlLink> link;
  void operator()(fw::TMessage& message) const {
    // A copy: the object may replace or drop the handler while it runs.
    std::shared_ptr<TSkinControlLink> keep = link;
    if (keep->self)
      keep->self->NewWndProc(message);
    else if (keep->previous)
      keep->previous(message);
  }
};

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

bool Inverted(const RECT& r) {
  return r.right < r.left || r.bottom < r.top;
}

// The system colour a scheme slot stands for when no skin is at hand.
int SlotSystemColour(int index) {
  switch (index) {
    case 4:
      return COLOR_BTNTEXT;
    case 7:
      return COLOR_BTNSHADOW;
    default:
      return COLOR_BTNFACE;
  }
}

// Measures `text` as DrawText would draw it into `rc` with `format`.
RECT MeasureText(HDC dc, const std::wstring& text, const RECT& rc, UINT format) {
  RECT r = rc;
  DrawSkinText(dc, text, r, format | DT_CALCRECT | DT_NOCLIP);
  return r;
}

}  // namespace

const fw::TClassInfo& TSkinControl::StaticClass() {
  static const fw::TClassInfo info{L"TSkinControl", &fw::TComponent::StaticClass(), {}};
  return info;
}

TSkinControl::TSkinControl(fw::TComponent* owner)
    : fw::TComponent(owner), link_(std::make_shared<TSkinControlLink>()) {
  link_->self = this;
}

TSkinControl::~TSkinControl() {
  link_->self = nullptr;
  if (control && OldWndProc) {
    // A control in its own destructor has nothing left to give back to;
    // otherwise put our predecessor back when our handler is still the
    // current one (one chained after ours keeps forwarding through the link).
    bool dying = (control->ComponentState() & fw::csDestroying) != 0;
    if (!dying) {
      const TControlHandler* current = control->WindowProc.target<TControlHandler>();
      if (current && current->link == link_) control->WindowProc = OldWndProc;
    }
  }
  OldWndProc = nullptr;
  if (FObjectInst) {
    FObjectInst->Remove();
    FObjectInst = nullptr;
  }
  if (skinform) skinform->DeleteControl(this);
}

// ---------------------------------------------------------------- attaching

void TSkinControl::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  newColor = acolor;
  fsd = sd;
  skinform = sf;
  fw::TComponent* owner = Owner();
  control =
      owner && owner->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(owner) : nullptr;
  if (!control) return;
  control->HandleNeeded();
  hwnd = control->Handle();
  isunicode = hwnd && IsWindowUnicode(hwnd);
  OldWndProc = control->WindowProc;
  link_->previous = OldWndProc;
  control->WindowProc = TControlHandler{link_};
  if (skinform) skinform->AddControlList(this);
  if (newColor) ReplaceControlColor();
  if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
  Inited = true;
  skinstate = scAttached;
}

void TSkinControl::Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) {
  // A second link on the same window would route every message twice.
  if (FObjectInst && ahwnd == hwnd) return;
  fsd = sd;
  skinform = sf;
  hwnd = ahwnd;
  enabled = true;
  kind = 0;
  if (skinform) skinform->AddControlList(this);
  isunicode = IsWindowUnicode(hwnd);
  caption = GetWindowCaption(hwnd);
  std::shared_ptr<TSkinControlLink> link = link_;
  FObjectInst = TWindowSubclass::Install(hwnd, [link](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    fw::TMessage message{msg, wParam, lParam, 0};
    // The link is removed before the object goes, so self is set here.
    link->self->NewWndProc(message);
    return message.Result;
  });
  FPrevWndProc = FObjectInst ? FObjectInst->Previous() : nullptr;
  InvalidateRect(hwnd, nullptr, TRUE);
  Inited = true;
  skinstate = scAttached;
}

void TSkinControl::Unsubclass() {
  if (!skinned) return;
  skinned = false;
  if (skinstate != scDestroyed && newColor && control) RestoreControlColor();
  // Let the window show itself unskinned at its next paint.
  if (skinstate != scDestroyed && hwnd && IsWindow(hwnd)) InvalidateRect(hwnd, nullptr, TRUE);
}

// ---------------------------------------------------------------- messages

void TSkinControl::NewWndProc(fw::TMessage& message) {
  std::shared_ptr<TSkinControlLink> link = link_;
  done = false;
  // A control attached before its window existed, or whose window was made again.
  if (control && control->HandleAllocated()) hwnd = control->Handle();
  if (message.Msg == WM_SKINSWITCH) {
    skinned = message.WParam != 0;
    if (skinned) Redraw();
    return;
  }
  if (!skinned) {
    CallOldProc(message);
    return;
  }
  if (!BeforeProc(message)) return;
  CallOldProc(message);
  // The window's own handling may have freed this object.
  if (link->self != this) return;
  AfterProc(message);
}

void TSkinControl::CallOldProc(fw::TMessage& message) {
  if (OldWndProc) {
    OldWndProc(message);
  } else if (FObjectInst) {
    message.Result = FObjectInst->CallPrevious(message.Msg, message.WParam, message.LParam);
  } else if (hwnd) {
    message.Result = DefWindowProcW(hwnd, message.Msg, message.WParam, message.LParam);
  }
}

bool TSkinControl::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY: {
      skinstate = scDestroyed;
      std::shared_ptr<TSkinControlLink> link = link_;
      CallOldProc(message);
      if (link->self == this && skinned) Unsubclass();
      return false;
    }
    case WM_ISSKINNED:
      message.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case fw::CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_SKINSWITCH:
      skinned = message.WParam != 0;
      break;
    default:
      break;
  }
}

void TSkinControl::MouseLeave() {
  if (hwnd) SendMessageW(hwnd, fw::CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::SkinChange() {
  if (newColor && control && fsd) SetControlColor(fsd->Colors[3]);
  Redraw();
}

// ---------------------------------------------------------------- painting

void TSkinControl::Redraw() {
  if (GControl) {
    GControl->Invalidate();
  } else if (hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
  }
}

void TSkinControl::PaintControl(HDC adc) {
  RECT r;
  if (!hwnd || !GetWindowRect(hwnd, &r)) return;
  boundsrect = r;
  RECT rc{0, 0, r.right - r.left, r.bottom - r.top};
  // A failed paint leaves the window as its own procedure painted it.
  try {
    if (adc) {
      DrawControl(adc, rc);
    } else {
      HDC dc = GetWindowDC(hwnd);
      if (!dc) return;
      try {
        DrawControl(dc, rc);
      } catch (...) {
        ReleaseDC(hwnd, dc);
        throw;
      }
      ReleaseDC(hwnd, dc);
    }
  } catch (...) {
  }
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::PaintMessage(fw::TMessage& message) {
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  bool begun = false;
  if (!dc) {
    dc = BeginPaint(hwnd, &ps);
    begun = true;
  }
  RECT r;
  if (dc && GetWindowRect(hwnd, &r)) {
    boundsrect = r;
    RECT rc{0, 0, r.right - r.left, r.bottom - r.top};
    try {
      DrawControl(dc, rc);
    } catch (...) {
    }
  }
  if (begun) EndPaint(hwnd, &ps);
  message.Result = 0;
}

void TSkinControl::EraseMessage(fw::TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (dc) {
    if (control) {
      PaintParentBackground(*control, dc);
    } else if (hwnd) {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillParentFace(dc, rc);
    }
  }
  message.Result = 1;
}

COLORREF TSkinControl::SkinColor(int index) const {
  if (fsd && index >= 0 && index < TSkinModel::kSchemeColors)
    return ResolveColor(fsd->Colors[static_cast<size_t>(index)]);
  return GetSysColor(SlotSystemColour(index));
}

void TSkinControl::SetControlColor(TColor colour) {
  if (!control) return;
  try {
    fw::SetPropText(*control, L"Color", std::to_wstring(colour));
  } catch (const std::invalid_argument&) {
    // A control without a colour of its own keeps its look.
  }
}

void TSkinControl::ReplaceControlColor() {
  int colour = control ? fw::GetIntProp(*control, L"Color") : -1;
  if (colour == -1) {
    newColor = false;  // nothing to give back later
    return;
  }
  oldcolor = colour;
  oldParentColor_ = fw::GetEnumText(control, L"ParentColor") == L"True";
  SetControlColor(fsd ? fsd->Colors[3] : SysColor(COLOR_BTNFACE));
}

void TSkinControl::RestoreControlColor() {
  SetControlColor(oldcolor);
  // A colour that followed the parent's goes on following it.
  if (oldParentColor_) fw::SetPropText(control, L"ParentColor", L"True");
}

void TSkinControl::FillSkinFace(HDC dc, const RECT& rc) {
  FillColorRect(dc, rc, SkinColor(3));
}

TColor TSkinControl::GetParentColor(TColor defaultColor) {
  if (control && control->Parent()) {
    int colour = fw::GetIntProp(*control->Parent(), L"Color");
    if (colour != -1) return colour;
  }
  return defaultColor;
}

void TSkinControl::FillParentFace(HDC dc, const RECT& rc) {
  TColor face = fsd ? fsd->Colors[3] : SysColor(COLOR_BTNFACE);
  FillColorRect(dc, rc, ResolveColor(GetParentColor(face)));
}

void TSkinControl::DoMouseDown(fw::TMessage& message) {
  fw::TControl* target = control ? static_cast<fw::TControl*>(control) : GControl;
  if (!target) return;
  int x = GET_X_LPARAM(message.LParam);
  int y = GET_Y_LPARAM(message.LParam);
  // Coordinates of a message are 16 bits; a larger control asks where the cursor is.
  if (target->Width() > 0x8000 || target->Height() > 0x8000) {
    POINT p;
    GetCursorPos(&p);
    if (control && control->HandleAllocated()) {
      ScreenToClient(control->Handle(), &p);
    } else if (GControl && GControl->Parent() && GControl->Parent()->HandleAllocated()) {
      ScreenToClient(GControl->Parent()->Handle(), &p);
      p.x -= GControl->Left();
      p.y -= GControl->Top();
    }
    x = p.x;
    y = p.y;
  }
  target->MouseDown(fw::mbLeft, fw::ShiftStateFromKeys(message.WParam), x, y);
}

// ---------------------------------------------------------------- text

UINT TSkinControl::CheckBiDi(UINT format) const {
  HWND window = nullptr;
  if (control && control->HandleAllocated())
    window = control->Handle();
  else if (GControl && GControl->Parent() && GControl->Parent()->HandleAllocated())
    window = GControl->Parent()->Handle();
  if (!window) return format;
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (exStyle & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) format |= DT_RTLREADING;
  return format;
}

int TSkinControl::TextHeight(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void TSkinControl::DrawCaption(HDC dc, const RECT& rc, const std::wstring& text, bool isEnabled,
                               UINT alignment) {
  UINT format = alignment | DT_EXPANDTABS;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT measured = MeasureText(dc, text, rc, format);
  RECT r = ToRECT(CaptionTextRect(ToTRect(rc), measured.right - measured.left, measured.bottom - measured.top,
                                  alignment));
  COLORREF oldColour = isEnabled ? CLR_INVALID : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, text, r, CheckBiDi(format));
  if (oldColour != CLR_INVALID) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void TSkinControl::DrawCaptionFocus(HDC dc, const RECT& rc, UINT format) {
  RECT measured = MeasureText(dc, caption, rc, format);
  RECT r = ToRECT(CaptionFocusRect(ToTRect(rc), measured.right - measured.left,
                                   measured.bottom - measured.top, format & (DT_CENTER | DT_RIGHT)));
  DrawFocusRect(dc, &r);
}

void TSkinControl::DrawImgCaption(HDC dc, const RECT& rc, HIMAGELIST imgList, int imgIndex,
                                  const std::wstring& text, int talign) {
  int cx = 0, cy = 0;
  bool withImage = imgList && imgIndex != -1;
  if (withImage) ImageList_GetIconSize(imgList, &cx, &cy);
  TImgCaptionLayout layout(ToTRect(rc), cx, cy, withImage);
  const UINT format = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_WORDBREAK;
  int32_t textWidth = 0, textHeight = 0;
  if (!text.empty()) {
    RECT measured = MeasureText(dc, text, ToRECT(layout.MeasureRect()), format);
    textWidth = measured.right - measured.left;
    textHeight = measured.bottom - measured.top;
  }
  layout.Place(textWidth, textHeight, talign);
  if (layout.drawImage)
    ImageList_Draw(imgList, imgIndex, dc, layout.image.Left, layout.image.Top, ILD_TRANSPARENT);
  if (text.empty()) return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = enabled ? CLR_INVALID : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  RECT t = ToRECT(layout.text);
  DrawSkinText(dc, text, t, CheckBiDi(format));
  if (oldColour != CLR_INVALID) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------- skin images

void TSkinControl::DrawSkinMap(HDC dc, const RECT& rc, const TDataSkinObject& aObject, int I, int N) {
  if (Inverted(rc)) return;
  DrawSkinImage(dc, ToTRect(rc), aObject.Map, aObject.r, I, N, aObject.trans == 1, aObject.Tile != 0, false);
}

void TSkinControl::DrawSkinMap1(HDC dc, const RECT& rc, const TBitmap& bmp, int I, int N) {
  if (Inverted(rc)) return;
  DrawSkinFrame(dc, ToTRect(rc), bmp, I, N, true);
}

void TSkinControl::DrawSkinMap2(HDC dc, const RECT& rc, const TBitmap& bmp, int I, int N) {
  // Our transparent drawing is pixel-exact on every device, so the
  // stretched image goes through the same path as DrawSkinMap1.
  DrawSkinMap1(dc, rc, bmp, I, N);
}

void TSkinControl::DrawBuf(HDC dc, const RECT& rc) {
  TScratchBitmap* scratch = ScratchBitmap();
  if (!scratch || Inverted(rc)) return;
  BitBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, scratch->DC(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- free functions

std::wstring GetWindowCaption(HWND hwnd) {
  if (!hwnd) return {};
  if (IsWinNT()) {
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
  }
  constexpr int kLimit = 1000;
  std::vector<wchar_t> buffer(kLimit + 1, L'\0');
  LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, kLimit, reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void FillColorRect(HDC dc, const RECT& rc, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

void PaintGraphicChildren(fw::TWinControl& parent, HDC dc) {
  for (fw::TControl* child : parent.Controls()) {
    if (child->IsWindowed() || !child->Visible()) continue;
    int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + child->Left(), origin.y + child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    SelectObject(dc, child->Font().Handle());
    // Through the child's handler, so a skinned windowless child paints skinned.
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

bool IsPopupWindow(HWND hwnd) {
  if (!hwnd) return false;
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP) return true;
  return GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow();
}

void DrawCenterText(HDC dc, const RECT& rc, const std::wstring& text, int alignment, bool isEnabled) {
  static constexpr UINT kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT align = alignment >= 0 && alignment <= 2 ? kAlignments[alignment] : DT_LEFT;
  UINT format = align | DT_SINGLELINE | DT_EXPANDTABS;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT measured = MeasureText(dc, text, rc, format);
  RECT r =
      ToRECT(CenterTextRect(ToTRect(rc), measured.right - measured.left, measured.bottom - measured.top));
  COLORREF oldColour = isEnabled ? CLR_INVALID : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, text, r, format);
  if (oldColour != CLR_INVALID) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace skin
