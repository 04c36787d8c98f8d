// A status bar with fixed-width panels (the last one takes the rest), or one
// simple text across the whole bar.
#pragma once

#include <functional>
#include <vector>

#include "gui/Control.h"

namespace fw {

// Class identity only: every status bar.
struct TCustomStatusBar {
  static const TClassInfo& StaticClass();
};

// Scoped: push buttons name their two alignments the same way.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
  int width = 0;
  std::wstring text;
  TAlignment alignment = TAlignment::taLeftJustify;
  TBiDiMode biDiMode = bdLeftToRight;
  TStatusPanelBevel bevel = pbLowered;
  TStatusPanelStyle style = psText;
};

class TStatusBar;
// Draws panel `panel` of an owner-drawn bar onto dc inside rect.
using TDrawPanelEvent = std::function<void(TStatusBar& bar, int panel, HDC dc, const RECT& rect)>;

class TStatusBar : public TWinControl {
  FW_CLASS(TStatusBar)
 public:
  explicit TStatusBar(TComponent* owner);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const TStatusPanel& Panel(int i) const { return panels_.at(static_cast<size_t>(i)); }
  const std::wstring& PanelText(int i) const { return Panel(i).text; }
  void SetPanelText(int i, const std::wstring& text);
  void SetPanelAlignment(int i, TAlignment alignment);
  void SetPanelBiDiMode(int i, TBiDiMode mode);
  void SetPanelBevel(int i, TStatusPanelBevel bevel);
  void SetPanelStyle(int i, TStatusPanelStyle style);
  // "200,250,50": one panel per width.
  void SetPanelWidths(const std::wstring& widths);
  std::wstring PanelWidths() const;

  // One text across the whole bar instead of the panels.
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool on);
  const std::wstring& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::wstring& text);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  // Whether the bar shows a size grip at its right end.
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool on) { sizeGrip_ = on; }

  // Called for the owner-drawn panels (psOwnerDraw).
  TDrawPanelEvent OnDrawPanel;

  std::wstring Automation(const std::wstring& request) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void UpdateParts();
  void SendPanel(int i);
  void CNDrawItem(TMessage& m);
  std::vector<TStatusPanel> panels_;
  bool simplePanel_ = false;
  std::wstring simpleText_;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool sizeGrip_ = false;
};

}  // namespace fw
