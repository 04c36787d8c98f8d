// The push buttons of our own skin, as the main window shows them: one
// framework button drawn in each look (normal, hot, pressed, disabled,
// focused, default) side by side, compared with the stored reference
// tests/win/reference/push-buttons.bmp. Caption pixels may differ by
// anti-aliasing only; the faces must match. The capture is left beside the
// test program for looking at (and for making a new reference when the skin
// changes on purpose).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Button.h"
#include "gui/Form.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"

namespace skin {
namespace {

constexpr int kWidth = 75, kHeight = 25, kGap = 4;

class PushButtonLookTest : public testing::Test {
 protected:
  void SetUp() override {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
    ASSERT_FALSE(data.Empty);
    form = new fw::TForm(nullptr);
    form->SetBounds(40, 40, 300, 100);
    form->SetBorderStyle(fw::bsNone);
    button = new fw::TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, kWidth, kHeight);
    button->SetCaption(L"刷新表");
    button->OwnFont().SetName(L"宋体");
    button->OwnFont().SetHeight(-14);
    button->OwnFont().SetCharset(GB2312_CHARSET);
    other = new fw::TButton(form);
    other->SetParent(form);
    other->SetBounds(150, 10, kWidth, kHeight);
    form->Show();
    SetForegroundWindow(form->Handle());
    skinned = new TSkinButton(button);
    skinned->Init(nullptr, &data, false);
  }
  void TearDown() override { delete form; }

  TSkinData data{nullptr};
  fw::TForm* form = nullptr;
  fw::TButton* button = nullptr;
  fw::TButton* other = nullptr;
  TSkinButton* skinned = nullptr;
};

TEST_F(PushButtonLookTest, EveryLookMatchesTheReference) {
  struct Look {
    uint8_t state;
    bool focused, enabled, isDefault;
  } looks[] = {{0, false, true, false},  {Hot, false, true, false}, {Down, false, true, false},
               {0, false, false, false}, {0, true, true, false},    {0, false, true, true}};
  constexpr int kLooks = sizeof looks / sizeof looks[0];
  TDibSection strip(kLooks * (kWidth + kGap), kHeight);
  RECT all{0, 0, strip.Width(), strip.Height()};
  FillRect(strip.DC(), &all, GetSysColorBrush(COLOR_BTNFACE));
  for (int i = 0; i < kLooks; ++i) {
    button->SetEnabled(looks[i].enabled);
    button->SetDefault(looks[i].isDefault);
    if (looks[i].focused)
      button->SetFocus();
    else
      other->SetFocus();
    skinned->state = looks[i].state;
    TDibSection one(kWidth, kHeight);
    skinned->DrawControl(one.DC(), RECT{0, 0, kWidth, kHeight});
    BitBlt(strip.DC(), i * (kWidth + kGap), 0, kWidth, kHeight, one.DC(), 0, 0, SRCCOPY);
  }
  // The caption's band: the middle of each button, 6 pixels in from its sides.
  std::vector<TRect> captions;
  for (int i = 0; i < kLooks; ++i) {
    const int left = i * (kWidth + kGap);
    captions.push_back(Rect(left + 6, 4, left + kWidth - 6, kHeight - 4));
  }
  look::ExpectLooksLikeReference(strip.ToBitmap(),
                                 look::WinePath(std::string(QM_WIN_REFERENCE_DIR) + "/push-buttons.bmp"),
                                 "push-buttons", captions);
}

}  // namespace
}  // namespace skin
