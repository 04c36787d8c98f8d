#include "skin/controls/ScrollGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace skin {

namespace {

// A stand-alone control whose maximum equals its minimum still needs a
// divisor; a huge one puts the thumb at the start.
constexpr int32_t kEmptyRange = 9999999;
constexpr int32_t kMinimumThumb = 8;

}  // namespace

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = std::llabs(product);
  int64_t divisor = std::llabs(static_cast<int64_t>(c));
  int64_t quotient = (magnitude + divisor / 2) / divisor;
  int64_t result = negative ? -quotient : quotient;
  if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min()) return -1;
  return static_cast<int32_t>(result);
}

TThumbSpan ControlThumb(int32_t len, int32_t cw, const TScrollValues& v, bool withMinimum) {
  int32_t range = v.max - v.min;
  if (range == 0) range = kEmptyRange;
  const bool atMinimum = v.pos == v.min;
  TThumbSpan t;
  int32_t length;
  if (v.page > 0) {
    length = MulDivRound(len - 2 * cw, v.page - 1, range);
    if (withMinimum && length < kMinimumThumb) {
      length = kMinimumThumb;
      t.top = atMinimum ? cw : MulDivRound(len - 2 * cw - kMinimumThumb, v.pos - v.min, range) + cw;
    } else {
      t.top = atMinimum ? cw : MulDivRound(len - 2 * cw, v.pos - v.min, range) + cw;
    }
  } else {
    length = cw;
    t.top = atMinimum ? cw : MulDivRound(len - 3 * cw, v.pos - v.min, range) + cw;
  }
  t.bottom = t.top + length;
  return t;
}

TScrollPart HitTestBar(int32_t along, int32_t cw, const TThumbSpan& thumb, int32_t len) {
  if (along < cw) return spLineUp;
  if (along < thumb.top) return spPageUp;
  if (along < thumb.bottom) return spThumbTrack;
  if (along < len - cw) return spPageDown;
  return spLineDown;
}

TThumbSpan TrackThumb(int32_t trackThumb, int32_t cursorMoved, int32_t length, int32_t cw, int32_t len) {
  int32_t top = trackThumb + cursorMoved;
  top = std::min(top, len - cw - length);
  top = std::max(top, cw);
  return TThumbSpan{top, top + length};
}

int32_t DropListDragPosition(int32_t offset0, int32_t moved, int32_t track, int32_t thumbLen,
                             const TScrollValues& v) {
  int32_t offset = std::max(offset0 + moved, 0);
  int32_t position;
  if (v.page > 0) {
    offset = std::min(offset, track - thumbLen + 1);
    position = MulDivRound(offset, v.max - v.min - v.page, track - thumbLen) + v.min;
    if (position >= v.max - v.page) position = v.max - v.page + 1;
  } else {
    offset = std::min(offset, track - thumbLen);
    position = std::min(MulDivRound(offset, v.max - v.min, track) + v.min, v.max);
  }
  return std::max(position, v.min);
}

int32_t DrawThickness(int32_t arrowImageHeight, int32_t cw) {
  return std::abs(arrowImageHeight - cw) > 2 ? cw : arrowImageHeight;
}

int32_t ArrowLength(int32_t len, int32_t cw) {
  return len < 2 * cw ? len / 2 : cw;
}

int ArrowImage(bool vertical, bool second, int32_t scrollpos, bool down) {
  int base = vertical ? (second ? 13 : 9) : (second ? 5 : 1);
  TScrollPart mine = second ? spLineDown : spLineUp;
  if (scrollpos != mine) return base;
  return base + (down ? 1 : 3);
}

int ThumbImage(int32_t scrollpos, bool down) {
  if (scrollpos != spThumbTrack) return 1;
  return down ? 2 : 3;
}

int GripImage(bool vertical, int32_t scrollpos, bool down) {
  int base = vertical ? 20 : 17;
  if (scrollpos != spThumbTrack) return base;
  return base + (down ? 1 : 2);
}

namespace {

// A rectangle spanning [from, to) along the bar and the whole thickness.
TRect Along(const TBarShape& s, int32_t from, int32_t to) {
  return s.vertical ? Rect(0, from, s.thickness, to) : Rect(from, 0, to, s.thickness);
}

bool InsideLength(int32_t along, int32_t len) {
  return along >= 0 && along <= len;
}

}  // namespace

TBarLayout LayoutBar(const TBarShape& s) {
  TBarLayout l;
  l.shaft = Along(s, s.cw, s.len - s.cw);
  int32_t a = ArrowLength(s.len, s.cw);
  l.firstArrow = Along(s, 0, a);
  l.secondArrow = Along(s, s.len - a, s.len);
  if (!s.enabled) return l;
  if (InsideLength(s.thumb.top, s.len) && InsideLength(s.thumb.bottom, s.len)) {
    l.hasThumb = true;
    l.thumb = Along(s, s.thumb.top, s.thumb.bottom);
  }
  int32_t thumbLength = s.thumb.Length();
  if (s.gripLength > 0 && thumbLength >= s.gripLength - 1) {
    int32_t from = s.thumb.top + (thumbLength - s.gripLength) / 2;
    int32_t to = from + s.gripLength;
    if (from >= 0 && to <= s.len) {
      l.hasGrip = true;
      l.grip = Along(s, from, to);
    }
  }
  return l;
}

}  // namespace skin
