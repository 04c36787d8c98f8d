#include "skin/controls/CheckFrames.h"

#include <algorithm>
#include <cwctype>

#include "skin/form/SkinImage.h"

namespace skin {

namespace {

std::wstring Lowered(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return text;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

// The four-images-per-state strips keep the checked and the disabled
// images at the start of their groups.
int RemapFourPerState(int state) {
  switch (state) {
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return state;
  }
}

}  // namespace

TCheckState CheckStateOf(bool windowChecked, bool windowIndeterminate, const TCheckProps* props) {
  TCheckState result;
  result.state = windowChecked ? 2 : 1;
  result.indeterminate = windowIndeterminate;
  if (props) {
    if (props->state) {
      std::wstring value = Lowered(*props->state);
      // "uncheck" first: "checked" is part of "unchecked".
      if (Contains(value, L"uncheck")) {
        result.state = 1;
      } else if (Contains(value, L"check")) {
        result.state = 2;
      } else if (Contains(value, L"gray")) {
        result.state = 4;
        result.indeterminate = true;
      }
    } else if (props->checked) {
      result.state = Lowered(*props->checked) == L"true" ? 2 : 1;
    }
    if (props->hasDataField && props->dataState != 0) {
      result.state = props->dataState == 3 ? 4 : props->dataState;
      if (props->dataState == 3) result.indeterminate = true;
    }
    if (props->hasDataBinding) {
      result.state = 1;
      result.indeterminate = false;
    }
  }
  if (result.indeterminate) result.state = 4;
  return result;
}

int CheckImageIndex(const TCheckState& state, bool disabled, int frames) {
  int image = state.state;
  if (state.indeterminate) {
    if (frames == 12) return disabled ? 12 : 9;
    return 4;
  }
  if (disabled) image += 2;
  return frames == 12 ? RemapFourPerState(image) : image;
}

int RadioImageIndex(bool checked, bool disabled, int frames) {
  int image = (checked ? 2 : 1) + (disabled ? 2 : 0);
  return frames == 8 ? RemapFourPerState(image) : image;
}

TCheckLayout CheckLayout(const TRect& rc, int32_t imageWidth, int32_t imageHeight, bool leftText, bool rtl,
                         bool radio) {
  TCheckLayout layout;
  int32_t top = rc.Top + (rc.Height() - imageHeight) / 2;
  if (!leftText) {
    layout.image = Rect(rc.Left, top, rc.Left + imageWidth, top + imageHeight);
    layout.text = Rect(rc.Left + imageWidth + 2, rc.Top, rc.Right, rc.Bottom);
    layout.format = rtl ? kTextRtlReading : 0;
  } else {
    // A radio image ends one pixel inside the control, a check image at its edge.
    int32_t right = radio ? rc.Right - 1 : rc.Right;
    layout.image = Rect(right - imageWidth, top, right, top + imageHeight);
    layout.text = Rect(rc.Left, rc.Top, rc.Right - imageWidth - 2, rc.Bottom);
    layout.format = rtl ? kTextRtlReading | kTextRight : 0;
  }
  layout.format |= kTextExpandTabs | kTextWordBreak;
  return layout;
}

TRect CenterCheckText(const TRect& text, int32_t measuredHeight) {
  int32_t dy = (text.Height() - measuredHeight) / 2;
  return Rect(text.Left, text.Top + dy, text.Right, text.Bottom + dy);
}

TGroupFrameLayout GroupFrameLayout(const TRect& rc, int32_t textHeight, bool rightAligned) {
  TGroupFrameLayout layout;
  int32_t lineTop = textHeight / 2 - 1;
  layout.wipe = Rect(0, lineTop, rc.Right, rc.Bottom);
  layout.frame = Rect(1, lineTop, rc.Right - 1, rc.Bottom - 1);
  if (rightAligned) {
    layout.caption = Rect(rc.Left, rc.Top, rc.Right - 8, rc.Bottom);
    layout.format = kTextExpandTabs | kTextRight;
  } else {
    layout.caption = Rect(rc.Left + 8, rc.Top, rc.Right, rc.Bottom);
    layout.format = kTextExpandTabs;
  }
  return layout;
}

std::vector<int> GlyphSlotSources(int glyphKind, int skinFrames) {
  bool fifth = skinFrames == 5;
  switch (glyphKind) {
    case 1:
      return {1, 2, fifth ? 5 : 0, 1, 2, fifth ? 5 : 0, 3, 4, fifth ? 5 : 0};
    case 2:
      return {1, 2, 1, 2, 3, 4};
    case 3:
      return {1, 2, fifth ? 5 : 0, 1, 2, fifth ? 5 : 0};
    default:
      return {};
  }
}

TBitmap BuildGlyphStrip(const TBitmap& skinStrip, int skinFrames, int glyphKind) {
  std::vector<int> sources = GlyphSlotSources(glyphKind, skinFrames);
  int frames = std::max(skinFrames, 1);
  int32_t slotWidth = skinStrip.Width() / frames;
  if (sources.empty() || skinStrip.Empty() || slotWidth <= 0) return {};
  TBitmap strip(slotWidth * static_cast<int32_t>(sources.size()), skinStrip.Height());
  for (size_t slot = 0; slot < sources.size(); ++slot) {
    if (sources[slot] == 0) continue;
    TRect image = StripFrameRect(skinStrip, sources[slot], frames, false);
    CopyRect(strip, slotWidth * static_cast<int32_t>(slot), 0, skinStrip, image);
  }
  return strip;
}

}  // namespace skin
