// TSkinSpeedButton: windowless speed buttons. The object takes over the
// graphic control's WindowProc: it paints the WM_PAINT its parent sends
// (the DC already set up for the control), and follows the control's own
// press and its mouse enter and leave for the hot and pressed looks; the
// control keeps its own click and "Down" logic. A flat button shows only its
// background until hovered or pressed; a "Down" button shows pressed, even
// disabled.
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <memory>

#include "skin/controls/WinButtonGlyph.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

constexpr intptr_t kTransparentTag = 5555;

bool IsTrue(const fw::TComponent* c, const wchar_t* name) {
  std::wstring text = fw::GetEnumText(c, name);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t ch) { return static_cast<wchar_t>(std::towlower(ch)); });
  return text == L"true";
}

// Sets a flag for as long as it lives, so a drawing that fails still clears it.
class TReentryGuard {
 public:
  explicit TReentryGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~TReentryGuard() { flag_ = false; }
  TReentryGuard(const TReentryGuard&) = delete;
  TReentryGuard& operator=(const TReentryGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// The handler installed in the graphic control: every message goes to the
// object while it lives. A handler installed after ours may keep calling
// this one after the object is gone; then the control's previous handler
// takes the messages.
struct TSpeedButtonHandler {
  std::shared_ptr<TSkinSpeedButton*> self;
  fw::TWndMethod previous;
  void operator()(fw::TMessage& message) const {
    if (*self)
      (*self)->NewWndProc(message);
    else if (previous)
      previous(message);
  }
};

const fw::TClassInfo& TSkinSpeedButton::StaticClass() {
  static const fw::TClassInfo info{L"TSkinSpeedButton", &TSkinBitButton::StaticClass(), {}};
  return info;
}

TSkinSpeedButton::TSkinSpeedButton(fw::TComponent* owner)
    : TSkinBitButton(owner), self_(std::make_shared<TSkinSpeedButton*>(this)) {
  PicField.clear();
}

TSkinSpeedButton::~TSkinSpeedButton() {
  *self_ = nullptr;
  GiveHandlerBack();
}

void TSkinSpeedButton::GiveHandlerBack() {
  if (!GControl || !OldWndProc) return;
  // Only while ours is the current handler: one installed after ours keeps forwarding to us.
  if (GControl->WindowProc.target<TSpeedButtonHandler>()) GControl->WindowProc = OldWndProc;
  OldWndProc = nullptr;
}

void TSkinSpeedButton::InitGraphicControl(TWinSkinForm* sf, TSkinData* sd) {
  if (skinstate == scAttached) return;
  fw::TComponent* owner = Owner();
  if (!owner || !owner->Is(fw::TGraphicControl::StaticClass())) return;
  fsd = sd;
  skinform = sf;
  GControl = static_cast<fw::TGraphicControl*>(owner);
  OldWndProc = GControl->WindowProc;
  GControl->WindowProc = TSpeedButtonHandler{self_, OldWndProc};
  if (skinform) skinform->AddControlList(this);
  skinstate = scAttached;
  trans = GControl->Tag() == kTransparentTag || (fsd && InSet(fsd->Options(), xoTransparent));
  GControl->Invalidate();
}

bool TSkinSpeedButton::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (!message.WParam) return true;
      WMPaintSpeed(message);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control's own press (its "Down" and group logic) first.
      CallOldProc(message);
      mousePressed_ = GControl && GControl->Enabled();
      if (mousePressed_) state |= Down;
      PaintControl(nullptr);
      return false;
    case WM_LBUTTONUP:
      return true;
    default:
      // Not the windowed button's handling: the control tracks its own press.
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinSpeedButton::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_ENABLE:
    case fw::CM_FOCUSCHANGED:
    case fw::CM_ENABLEDCHANGED:
      break;
    case WM_NCDESTROY:
    case fw::CM_RELEASE:
      GiveHandlerBack();
      break;
    case WM_MOUSEMOVE:
      WMMouseMoveSpeed(message);
      break;
    case WM_LBUTTONUP:
      mousePressed_ = false;
      SetLook(state & ~Down);
      break;
    case fw::CM_MOUSEENTER:
      SetLook(state | Hot);
      break;
    case fw::CM_MOUSELEAVE:
      mousePressed_ = false;
      SetLook(0);
      break;
    case WM_CANCELMODE:
      mousePressed_ = false;
      SetLook(state & ~Down);
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinSpeedButton::WMMouseMoveSpeed(fw::TMessage& message) {
  if (!mousePressed_ || !GControl) return;
  // While the press lasts the pressed look follows the cursor in and out.
  POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  bool inside = p.x >= 0 && p.y >= 0 && p.x < GControl->Width() && p.y < GControl->Height();
  SetLook(inside ? (state | Down) : (state & ~Down));
}

void TSkinSpeedButton::SetLook(int newState) {
  auto next = static_cast<uint8_t>(newState);
  if (next == state) return;
  state = next;
  PaintControl(nullptr);
}

void TSkinSpeedButton::WMPaintSpeed(fw::TMessage& message) {
  RECT rc{0, 0, GControl ? GControl->Width() : 0, GControl ? GControl->Height() : 0};
  DrawSpeedbtn(reinterpret_cast<HDC>(message.WParam), rc);
  message.Result = 1;
}

void TSkinSpeedButton::PaintControl(HDC adc) {
  if (!GControl || !GControl->Visible()) return;
  RECT rc{0, 0, GControl->Width(), GControl->Height()};
  if (adc) {
    DrawSpeedbtn(adc, rc);
    return;
  }
  fw::TWinControl* parent = GControl->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  HDC dc = GetDC(parent->Handle());
  if (!dc) return;
  int saved = SaveDC(dc);
  SetViewportOrgEx(dc, GControl->Left(), GControl->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, rc.right, rc.bottom);
  DrawSpeedbtn(dc, rc);
  RestoreDC(dc, saved);
  ReleaseDC(parent->Handle(), dc);
}

void TSkinSpeedButton::DrawSpeedbtn(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.Map.Empty() || !GControl || !GControl->Visible() || FReentr) return;
  TReentryGuard guard(FReentr);
  try {
    DrawSpeedFace(dc, rc);
  } catch (...) {
    // A face that cannot be drawn leaves the control as it was.
  }
}

void TSkinSpeedButton::DrawSpeedFace(HDC dc, const RECT& rc) {
  const int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w < 1 || h < 1) return;
  bool stuckDown = IsTrue(GControl, L"Down");
  bool isEnabled = GControl->Enabled();
  int face = SpeedButtonFace({(state & Hot) != 0, (state & Down) != 0, isEnabled, stuckDown});
  int glyphIndex = SpeedGlyphIndex(face, stuckDown);
  caption = SplitCaptionBars(fw::GetTextProp(GControl, L"Caption"));
  bool picture = !PicField.empty();
  TBitmap glyph = ReadPictureProperty(GControl, picture ? PicField : L"Glyph");
  int numGlyphs = NormaliseNumGlyphs(fw::GetIntProp(GControl, L"NumGlyphs"));
  bool flat = IsTrue(GControl, L"Flat");
  if (!PrepareBuffer(rc)) return;
  HDC buffer = btemp->DC();
  HGDIOBJ oldFont = SelectObject(buffer, GControl->Font().Handle());
  RECT whole{0, 0, w, h};
  if (SpeedButtonShowsSkin(face, flat))
    ComposeFace(face);
  else
    FillBackground(whole);

