#include "gui/MenuButton.h"

#include <algorithm>
#include <stdexcept>

#include "gui/Menus.h"

namespace fw {

const TClassInfo& TMenuButton::StaticClass() {
  static const TClassInfo info{
      L"TMenuButton",
      &TButton::StaticClass(),
      {
          ObjProp<TPopupMenu>(
              L"DropdownMenu", [](const TComponent& c) { return As<TMenuButton>(c).DropdownMenu(); },
              [](TComponent& c, const std::wstring& name) {
                auto& button = As<TMenuButton>(c);
                button.menu_ = nullptr;
                button.menuName_ = name;
              }),
          ObjProp<TBitmap>(L"Glyph",
                           [](const TComponent& c) {
                             auto& b = const_cast<TMenuButton&>(As<TMenuButton>(c));
                             return b.Glyph().Empty() ? nullptr : &b.Glyph();
                           }),
          IntProp(
              L"Margin", [](const TComponent& c) { return As<TMenuButton>(c).Margin(); },
              [](TComponent& c, int v) { As<TMenuButton>(c).SetMargin(v); }),
          IntProp(
              L"Spacing", [](const TComponent& c) { return As<TMenuButton>(c).Spacing(); },
              [](TComponent& c, int v) { As<TMenuButton>(c).SetSpacing(v); }),
      }};
  return info;
}

TMenuButton::TMenuButton(TComponent* owner) : TButton(owner) {}

TPopupMenu* TMenuButton::DropdownMenu() const {
  if (menu_ || menuName_.empty() || !Owner()) return menu_;
  TComponent* named = Owner()->FindComponent(menuName_);
  return named && named->Is(TPopupMenu::StaticClass()) ? static_cast<TPopupMenu*>(named) : nullptr;
}

void TMenuButton::SetDropdownMenu(TPopupMenu* menu) {
  menu_ = menu;
  menuName_.clear();
}

void TMenuButton::SetGlyph(const TBitmap& glyph) {
  glyph_.Assign(glyph);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TMenuButton::SetMargin(int margin) {
  margin_ = std::max(-1, margin);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TMenuButton::SetSpacing(int spacing) {
  spacing_ = std::max(-1, spacing);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

bool TMenuButton::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) {
  if (name != L"Glyph.Data") return TButton::ReadBinaryProperty(name, data);
  if (!glyph_.LoadFromDefinitionData(data)) throw std::invalid_argument("Glyph.Data 不是位图");
  return true;
}

void TMenuButton::Click() {
  if (TPopupMenu* menu = DropdownMenu(); menu && HandleAllocated()) {
    RECT r;
    GetWindowRect(Handle(), &r);
    menu->Popup(r.left, r.bottom, Handle());
  }
  TButton::Click();
}

void TMenuButton::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.style = WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW;
}

void TMenuButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      return CNDrawItem(m);
    case WM_GETDLGCODE:
      return WMGetDlgCodeWantingEnter(m);
    case WM_KEYDOWN:
      if (m.WParam == VK_RETURN) return Click();
      return TButton::WndProc(m);
    default:
      return TButton::WndProc(m);
  }
}

void TMenuButton::CNDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  HDC dc = item->hDC;
  bool enabled = (item->itemState & ODS_DISABLED) == 0;
  int saved = SaveDC(dc);
  RECT inside = DrawOwnerDrawnFace(*item);
  // The arrow takes the right end; glyph and caption share the rest.
  constexpr int kArrowRoom = 14;
  RECT arrowArea = inside;
  arrowArea.left = std::max(inside.left, inside.right - kArrowRoom);
  inside.right = arrowArea.left;
  SelectObject(dc, Font().Handle());
  TGlyphButtonLook look;
  look.glyph = &glyph_;
  look.caption = Caption();
  look.margin = margin_;
  look.spacing = spacing_;
  look.enabled = enabled;
  look.textColour = Font().Color();
  RECT text = DrawGlyphAndCaption(dc, inside, look);
  int x = (arrowArea.left + arrowArea.right) / 2, y = (arrowArea.top + arrowArea.bottom) / 2;
  POINT arrow[3] = {{x - 3, y - 1}, {x + 3, y - 1}, {x, y + 2}};
  COLORREF ink = enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, arrow, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  DrawOwnerDrawnFocus(dc, *item, text);
  RestoreDC(dc, saved);
  m.Result = TRUE;
}

}  // namespace fw
