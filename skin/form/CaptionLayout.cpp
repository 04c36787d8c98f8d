#include "skin/form/CaptionLayout.h"

#include <algorithm>

namespace skin {
namespace {

int32_t FrameCount(int32_t frame) {
  return frame < 1 ? 1 : frame;
}

TRect Offset(TRect r, int32_t dx, int32_t dy) {
  return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

}  // namespace

TRect BorderWidths(const std::array<TDataSkinBorder, 5>& border, bool frameless) {
  if (frameless) return TRect{};
  return Rect(border[1].Map.Width() / FrameCount(border[1].frame),
              border[3].Map.Height() / FrameCount(border[3].frame),
              border[2].Map.Width() / FrameCount(border[2].frame),
              border[4].Map.Height() / FrameCount(border[4].frame));
}

TFramePieces FramePieces(int32_t width, int32_t height, const TRect& bw, int32_t menuHeight) {
  TFramePieces p;
  p.left = Rect(0, 0, bw.Left, height);
  p.right = Rect(width - bw.Right, 0, width, height);
  p.bottom = Rect(bw.Left, height - bw.Bottom, width - bw.Right, height);
  p.caption = Rect(0, 0, width, bw.Top);
  p.title = Rect(bw.Left, 0, width - bw.Right, bw.Top);
  p.menuBand = Rect(bw.Left, bw.Top, width - bw.Right, bw.Top + menuHeight);
  return p;
}

bool VisibilityRule(int code, bool second, int action, const TCaptionWindowFacts& f) {
  switch (code) {
    case 0:
      return true;
    case 1:
      return f.maximized;
    case 2:
      return !f.maximized;
    case 3:
      return f.active;
    case 4:
      return !f.active;
    case 6:
    case 8:
      return second ? (f.hasMin || f.hasMax) : ((f.hasMin || f.hasMax) && f.hasSystem);
    case 7:
      return !f.hasMax;
    case 9:
      return !f.hasMin;
    case 10:
      return second ? f.hasHelp : (f.hasHelp && !f.hasMin && !f.hasMax);
    case 100:
      return f.mdiChildMaximized;
    case 200:
      return !second && !f.messageBox && f.dialogFrame;
    default:
      break;
  }
  if (code >= 201 && code <= 999) return !second;
  if (code >= 1000 && code <= 2000) return !second && f.ask && f.ask(code, action) > 0;
  return false;
}

TCaptionButtonShow CaptionButtonShow(const TDataSkinSysButton& e, const TCaptionWindowFacts& f) {
  bool a = VisibilityRule(e.Visibility, false, e.Action, f);
  // Code 100 in the second column repeats whatever the first one decided.
  bool b = e.Visibility1 == 100 ? a : VisibilityRule(e.Visibility1, true, e.Action, f);
  TCaptionButtonShow show;
  show.visible = a && b;
  switch (e.Action) {
    case 0:
      if (!f.hasSystem) show.visible = false;
      break;
    case 1:
      show.enabled = f.hasMax && f.hasSystem;
      break;
    case 2:
      show.enabled = f.hasMin && f.hasSystem;
      break;
    case 3:
    case 11:
    case 12:
      // A dialog frame has no window icon and no system-menu button.
      if (f.dialogFrame) show.visible = false;
      break;
    default:
      break;
  }
  return show;
}

TRect PlaceCaptionButton(const TDataSkinSysButton& e, const TCaptionGeometry& g) {
  const int32_t w = e.Map.Width() / FrameCount(e.frame);
  const int32_t h = e.Map.Height();
  const TRect r = Rect(0, 0, w, h);
  switch (e.Align) {
    case 0:
      return Offset(r, e.XCoord, e.YCoord);
    case 1:
      return Offset(r, g.windowWidth - e.XCoord, e.YCoord);
    case 2:
    case 8:
      return Offset(r, g.title.Left - w - e.XCoord, e.YCoord);
    case 3:
    case 9:
      return Offset(r, g.title.Right + e.XCoord, e.YCoord);
    case 100:
      return Offset(r, g.windowWidth - e.XCoord - g.bw.Right - g.menuBarLeftMargin,
                    g.bw.Top + (g.menuHeight - h) / 2);
    default:
      return r;
  }
}

int HitCaptionButton(const std::vector<TCaptionButtonHit>& buttons, int32_t x, int32_t y) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    const TCaptionButtonHit& b = buttons[i];
    if (!b.visible || b.action < 0) continue;
    if (x >= b.bounds.Left && x < b.bounds.Right && y >= b.bounds.Top && y < b.bounds.Bottom)
      return static_cast<int>(i);
  }
  return -1;
}

