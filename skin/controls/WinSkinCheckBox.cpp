#include <cwctype>
#include <optional>
#include <string>

#include "skin/controls/CheckFrames.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

constexpr UINT kFrameworkCheckChanged = 0xB0D0;  // a framework check control changed its state

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

bool HasProp(const fw::TComponent* c, const wchar_t* name) {
  return c && c->ClassInfo().FindProp(name) != nullptr;
}

std::optional<std::wstring> PropText(const fw::TComponent* c, const wchar_t* name) {
  if (!HasProp(c, name)) return std::nullopt;
  return fw::GetTextProp(*c, name);
}

// The skin draws the whole control when it is a framework control and the
// skin has the image; otherwise the window paints itself and the skin only
// puts its image over the window's own.
int32_t DrawingKind(const fw::TWinControl* control, const TSkinData* sd, const TBitmap& image) {
  return control && sd && !image.Empty() ? 1 : 0;
}

bool Transparent(const fw::TWinControl* control, const TSkinData* sd) {
  return (control && control->Tag() == 5555) || (sd && InSet(sd->Options(), xoTransparent));
}

// Messages after which the control shows a changed state.
bool ChangesLook(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    // The button draws its pushed look itself, outside WM_PAINT, while the
    // mouse is dragged in and out with the button held.
    case BM_SETSTATE:
    case fw::CM_EXIT:
    case kFrameworkCheckChanged:
      return true;
    default:
      return false;
  }
}

// Shared by check boxes and radio buttons: the messages both swallow.
bool CheckBeforeProc(TSkinControl& self, bool trans, fw::TMessage& message, bool passOn) {
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (self.kind != 1) break;
      self.PaintMessage(message);
      return false;
    case WM_ERASEBKGND:
      if (!trans) break;
      self.EraseMessage(message);
      return false;
    default:
      break;
  }
  return passOn;
}

// The image, and for kind 1 the face and the caption, of a check box or radio button.
class TCheckPainter {
 public:
  TCheckPainter(TSkinControl& self, HDC dc, const RECT& rc) : self_(self), dc_(dc), rc_(rc) {}

  void Draw(const TBitmap& strip, int frames, int image, bool radio, bool trans) {
    HWND hwnd = self_.hwnd;
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    int32_t imageWidth = strip.Width() / frames;
    bool rtl = self_.control && (self_.CheckBiDi(0) & DT_RTLREADING);
    TCheckLayout layout =
        CheckLayout(ToTRect(rc_), imageWidth, strip.Height(), (style & BS_LEFTTEXT) != 0, rtl, radio);
    if (self_.kind != 1) {
      self_.DrawSkinMap2(dc_, ToRECT(layout.image), strip, image, frames);
      return;
    }
    // The whole control is composed off-screen and put on the window in one
    // blit, so a repaint never shows the face without its image or caption.
    int32_t width = rc_.right - rc_.left, height = rc_.bottom - rc_.top;
    TDibSection buffer(width, height);
    if (!buffer.Valid()) return;
    HDC target = dc_;
    dc_ = buffer.DC();
    RECT whole{0, 0, width, height};
    if (trans)
      BitBlt(dc_, 0, 0, width, height, target, rc_.left, rc_.top, SRCCOPY);  // the parent's background
    else
      self_.FillSkinFace(dc_, whole);
    TRect at = layout.image;
    self_.DrawSkinMap2(dc_,
                       RECT{at.Left - rc_.left, at.Top - rc_.top, at.Right - rc_.left, at.Bottom - rc_.top},
                       strip, image, frames);
    layout.text = Rect(layout.text.Left - rc_.left, layout.text.Top - rc_.top, layout.text.Right - rc_.left,
                       layout.text.Bottom - rc_.top);
    DrawCaption(layout);
    BitBlt(target, rc_.left, rc_.top, width, height, dc_, 0, 0, SRCCOPY);
    dc_ = target;
  }

