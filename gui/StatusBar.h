// A status bar with fixed-width panels (the last one takes the rest).
#pragma once

#include <vector>

#include "gui/Control.h"

namespace fw {

// Class identity only: every status bar.
struct TCustomStatusBar {
  static const TClassInfo& StaticClass();
};

class TStatusBar : public TWinControl {
  FW_CLASS(TStatusBar)
 public:
  explicit TStatusBar(TComponent* owner);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const std::wstring& PanelText(int i) const { return panels_.at(static_cast<size_t>(i)).text; }
  void SetPanelText(int i, const std::wstring& text);
  // "200,250,50": one panel per width.
  void SetPanelWidths(const std::wstring& widths);
  std::wstring PanelWidths() const;

  std::wstring Automation(const std::wstring& request) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void UpdateParts();
  struct Panel {
    int width;
    std::wstring text;
  };
  std::vector<Panel> panels_;
};

}  // namespace fw
