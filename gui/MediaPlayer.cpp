#include "gui/MediaPlayer.h"

#include <windowsx.h>

#include <stdexcept>

#include "gui/Text.h"

namespace fw {

namespace {

constexpr const wchar_t* kNames[kMPBtnCount] = {L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
                                                L"btStep", L"btBack",  L"btRecord", L"btEject"};

std::wstring Trimmed(const std::wstring& s) {
  size_t b = s.find_first_not_of(L" \t");
  if (b == std::wstring::npos) return {};
  size_t e = s.find_last_not_of(L" \t");
  return s.substr(b, e - b + 1);
}

TMPBtnSet AllButtons() {
  TMPBtnSet set;
  set.fill(true);
  return set;
}

// The button's picture, drawn in `colour` inside `r` (a square of about half the button's height).
void DrawGlyph(HDC dc, int button, const RECT& r, COLORREF colour) {
  const int h = (r.bottom - r.top) / 2 > 4 ? (r.bottom - r.top) / 2 : 4;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const int s = h / 2;
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  auto triangle = [&](int left, int right, bool pointsRight) {
    POINT p[3];
    if (pointsRight) {
      p[0] = {left, cy - s};
      p[1] = {left, cy + s};
      p[2] = {right, cy};
    } else {
      p[0] = {right, cy - s};
      p[1] = {right, cy + s};
      p[2] = {left, cy};
    }
    Polygon(dc, p, 3);
  };
  auto bar = [&](int left, int right) { Rectangle(dc, left, cy - s, right, cy + s + 1); };
  switch (button) {
    case btPlay:
      triangle(cx - s / 2, cx + s, true);
      break;
    case btPause:
      bar(cx - s, cx - s / 3);
      bar(cx + s / 3, cx + s);
      break;
    case btStop:
      bar(cx - s, cx + s);
      break;
    case btNext:
      triangle(cx - s, cx + s / 2, true);
      bar(cx + s / 2, cx + s / 2 + 2);
      break;
    case btPrev:
      bar(cx - s / 2 - 2, cx - s / 2);
      triangle(cx - s / 2, cx + s, false);
      break;
    case btStep:
      triangle(cx - s, cx, true);
      triangle(cx, cx + s, true);
      break;
    case btBack:
      triangle(cx - s, cx, false);
      triangle(cx, cx + s, false);
      break;
    case btRecord:
      Ellipse(dc, cx - s, cy - s, cx + s, cy + s);
      break;
    case btEject: {
      POINT p[3] = {{cx - s, cy}, {cx + s, cy}, {cx, cy - s}};
      Polygon(dc, p, 3);
      Rectangle(dc, cx - s, cy + 2, cx + s, cy + s);
      break;
    }
    default:
      break;
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

std::wstring MPBtnSetText(const TMPBtnSet& set) {
  std::wstring text = L"[";
  for (int b = 0; b < kMPBtnCount; ++b) {
    if (!set[static_cast<size_t>(b)]) continue;
    if (text.size() > 1) text += L",";
    text += kNames[b];
  }
  return text + L"]";
}

TMPBtnSet ParseMPBtnSet(const std::wstring& text) {
  std::wstring body = Trimmed(text);
  if (body.size() < 2 || body.front() != L'[' || body.back() != L']')
    throw std::invalid_argument("a button set is written [btPlay,btStop]");
  body = body.substr(1, body.size() - 2);
  TMPBtnSet set{};
  size_t start = 0;
  while (!Trimmed(body).empty()) {
    size_t comma = body.find(L',', start);
    std::wstring name = Trimmed(body.substr(start, comma == std::wstring::npos ? comma : comma - start));
    int found = -1;
    for (int b = 0; b < kMPBtnCount; ++b)
      if (SameTextIgnoreCase(name, kNames[b])) found = b;
    if (found < 0) throw std::invalid_argument("unknown media-player button " + Utf8(name));
    set[static_cast<size_t>(found)] = true;
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return set;
}

const TClassInfo& TMediaPlayer::StaticClass() {
  static const TClassInfo info{
      L"TMediaPlayer",
      &TWinControl::StaticClass(),
      {
          TextProp(
              L"VisibleButtons",
              [](const TComponent& c) { return MPBtnSetText(As<TMediaPlayer>(c).VisibleButtons()); },
              [](TComponent& c, const std::wstring& v) {
                As<TMediaPlayer>(c).SetVisibleButtons(ParseMPBtnSet(v));
              }),
          TextProp(
              L"EnabledButtons",
              [](const TComponent& c) { return MPBtnSetText(As<TMediaPlayer>(c).EnabledButtons()); },
              [](TComponent& c, const std::wstring& v) {
                As<TMediaPlayer>(c).SetEnabledButtons(ParseMPBtnSet(v));
              }),
          TextProp(
              L"ColoredButtons",
              [](const TComponent& c) { return MPBtnSetText(As<TMediaPlayer>(c).ColoredButtons()); },
              [](TComponent& c, const std::wstring& v) {
                As<TMediaPlayer>(c).SetColoredButtons(ParseMPBtnSet(v));
              }),
      }};
  return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner)
    : TWinControl(owner), visible_(AllButtons()), enabled_(AllButtons()), colored_(AllButtons()) {
  SetBounds(0, 0, 253, 30);
}

void TMediaPlayer::SetVisibleButtons(const TMPBtnSet& set) {
  visible_ = set;
  Repaint();
}

void TMediaPlayer::SetEnabledButtons(const TMPBtnSet& set) {
  enabled_ = set;
  Repaint();
}

void TMediaPlayer::SetColoredButtons(const TMPBtnSet& set) {
  colored_ = set;
  Repaint();
}

void TMediaPlayer::Repaint() {
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

int TMediaPlayer::ButtonWidth() const {
  int count = 0;
  for (bool v : visible_) count += v ? 1 : 0;
  return count ? Width() / count : 0;
}

int TMediaPlayer::ButtonAt(int x) const {
  const int w = ButtonWidth();
  int left = 0;
  for (int b = 0; b < kMPBtnCount; ++b) {
    if (!visible_[static_cast<size_t>(b)]) continue;
    if (left <= x && x <= left + w) return b;
    left += w;
  }
  return -1;
}

void TMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return WMPaint(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return WMLButtonDown(m);
    case WM_LBUTTONUP:
      return WMLButtonUp(m);
    default:
      return TWinControl::WndProc(m);
  }
}

void TMediaPlayer::WMPaint(TMessage&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int w = ButtonWidth();
  int left = 0;
  for (int b = 0; b < kMPBtnCount; ++b) {
    if (!visible_[static_cast<size_t>(b)]) continue;
    RECT r{left, 0, left + w, client.bottom};
    const bool on = enabled_[static_cast<size_t>(b)] && Enabled();
    UINT state = DFCS_BUTTONPUSH | (b == pressed_ ? DFCS_PUSHED : 0) | (on ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &r, DFC_BUTTON, state);
    COLORREF colour = !on                                ? GetSysColor(COLOR_GRAYTEXT)
                      : colored_[static_cast<size_t>(b)] ? RGB(0, 128, 0)
                                                         : GetSysColor(COLOR_BTNTEXT);
    if (b == pressed_) OffsetRect(&r, 1, 1);
    DrawGlyph(dc, b, r, colour);
    left += w;
  }
  EndPaint(Handle(), &ps);
}

void TMediaPlayer::WMLButtonDown(TMessage& m) {
  pressed_ = ButtonAt(GET_X_LPARAM(m.LParam));
  // Held until the release, wherever the mouse goes.
  SetCapture(Handle());
  Repaint();
  TWinControl::WndProc(m);
}

void TMediaPlayer::WMLButtonUp(TMessage& m) {
  if (GetCapture() == Handle()) ReleaseCapture();
  const int released = ButtonAt(GET_X_LPARAM(m.LParam));
  const int pressed = pressed_;
  pressed_ = -1;
  Repaint();
  TWinControl::WndProc(m);
  if (pressed < 0 || released != pressed || !Enabled() || !enabled_[static_cast<size_t>(pressed)]) return;
  if (OnClick) OnClick(this, static_cast<TMPBtnType>(pressed));
}

}  // namespace fw
