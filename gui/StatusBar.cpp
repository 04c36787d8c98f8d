#include "gui/StatusBar.h"

#include <commctrl.h>

#include <sstream>
#include <stdexcept>

#include "gui/Text.h"

namespace fw {

const TClassInfo& TCustomStatusBar::StaticClass() {
  static const TClassInfo info{L"TCustomStatusBar", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TStatusBar::StaticClass() {
  static const TClassInfo info{
      L"TStatusBar",
      &TCustomStatusBar::StaticClass(),
      {
          TextProp(
              L"Panels", [](const TComponent& c) { return As<TStatusBar>(c).PanelWidths(); },
              [](TComponent& c, const std::wstring& v) { As<TStatusBar>(c).SetPanelWidths(v); }),
          BoolProp(
              L"SimplePanel", [](const TComponent& c) { return As<TStatusBar>(c).SimplePanel(); },
              [](TComponent& c, bool v) { As<TStatusBar>(c).SetSimplePanel(v); }),
          TextProp(
              L"SimpleText", [](const TComponent& c) { return As<TStatusBar>(c).SimpleText(); },
              [](TComponent& c, const std::wstring& v) { As<TStatusBar>(c).SetSimpleText(v); }),
          EnumProp(
              L"BiDiMode", {L"bdLeftToRight", L"bdRightToLeft"},
              [](const TComponent& c) { return static_cast<int>(As<TStatusBar>(c).BiDiMode()); },
              [](TComponent& c, int v) { As<TStatusBar>(c).SetBiDiMode(static_cast<TBiDiMode>(v)); }),
          BoolProp(
              L"SizeGrip", [](const TComponent& c) { return As<TStatusBar>(c).SizeGrip(); },
              [](TComponent& c, bool v) { As<TStatusBar>(c).SetSizeGrip(v); }),
      }};
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {}

void TStatusBar::CreateParams(TCreateParams& params) {
  params.className = STATUSCLASSNAMEW;
  params.ownClass = false;
  // Our docking places it; the native bar must not move itself.
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
  if (sizeGrip_) params.style |= SBARS_SIZEGRIP;
  if (biDiMode_ == bdRightToLeft) params.exStyle |= WS_EX_RTLREADING;
}

void TStatusBar::CreateWnd() {
  UpdateParts();
  for (int i = 0; i < PanelCount(); ++i) SendPanel(i);
  SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetPanelWidths(const std::wstring& widths) {
  std::vector<TStatusPanel> panels;
  std::wstringstream in(widths);
  std::wstring item;
  while (std::getline(in, item, L',')) {
    TStatusPanel p;
    try {
      p.width = std::stoi(item);
    } catch (const std::exception&) {
      throw std::invalid_argument(Utf8(L"状态栏面板宽度无效: " + widths));
    }
    panels.push_back(p);
  }
  panels_ = panels;
  UpdateParts();
}

std::wstring TStatusBar::PanelWidths() const {
  std::wstring out;
  for (const TStatusPanel& p : panels_) out += (out.empty() ? L"" : L",") + std::to_wstring(p.width);
  return out;
}

void TStatusBar::UpdateParts() {
  if (!HandleAllocated()) return;
  // A bar without panels shows its simple text.
  SendMessageW(Handle(), SB_SIMPLE, simplePanel_ || panels_.empty(), 0);
  if (panels_.empty()) return;
  std::vector<int> edges;
  int right = 0;
  for (const TStatusPanel& p : panels_) edges.push_back(right += p.width);
  edges.back() = -1;
  SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

// The native bar takes the panel's look with its text: tabs before the text
// centre or right-align it, flags give the bevel and owner drawing.
void TStatusBar::SendPanel(int i) {
  if (!HandleAllocated()) return;
  const TStatusPanel& p = Panel(i);
  WPARAM flags = static_cast<WPARAM>(i);
  if (p.bevel == pbNone) flags |= SBT_NOBORDERS;
  if (p.bevel == pbRaised) flags |= SBT_POPOUT;
  if (p.biDiMode == bdRightToLeft) flags |= SBT_RTLREADING;
  if (p.style == psOwnerDraw) {
    // The text is not shown: the handler draws the panel.
    SendMessageW(Handle(), SB_SETTEXTW, flags | SBT_OWNERDRAW, static_cast<LPARAM>(i));
    return;
  }
  std::wstring shown = p.alignment == TAlignment::taCenter         ? L"\t" + p.text
                       : p.alignment == TAlignment::taRightJustify ? L"\t\t" + p.text
                                                                   : p.text;
  SendMessageW(Handle(), SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(shown.c_str()));
}

void TStatusBar::SetPanelText(int i, const std::wstring& text) {
  panels_.at(static_cast<size_t>(i)).text = text;
  SendPanel(i);
}

void TStatusBar::SetPanelAlignment(int i, TAlignment alignment) {
  panels_.at(static_cast<size_t>(i)).alignment = alignment;
  SendPanel(i);
}

void TStatusBar::SetPanelBiDiMode(int i, TBiDiMode mode) {
  panels_.at(static_cast<size_t>(i)).biDiMode = mode;
  SendPanel(i);
}

void TStatusBar::SetPanelBevel(int i, TStatusPanelBevel bevel) {
  panels_.at(static_cast<size_t>(i)).bevel = bevel;
  SendPanel(i);
}

void TStatusBar::SetPanelStyle(int i, TStatusPanelStyle style) {
  panels_.at(static_cast<size_t>(i)).style = style;
  SendPanel(i);
}

void TStatusBar::SetSimplePanel(bool on) {
  simplePanel_ = on;
  if (HandleAllocated()) SendMessageW(Handle(), SB_SIMPLE, on || panels_.empty(), 0);
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
  simpleText_ = text;
  if (HandleAllocated())
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetBiDiMode(TBiDiMode mode) {
  biDiMode_ = mode;
  if (!HandleAllocated()) return;
  LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  ex = mode == bdRightToLeft ? (ex | WS_EX_RTLREADING) : (ex & ~static_cast<LONG_PTR>(WS_EX_RTLREADING));
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TStatusBar::WndProc(TMessage& msg) {
  if (msg.Msg == CN_DRAWITEM) return CNDrawItem(msg);
  TWinControl::WndProc(msg);
}

void TStatusBar::CNDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  int i = static_cast<int>(item->itemID);
  if (OnDrawPanel && i >= 0 && i < PanelCount()) OnDrawPanel(*this, i, item->hDC, item->rcItem);
  m.Result = TRUE;
}

std::wstring TStatusBar::Automation(const std::wstring& request) {
  if (request.rfind(L"panel:", 0) == 0) {
    int i = _wtoi(request.c_str() + 6);
    return i >= 0 && i < PanelCount() ? PanelText(i) : L"";
  }
  return TWinControl::Automation(request);
}

}  // namespace fw
