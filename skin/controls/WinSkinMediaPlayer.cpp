#include "skin/controls/WinSkinMediaPlayer.h"

#include <windowsx.h>

#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

// The transparent colour of a media-player glyph: olive.
constexpr TPixel kGlyphKey = 0x00808000;

TBitmap LoadModuleBitmap(const std::wstring& name) {
  HBITMAP handle = LoadBitmapW(GetModuleHandleW(nullptr), name.c_str());
  if (!handle) return {};
  BITMAP info{};
  GetObjectW(handle, sizeof info, &info);
  TBitmap picture;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc) {
    HGDIOBJ old = SelectObject(dc, handle);
    picture = ReadDcPixels(dc, Rect(0, 0, info.bmWidth, info.bmHeight));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  DeleteObject(handle);
  return picture;
}

}  // namespace

// ---------------------------------------------------------------- TSkinMP

const fw::TClassInfo& TSkinMP::StaticClass() {
  static const fw::TClassInfo info{L"TSkinMP", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinMP::~TSkinMP() {
  // Freed with its control: the overlay goes too.
  if (mp) mp->Release();
  mp = nullptr;
}

void TSkinMP::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acolor);
  if (!control || mp) return;
  mp = new TWMediaPlayer(sf);
  mp->Attach(this, control);
  mp->SetVisible(control->Visible());
}

void TSkinMP::Unsubclass() {
  TSkinControl::Unsubclass();
  // Also when the window is being destroyed: the overlay never outlives it.
  if (mp) mp->Release();
  mp = nullptr;
}

void TSkinMP::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (mp && control) mp->SetPosition(control);
      break;
    case fw::CM_VISIBLECHANGED:
      if (mp && control) mp->SetVisible(control->Visible());
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

// ---------------------------------------------------------------- TWMediaPlayer

const fw::TClassInfo& TWMediaPlayer::StaticClass() {
  static const fw::TClassInfo info{L"TWMediaPlayer", &fw::TPanel::StaticClass(), {}};
  return info;
}

TWMediaPlayer::TWMediaPlayer(fw::TComponent* owner) : fw::TPanel(owner) {
  SetBevelOuter(fw::bvNone);
  LoadGlyphs();
}

TWMediaPlayer::~TWMediaPlayer() {
  // Freed by its owner first: the skin object must not free it again.
  if (skincontrol && skincontrol->Is(TSkinMP::StaticClass())) {
    auto* owner = static_cast<TSkinMP*>(skincontrol);
    if (owner->mp == this) owner->mp = nullptr;
  }
}

void TWMediaPlayer::LoadGlyphs() {
  for (int b = 0; b < kMPButtonCount; ++b)
    for (int s = 0; s < 3; ++s)
      Buttons[static_cast<size_t>(b)].glyph[static_cast<size_t>(s)] = LoadModuleBitmap(MPGlyphName(s, b));
}

