#include <memory>

#include "skin/controls/BarLayout.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

bool HasImage(const std::unique_ptr<TDataSkinObject>& element) {
  return element && !element->Map.Empty();
}

}  // namespace

const fw::TClassInfo& TSkinTrackBar::StaticClass() {
  static const fw::TClassInfo info{L"TSkinTrackBar", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinTrackBar::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  TSkinControl::Init(sf, sd, acolor);
}

void TSkinTrackBar::Unsubclass() {
  TSkinControl::Unsubclass();
}

bool TSkinTrackBar::Vertical() const {
  return (GetWindowLongW(hwnd, GWL_STYLE) & TBS_VERT) != 0;
}

bool TSkinTrackBar::BeforeProc(fw::TMessage& message) {
  const bool notify = message.Msg == WM_NOTIFY || message.Msg == fw::CN_NOTIFY;
  // WM_SKINDONE shares the reflected notification's value and carries no header.
  if (!notify || (message.Msg == WM_SKINDONE && static_cast<uint32_t>(message.LParam) == SKIN_MAGIC))
    return TSkinControl::BeforeProc(message);
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != hwnd) return true;
  message.Result = TrackCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
  return false;
}

LRESULT TSkinTrackBar::TrackCustomDraw(const NMCUSTOMDRAW& draw) {
  switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      switch (draw.dwItemSpec) {
        case TBCD_THUMB:
          DrawTrackThumb(draw.hdc);
          return CDRF_SKIPDEFAULT;
        case TBCD_CHANNEL:
          DrawTrackChannel(draw.hdc);
          return CDRF_SKIPDEFAULT;
        default:
          return CDRF_DODEFAULT;  // the tick marks: the control draws them
      }
    default:
      return 0;
  }
}

void TSkinTrackBar::DrawTrackChannel(HDC dc) {
  if (!fsd) return;
  RECT reported{};
  SendMessageW(hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
  const bool vertical = Vertical() && HasImage(fsd->TrackBarVert);
  const TDataSkinObject* channel = vertical ? fsd->TrackBarVert.get() : fsd->TrackBar.get();
  // Without a channel image nothing is drawn, and the default drawing stays skipped.
  if (!channel || channel->Map.Empty()) return;
  TDibSection image(channel->Map);
  if (!image.Valid()) return;
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  for (const TSliceCopy& s :
       ChannelSlices(ToTRect(reported), vertical, channel->Map.Width(), channel->Map.Height(), channel->r))
    StretchBlt(dc, s.dst.Left, s.dst.Top, s.dst.Width(), s.dst.Height(), image.DC(), s.src.Left, s.src.Top,
               s.src.Width(), s.src.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void TSkinTrackBar::DrawTrackThumb(HDC dc) {
  if (!IsWindow(hwnd) || !fsd) return;
  RECT thumb{};
  SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TDataSkinObject* image = nullptr;
  if (Vertical() && fsd->TrackVert)
    image = fsd->TrackVert.get();
  else if (fsd->TrackHorz)
    image = fsd->TrackHorz.get();
  if (image) {
    // Image 2 of 5 in every state of the thumb, dragged or not.
    DrawSkinMap1(dc, thumb, image->Map, 2, 5);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, SkinColor(7));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void TSkinTrackBar::SkinChange() {
  // The control draws itself: taking the focus makes it paint again, with
  // the new skin's answers; the focus then goes back where it was.
  HWND previous = GetFocus();
  SetFocus(hwnd);
  if (previous && previous != hwnd) SetFocus(previous);
}

}  // namespace skin
