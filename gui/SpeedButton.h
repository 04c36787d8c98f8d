// A windowless push button (tool-bar style), drawn by itself: raised, or
// flat until the mouse is over it; sunk while pressed or while Down. With a
// GroupIndex it stays down when clicked and releases the others of its group
// in the same parent (AllowAllUp lets a click release it again). Clicks on
// a release over it.
#pragma once

#include "gui/Bitmap.h"
#include "gui/ButtonGlyph.h"
#include "gui/Control.h"
#include "gui/GlyphProperties.h"

namespace fw {

class TSpeedButton : public TGraphicControl, public TGlyphProperties {
  FW_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* owner);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool on) { allowAllUp_ = on; }
  // The mouse is over the button now.
  bool MouseInControl() const { return mouseInControl_; }
  // Held down by the mouse now (pressed over it, not yet released).
  bool Pressed() const { return pressed_; }

  void Paint(HDC dc) override;
  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) override;

 protected:
  void WndProc(TMessage& msg) override;
  void GlyphChanged() override { Invalidate(); }

 private:
  void WMLButtonDown(TMessage& m);
  void WMMouseMove(TMessage& m);
  void WMLButtonUp(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void WMCancelMode(TMessage& m);
  bool Inside(LPARAM point) const;
  void ReleaseGroup();

  bool down_ = false;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool mouseInControl_ = false;
  bool dragging_ = false;  // the left button went down on it and is still held
  bool pressed_ = false;   // dragging_ and the mouse over it
};

}  // namespace fw
