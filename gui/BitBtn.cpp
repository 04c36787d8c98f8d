#include "gui/BitBtn.h"

#include <algorithm>
#include <stdexcept>

namespace fw {

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i{L"TBitBtn", &TButton::StaticClass(), GlyphButtonProps<TBitBtn>()};
    i.props.push_back(EnumProp(
        L"Kind",
        {L"bkCustom", L"bkOK", L"bkCancel", L"bkHelp", L"bkYes", L"bkNo", L"bkClose", L"bkAbort", L"bkRetry",
         L"bkIgnore", L"bkAll"},
        [](const TComponent& c) { return static_cast<int>(As<TBitBtn>(c).Kind()); },
        [](TComponent& c, int v) { As<TBitBtn>(c).SetKind(static_cast<TBitBtnKind>(v)); }));
    return i;
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::GlyphChanged() {
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

bool TBitBtn::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) {
  return ReadGlyphData(name, data) || TButton::ReadBinaryProperty(name, data);
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.style = WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      return CNDrawItem(m);
    case WM_GETDLGCODE:
      return WMGetDlgCodeWantingEnter(m);
    case WM_KEYDOWN:
      // The dialog keys let Enter through to a focused bit button (see WMGetDlgCode).
      if (m.WParam == VK_RETURN) {
        Click();
        return;
      }
      return TButton::WndProc(m);
    default:
      return TButton::WndProc(m);
  }
}

void TBitBtn::CNDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  HDC dc = item->hDC;
  bool pressed = (item->itemState & ODS_SELECTED) != 0;
  bool enabled = (item->itemState & ODS_DISABLED) == 0;
  int saved = SaveDC(dc);
  RECT inside = DrawOwnerDrawnFace(*item);
  SelectObject(dc, Font().Handle());
  TGlyphButtonLook look = GlyphLook();
  look.glyphIndex = !enabled ? 1 : pressed ? 2 : 0;
  look.caption = Caption();
  look.enabled = enabled;
  look.textColour = Font().Color();
  DrawOwnerDrawnFocus(dc, *item, DrawGlyphAndCaption(dc, inside, look));
  RestoreDC(dc, saved);
  m.Result = TRUE;
}

}  // namespace fw
