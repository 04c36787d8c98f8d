#include "gui/ControlGallery.h"

#include "gui/GalleryForm.h"

namespace fw {

namespace {

template <class T>
T* Place(TForm* form, TWinControl* parent, int left, int top, int width, int height, const wchar_t* caption) {
  auto* control = new T(form);
  control->SetBounds(left, top, width, height);
  control->SetCaption(caption);
  control->SetParent(parent);
  return control;
}

}  // namespace

void MakeTestGlyph(TBitmap& glyph, int count) {
  static const COLORREF colours[] = {RGB(0, 160, 0), RGB(128, 128, 128), RGB(0, 0, 200), RGB(200, 0, 0)};
  constexpr int kSide = 16;
  glyph.SetSize(kSide * count, kSide, RGB(255, 0, 255));
  for (int i = 0; i < count; ++i)
    for (int y = 3; y < kSide - 3; ++y)
      for (int x = 3; x < kSide - 3; ++x) glyph.SetPixel(i * kSide + x, y, colours[i % 4]);
}

TControlGallery MakeControlGallery(TComponent* owner) {
  TControlGallery g;
  g.form = NewGalleryForm(owner, L"Gallery", L"控件", 440, 300);
  TForm* f = g.form;

  g.checkFrame = Place<TGroupBox>(f, f, 8, 8, 210, 136, L"复选框");
  g.checkUnchecked = Place<TCheckBox>(f, g.checkFrame, 12, 20, 180, 20, L"未选中");
  g.checkChecked = Place<TCheckBox>(f, g.checkFrame, 12, 42, 180, 20, L"已选中");
  g.checkChecked->SetChecked(true);
  g.checkGrayed = Place<TCheckBox>(f, g.checkFrame, 12, 64, 180, 20, L"灰色");
  g.checkGrayed->SetAllowGrayed(true);
  g.checkGrayed->SetState(cbGrayed);
  g.checkDisabled = Place<TCheckBox>(f, g.checkFrame, 12, 86, 180, 20, L"禁用");
  g.checkDisabled->SetChecked(true);
  g.checkDisabled->SetEnabled(false);
  g.checkLeftText = Place<TCheckBox>(f, g.checkFrame, 12, 108, 180, 20, L"文字在左");
  g.checkLeftText->SetAlignment(taLeftJustify);

  g.radioFrame = Place<TGroupBox>(f, f, 224, 8, 208, 92, L"单选按钮");
  g.radioChecked = Place<TRadioButton>(f, g.radioFrame, 12, 20, 180, 20, L"选项一");
  g.radioChecked->SetChecked(true);
  g.radioUnchecked = Place<TRadioButton>(f, g.radioFrame, 12, 42, 180, 20, L"选项二");
  g.radioDisabled = Place<TRadioButton>(f, g.radioFrame, 12, 64, 180, 20, L"禁用选项");
  g.radioDisabled->SetEnabled(false);

  g.radioGroup = Place<TRadioGroup>(f, f, 224, 104, 208, 88, L"单选组");
  g.radioGroup->SetItemsText(L"甲\r\n乙\r\n丙");
  g.radioGroup->SetItemIndex(1);

  g.button = Place<TButton>(f, f, 8, 152, 75, 25, L"按钮");
  g.defaultButton = Place<TButton>(f, f, 88, 152, 75, 25, L"默认");
  g.defaultButton->SetDefault(true);
  g.disabledButton = Place<TButton>(f, f, 8, 184, 75, 25, L"禁用");
  g.disabledButton->SetEnabled(false);

  TBitmap glyph;
  MakeTestGlyph(glyph, 2);
  g.bitButton = Place<TBitBtn>(f, f, 8, 216, 100, 30, L"位图");
  g.bitButton->SetGlyph(glyph);
  g.bitButton->SetNumGlyphs(2);
  g.disabledBitButton = Place<TBitBtn>(f, f, 114, 216, 100, 30, L"禁用位图");
  g.disabledBitButton->SetGlyph(glyph);
  g.disabledBitButton->SetNumGlyphs(2);
  g.disabledBitButton->SetEnabled(false);

  TBitmap speedGlyph;
  MakeTestGlyph(speedGlyph, 4);
  g.speedButton = Place<TSpeedButton>(f, f, 8, 260, 60, 28, L"快");
  g.speedButton->SetGlyph(speedGlyph);
  g.speedButton->SetNumGlyphs(4);
  g.flatSpeedButton = Place<TSpeedButton>(f, f, 72, 260, 60, 28, L"平");
  g.flatSpeedButton->SetFlat(true);
  g.downSpeedButton = Place<TSpeedButton>(f, f, 136, 260, 60, 28, L"按下");
  g.downSpeedButton->SetGroupIndex(1);
  g.downSpeedButton->SetDown(true);
  g.groupSpeedButton = Place<TSpeedButton>(f, f, 200, 260, 60, 28, L"同组");
  g.groupSpeedButton->SetGroupIndex(1);
  g.disabledSpeedButton = Place<TSpeedButton>(f, f, 264, 260, 60, 28, L"禁");
  g.disabledSpeedButton->SetEnabled(false);

  g.menu = new TPopupMenu(f);
  g.menu->SetName(L"GalleryMenu");
  for (const wchar_t* caption : {L"第一项", L"第二项"}) {
    auto* item = new TMenuItem(f);
    item->SetCaption(caption);
    g.menu->Add(item);
  }
  g.menuButton = Place<TMenuButton>(f, f, 224, 216, 100, 30, L"菜单");
  g.menuButton->SetDropdownMenu(g.menu);

  // Names let test drivers reach each control by automation.
  int n = 0;
  for (TComponent* c : f->Components())
    if (c->Name().empty()) c->SetName(c->ClassName().substr(1) + std::to_wstring(++n));
  f->HandleNeeded();
  return g;
}

}  // namespace fw