void TWMediaPlayer::Attach(TSkinControl* askin, fw::TWinControl* aObj) {
  obj = aObj;
  skincontrol = askin;
  fsd = askin ? askin->fsd : nullptr;
  // Binding must never skin the overlay itself.
  if (fsd) SetTag(fsd->DisableTag());
  SetPosition(aObj);
  SetParent(aObj ? aObj->Parent() : nullptr);
  if (HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::SetPosition(fw::TWinControl* aObj) {
  obj = aObj;
  if (!aObj) return;
  SetBounds(aObj->Left(), aObj->Top(), aObj->Width(), aObj->Height());
}

void TWMediaPlayer::Release() {
  obj = nullptr;
  skincontrol = nullptr;
  if (busy_ == 0) {
    delete this;
    return;
  }
  released_ = true;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

COLORREF TWMediaPlayer::Face() const {
  return fsd ? ResolveColor(fsd->Colors[3]) : GetSysColor(COLOR_BTNFACE);
}

void TWMediaPlayer::WndProc(fw::TMessage& message) {
  ++busy_;
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      break;
    case WM_ERASEBKGND:
      message.Result = 1;  // the paint covers every pixel
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click is a press too
      WMLButtonDown(message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(message);
      break;
    default:
      fw::TPanel::WndProc(message);
      break;
  }
  // Last: nothing of this object is touched after it is freed.
  if (--busy_ == 0 && released_) delete this;
}

void TWMediaPlayer::ReadButtons() {
  const TMPButtonSet visible = ParseMPButtonSet(obj ? fw::GetTextProp(*obj, L"VisibleButtons") : L"");
  const TMPButtonSet enabledSet = ParseMPButtonSet(obj ? fw::GetTextProp(*obj, L"EnabledButtons") : L"");
  const TMPButtonSet colored = ParseMPButtonSet(obj ? fw::GetTextProp(*obj, L"ColoredButtons") : L"");
  for (size_t b = 0; b < Buttons.size(); ++b) {
    Buttons[b].visible = visible[b];
    Buttons[b].enabled = enabledSet[b];
    Buttons[b].colored = colored[b];
  }
  count = CountMPButtons(visible);
}

void TWMediaPlayer::WMPaint(fw::TMessage&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  ReadButtons();
  if (count == 0) {
    FillColorRect(dc, client, Face());
    EndPaint(Handle(), &ps);
    return;
  }
  BtnWidth = MPButtonWidth(client.right, count);
  TDibSection buffer(client.right, client.bottom);
  if (buffer.Valid()) {
    FillColorRect(buffer.DC(), client, Face());
    int32_t x = 0;
    for (int b = 0; b < kMPButtonCount; ++b) {
      if (!Buttons[static_cast<size_t>(b)].visible) continue;
      DrawButton(buffer.DC(), b, Rect(x, 0, x + BtnWidth, client.bottom));
      x += BtnWidth;
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.DC(), 0, 0, SRCCOPY);
  }
  EndPaint(Handle(), &ps);
}

void TWMediaPlayer::DrawButton(HDC dc, int b, const TRect& r) {
  const TButtonEntry& entry = Buttons[static_cast<size_t>(b)];
  const int face = MPButtonFace(entry.enabled, IsDown, b == BtnClick);
  if (fsd && !fsd->Button.Map.Empty()) {
    const TDataSkinButton& button = fsd->Button;
    DrawSkinImage(dc, r, button.Map, button.r, face, button.frame, button.trans == 1, button.Tile != 0,
                  false);
  }
  TBitmap glyph = entry.glyph[static_cast<size_t>(MPGlyphIndex(entry.enabled, entry.colored))];
  if (glyph.Empty()) return;
  // Olive is the glyph's background: it takes the face colour.
  const TPixel facePixel = ColorToPixel(Face());
  for (int32_t y = 0; y < glyph.Height(); ++y)
    for (int32_t x = 0; x < glyph.Width(); ++x)
      if (glyph.Pixel(x, y) == kGlyphKey) glyph.SetPixel(x, y, facePixel);
  const int shift = face == 2 ? 1 : 0;
  BlitBitmap(dc, r.Left + (r.Width() - glyph.Width()) / 2 + shift, (r.Height() - glyph.Height()) / 2 + shift,
             glyph);
}

void TWMediaPlayer::WMLButtonDown(fw::TMessage& message) {
  IsDown = true;
  fw::TPanel::WndProc(message);
  // The control underneath does the work, as if it had been pressed itself.
  if (obj) obj->Perform(message.Msg, message.WParam, message.LParam);
  ReleaseCapture();
  BtnFocuse = HitMPButton(ButtonsVisible(), BtnWidth, LOWORD(message.LParam));
  BtnClick = BtnFocuse;
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TWMediaPlayer::WMLButtonUp(fw::TMessage& message) {
  IsDown = false;
  fw::TPanel::WndProc(message);
  BtnFocuse = HitMPButton(ButtonsVisible(), BtnWidth, LOWORD(message.LParam));
  // Released over the button that was pressed: a click for the control.
  if (BtnFocuse == BtnClick && obj) obj->Perform(message.Msg, message.WParam, message.LParam);
  BtnClick = BtnFocuse;
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

TMPButtonSet TWMediaPlayer::ButtonsVisible() const {
  TMPButtonSet visible{};
  for (size_t b = 0; b < Buttons.size(); ++b) visible[b] = Buttons[b].visible;
  return visible;
}

}  // namespace skin
