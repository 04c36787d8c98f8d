// A windowless caption drawn by its parent, sized to its text, optionally
// transparent (the version label over the banner).
#pragma once

#include "gui/Control.h"

namespace fw {

class TLabel : public TGraphicControl {
  FW_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  void SetCaption(const std::wstring& text) override;
  void Paint(HDC dc) override;
  void Loaded() override;

 private:
  void AdjustSize();
  bool transparent_ = false;
  bool autoSize_ = true;
};

}  // namespace fw