 private:
  void DrawCaption(const TCheckLayout& layout) {
    HWND hwnd = self_.hwnd;
    self_.caption = self_.control ? self_.control->Caption() : GetWindowCaption(hwnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    COLORREF oldText = CLR_INVALID;
    if (self_.control) {
      font = self_.control->Font().Handle();
      oldText =
          SetTextColor(dc_, self_.enabled ? self_.control->Font().Color() : GetSysColor(COLOR_BTNSHADOW));
    }
    HGDIOBJ oldFont = font ? SelectObject(dc_, font) : nullptr;
    COLORREF oldBack = SetBkColor(dc_, SkinFace());
    int oldMode = SetBkMode(dc_, TRANSPARENT);
    UINT format = layout.format;
    RECT text = ToRECT(layout.text);
    RECT measured = text;
    DrawSkinText(dc_, self_.caption, measured, format | DT_CALCRECT | DT_NOCLIP);
    text = ToRECT(CenterCheckText(layout.text, measured.bottom - measured.top));
    // Systems of major version 6 show keyboard focus only when asked to; the skin follows them.
    if (self_.focused && !self_.caption.empty() && WinMajorVersion() != 6)
      self_.DrawCaptionFocus(dc_, text, format);
    DrawSkinText(dc_, self_.caption, text, format);
    SetBkMode(dc_, oldMode);
    SetBkColor(dc_, oldBack);
    if (oldText != CLR_INVALID) SetTextColor(dc_, oldText);
    if (oldFont) SelectObject(dc_, oldFont);
  }

  COLORREF SkinFace() const {
    return ResolveColor(self_.fsd ? self_.fsd->Colors[3] : SysColor(COLOR_BTNFACE));
  }

  TSkinControl& self_;
  HDC dc_;
  RECT rc_;
};

}  // namespace

// ---------------------------------------------------------------- check box

const fw::TClassInfo& TSkinCheckBox::StaticClass() {
  static const fw::TClassInfo info{L"TSkinCheckBox", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinCheckBox::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  TSkinControl::Init(sf, sd, acolor);
  checkState = 0;
  kind = DrawingKind(control, fsd, fsd ? fsd->Button.CheckMap : TBitmap());
  trans = Transparent(control, fsd);
}

bool TSkinCheckBox::BeforeProc(fw::TMessage& message) {
  bool passOn = TSkinControl::BeforeProc(message);
  return CheckBeforeProc(*this, trans, message, passOn);
}

void TSkinCheckBox::AfterProc(fw::TMessage& message) {
  if (message.Msg == BM_SETCHECK) {
    checkState = static_cast<int32_t>(message.WParam) + 1;
    Redraw();
  } else if (ChangesLook(message.Msg)) {
    Redraw();
  } else {
    TSkinControl::AfterProc(message);
  }
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.CheckMap.Empty()) {
    kind = 0;
    return;
  }
  const TDataSkinButton& button = fsd->Button;
  int frames = button.checkframe > 0 ? button.checkframe : 1;
  LRESULT windowState = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
  TCheckProps props;
  if (control) {
    props.state = PropText(control, L"State");
    props.checked = PropText(control, L"Checked");
    props.hasDataField = HasProp(control, L"DataField");
    props.dataState = checkState;
    props.hasDataBinding = HasProp(control, L"DataBinding");
  }
  TCheckState shown = CheckStateOf((windowState & BST_CHECKED) != 0, (windowState & BST_INDETERMINATE) != 0,
                                   control ? &props : nullptr);
  bool disabled = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) != 0;
  enabled = !disabled;
  focused = GetFocus() == hwnd;
  TCheckPainter(*this, dc, rc)
      .Draw(button.CheckMap, frames, CheckImageIndex(shown, disabled, frames), false, trans);
}

// ---------------------------------------------------------------- radio button

const fw::TClassInfo& TSkinRadioButton::StaticClass() {
  static const fw::TClassInfo info{L"TSkinRadioButton", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinRadioButton::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  TSkinControl::Init(sf, sd, acolor);
  kind = DrawingKind(control, fsd, fsd ? fsd->Button.RadioMap : TBitmap());
  trans = Transparent(control, fsd);
}

bool TSkinRadioButton::BeforeProc(fw::TMessage& message) {
  bool passOn = TSkinControl::BeforeProc(message);
  return CheckBeforeProc(*this, trans, message, passOn);
}

void TSkinRadioButton::AfterProc(fw::TMessage& message) {
  if (message.Msg == BM_SETCHECK || ChangesLook(message.Msg))
    Redraw();
  else
    TSkinControl::AfterProc(message);
}

void TSkinRadioButton::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.RadioMap.Empty()) {
    kind = 0;
    return;
  }
  const TDataSkinButton& button = fsd->Button;
  int frames = button.radioframe > 0 ? button.radioframe : 1;
  bool checked = (SendMessageW(hwnd, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  if (std::optional<std::wstring> published = PropText(control, L"Checked")) {
    std::wstring value = *published;
    for (wchar_t& c : value) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    checked = value == L"true";
  }
  bool disabled = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) != 0;
  enabled = !disabled;
  focused = GetFocus() == hwnd;
  TCheckPainter(*this, dc, rc)
      .Draw(button.RadioMap, frames, RadioImageIndex(checked, disabled, frames), true, trans);
}

}  // namespace skin
