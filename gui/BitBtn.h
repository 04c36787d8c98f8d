// A push button with a picture (Glyph, NumGlyphs images side by side: up,
// disabled, pressed) beside its caption. It draws itself (an owner-drawn
// BUTTON), so it looks right without a skin; clicks as a TButton does, Enter
// included when it has the focus.
#pragma once

#include <memory>

#include "gui/Bitmap.h"
#include "gui/Button.h"
#include "gui/ButtonGlyph.h"
#include "gui/GlyphProperties.h"

namespace fw {

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

class TBitBtn : public TButton, public TGlyphProperties {
  FW_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* owner);
  // Kept for what the button stands for; the picture and caption are the program's.
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind) { kind_ = kind; }

  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& msg) override;
  void GlyphChanged() override;

 private:
  void CNDrawItem(TMessage& m);

  TBitBtnKind kind_ = bkCustom;
};

// Publishes Glyph, NumGlyphs, Margin, Spacing and Layout of a glyph button class (shared by bit, speed and
// menu buttons).
template <class T>
std::vector<TPropInfo> GlyphButtonProps() {
  return {
      ObjProp<TBitmap>(L"Glyph",
                       [](const TComponent& c) {
                         auto& b = const_cast<T&>(As<T>(c));
                         return b.Glyph().Empty() ? nullptr : &b.Glyph();
                       }),
      IntProp(
          L"NumGlyphs", [](const TComponent& c) { return As<T>(c).NumGlyphs(); },
          [](TComponent& c, int v) { As<T>(c).SetNumGlyphs(v); }),
      IntProp(
          L"Margin", [](const TComponent& c) { return As<T>(c).Margin(); },
          [](TComponent& c, int v) { As<T>(c).SetMargin(v); }),
      IntProp(
          L"Spacing", [](const TComponent& c) { return As<T>(c).Spacing(); },
          [](TComponent& c, int v) { As<T>(c).SetSpacing(v); }),
      EnumProp(
          L"Layout", {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"},
          [](const TComponent& c) { return static_cast<int>(As<T>(c).Layout()); },
          [](TComponent& c, int v) { As<T>(c).SetLayout(static_cast<TButtonLayout>(v)); }),
  };
}

}  // namespace fw