int CaptionButtonImage(int frames, bool windowActive, bool enabled) {
  return frames < 4 || (windowActive && enabled) ? 1 : 4;
}

int CaptionButtonStateImage(int state, bool enabled, int frames, int visibility) {
  int s = state;
  if (!enabled) s = frames > 3 ? 4 : 1;
  if (visibility == 100 && s == 3) s = 4;
  return s;
}

std::wstring CaptionButtonHint(int action) {
  switch (action) {
    case 0:
    case 9:
    case 62:
      return L"Close";
    case 1:
    case 22:
      return L"Maximize";
    case 2:
    case 7:
    case 23:
    case 60:
      return L"Minimize";
    case 8:
    case 61:
      return L"Restore";
    default:
      return {};
  }
}

int32_t RightButtonReserve(const std::vector<TCaptionButtonReserve>& buttons) {
  int32_t reserve = 0;
  for (const TCaptionButtonReserve& b : buttons)
    if (b.align == 1 && b.visible && b.hasImage) reserve = std::max(reserve, b.xcoord);
  return reserve;
}

TTitlePlacement PlaceTitle(const TTitleInput& in) {
  static const TDataSkinTitle kNoTitle;
  const TDataSkinTitle& title = in.element ? *in.element : kNoTitle;
  const TRect& r = in.caption;
  TRect t = Rect(r.Left, r.Top, r.Left + in.textWidth, r.Top + in.textHeight);
  t.Right += title.backleft + title.backright;

  const int32_t rw = r.Width();
  const int32_t tw = t.Width();
  int32_t x = 0;
  if (!in.rightToLeft) {
    switch (title.Aligment) {
      case 0:
        x = title.r.Left;
        break;
      case 1:
        x = (rw - tw) / 2;
        break;
      case 2:
        x = rw - title.r.Right - tw;
        break;
      default:
        break;
    }
  } else {
    switch (title.Aligment) {
      case 0:
        x = rw - in.rightButtons - tw;
        break;
      case 1:
        x = (rw - tw - in.rightButtons) / 2;
        break;
      case 2:
        x = title.r.Left;
        break;
      default:
        break;
    }
  }
  const int32_t y = (r.Height() - t.Height()) / 2 + title.r.Top / 2;
  t = Offset(t, x, y);
  if (in.rightToLeft && x <= 0) t.Left = title.r.Left;

  if (in.rightToLeft) {
    t = Offset(t, 10, 0);
  } else if (in.popup) {
    // Popups keep the text clear of the right-anchored buttons themselves.
    if (in.rightButtons > 5 && r.Right - in.rightButtons - 5 < t.Right)
      t.Right = r.Right - in.rightButtons - 5;
  } else {
    t.Right = std::min(t.Right, r.Right - title.r.Right);
  }
  // A dialog frame shows no icon before a left-aligned title.
  if (in.dialogFrame && title.Aligment == 0) t.Left -= 16;

  TTitlePlacement p;
  p.back = t;
  p.text = Rect(t.Left + title.backleft, t.Top, t.Right - title.backright, t.Bottom);
  return p;
}

int32_t IconTop(const TRect& titleText, int32_t iconSize) {
  return titleText.Top + titleText.Height() / 2 - iconSize / 2;
}

}  // namespace skin
