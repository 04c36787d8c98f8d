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
      }};
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {}

void TStatusBar::CreateParams(TCreateParams& params) {
  params.className = STATUSCLASSNAMEW;
  params.ownClass = false;
  // Our docking places it; the native bar must not move itself.
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
}

void TStatusBar::CreateWnd() {
  UpdateParts();
  for (int i = 0; i < PanelCount(); ++i) SetPanelText(i, panels_[static_cast<size_t>(i)].text);
}

void TStatusBar::SetPanelWidths(const std::wstring& widths) {
  std::vector<Panel> panels;
  std::wstringstream in(widths);
  std::wstring item;
  while (std::getline(in, item, L',')) {
    try {
      panels.push_back({std::stoi(item), L""});
    } catch (const std::exception&) {
      throw std::invalid_argument(Utf8(L"状态栏面板宽度无效: " + widths));
    }
  }
  panels_ = panels;
  UpdateParts();
}

std::wstring TStatusBar::PanelWidths() const {
  std::wstring out;
  for (const Panel& p : panels_) out += (out.empty() ? L"" : L",") + std::to_wstring(p.width);
  return out;
}

void TStatusBar::UpdateParts() {
  if (!HandleAllocated() || panels_.empty()) return;
  std::vector<int> edges;
  int right = 0;
  for (const Panel& p : panels_) edges.push_back(right += p.width);
  edges.back() = -1;
  SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::SetPanelText(int i, const std::wstring& text) {
  panels_.at(static_cast<size_t>(i)).text = text;
  if (HandleAllocated())
    SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TStatusBar::Automation(const std::wstring& request) {
  if (request.rfind(L"panel:", 0) == 0) {
    int i = _wtoi(request.c_str() + 6);
    return i >= 0 && i < PanelCount() ? PanelText(i) : L"";
  }
  return TWinControl::Automation(request);
}

}  // namespace fw