  enabled = isEnabled;
  focused = false;  // a windowless button never has the focus
  TInkChoice choice{fsd->Button.newnormal, fsd->Button.newover, fsd->Button.newdown};
  COLORREF base = GControl->Font().Color();
  if (glyph.Empty()) {
    SetTextColor(buffer, InkColour(PushCaptionInk(face, isEnabled, choice), base));
    DrawButtonCaption(buffer, whole, DT_CENTER);
  } else {
    TGlyphLayoutFacts facts;
    facts.width = w;
    facts.height = h;
    // A picture's width is divided by NumGlyphs for the layout only.
    facts.glyphWidth = glyph.Width() / numGlyphs;
    facts.glyphHeight = glyph.Height();
    facts.margin = fw::GetIntProp(GControl, L"Margin");
    facts.spacing = fw::GetIntProp(GControl, L"Spacing");
    facts.layout = ParseButtonLayout(fw::GetEnumText(GControl, L"Layout"));
    TSize32 text = MeasureGlyphCaption(
        buffer, GlyphCaptionMeasureRect(w, h, facts.layout, facts.glyphWidth, facts.glyphHeight));
    facts.textWidth = text.width;
    facts.textHeight = text.height;
    TGlyphPlacement place = SpeedButtonLayout(facts);
    DrawGlyph(buffer, place.glyphX, place.glyphY, picture ? glyph : GlyphImage(glyph, glyphIndex, numGlyphs));
    SetTextColor(buffer, InkColour(FaceCaptionInk(face, isEnabled, choice), base));
    if (!caption.empty()) {
      RECT r{place.text.Left, place.text.Top, place.text.Right, place.text.Bottom};
      UINT format = DT_WORDBREAK | TextAlignFlag(place.align);
      int oldMode = SetBkMode(buffer, TRANSPARENT);
      DrawSkinText(buffer, caption, r, picture ? format : CheckBiDi(format));
      SetBkMode(buffer, oldMode);
    }
  }
  BitBlt(dc, rc.left, rc.top, w, h, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldFont);
}

}  // namespace skin
