// The push buttons of our own skin, as the main window shows them: one
// framework button drawn in each look (normal, hot, pressed, disabled,
// focused, default) side by side, compared with the stored reference
// tests/win/reference/push-buttons.bmp. Caption pixels may differ by
// anti-aliasing only; the faces must match. The capture is left beside the
// test program for looking at (and for making a new reference when the skin
// changes on purpose).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
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

using look::BesideProgram;
using look::Near;
using look::WinePath;

constexpr int kWidth = 75, kHeight = 25, kGap = 4;

class PushButtonLookTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = QM_SKIN_FILE;
    if (path.empty()) GTEST_SKIP() << "no skin was built";
    TMemoryStream stored;
    try {
      stored.LoadFromFile(WinePath(path));
    } catch (const std::exception& e) {
      GTEST_SKIP() << "skin not readable: " << e.what();
    }
    data.ReadSkinStream(stored);
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
  TBitmap shot = strip.ToBitmap();
  std::vector<uint8_t> bmp = shot.SaveToBmp();
  std::ofstream(BesideProgram("push-buttons.bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));

  std::ifstream in(WinePath(std::string(QM_WIN_REFERENCE_DIR) + "/push-buttons.bmp"), std::ios::binary);
  ASSERT_TRUE(in) << "no reference; the capture is " << BesideProgram("push-buttons.bmp");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap reference;
  ASSERT_TRUE(reference.LoadFromBmp(bytes));
  ASSERT_EQ(shot.Width(), reference.Width());
  ASSERT_EQ(shot.Height(), reference.Height());
  // The caption's band: the middle of each button, 6 pixels in from its sides.
  int faceDiffers = 0, textDiffers = 0, textPixels = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      int inButton = x % (kWidth + kGap);
      bool inText = inButton >= 6 && inButton < kWidth - 6 && y >= 4 && y < kHeight - 4;
      textPixels += inText;
      if (Near(shot.Pixel(x, y), reference.Pixel(x, y), inText ? 48 : 2)) continue;
      ++(inText ? textDiffers : faceDiffers);
    }
  EXPECT_EQ(faceDiffers, 0);
  EXPECT_LE(textDiffers, textPixels / 50);
}

}  // namespace
}  // namespace skin
