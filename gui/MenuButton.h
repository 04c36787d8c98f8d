// A push button that drops its menu (DropdownMenu) down below itself when
// clicked, then runs OnClick. It draws itself like a bit button, with a small
// arrow after the caption.
#pragma once

#include "gui/Bitmap.h"
#include "gui/Button.h"
#include "gui/ButtonGlyph.h"

namespace fw {

class TPopupMenu;

class TMenuButton : public TButton {
  FW_CLASS(TMenuButton)
 public:
  explicit TMenuButton(TComponent* owner);
  TPopupMenu* DropdownMenu() const;
  void SetDropdownMenu(TPopupMenu* menu);
  TBitmap& Glyph() { return glyph_; }
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& glyph);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

  void Click() override;
  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& msg) override;

 private:
  void CNDrawItem(TMessage& m);

  TBitmap glyph_;
  int margin_ = -1;
  int spacing_ = 4;
  TPopupMenu* menu_ = nullptr;
  std::wstring menuName_;  // named by a stored definition, found on first use
};

}  // namespace fw
