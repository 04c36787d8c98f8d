// The composed picture of a scroll bar: which image of each strip lands
// where, the face colour beyond the drawing thickness, a skin without a
// shaft or thumb.
#include "skin/controls/ScrollBarPicture.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

constexpr TPixel kFace = MakePixel(1, 2, 3);

// A strip of `frames` images of w x h, image k filled with colour k (k from 1).
TBitmap Strip(int frames, int32_t w, int32_t h) {
  TBitmap b(w * frames, h, 0);
  for (int k = 1; k <= frames; ++k)
    b.FillRect(Rect((k - 1) * w, 0, k * w, h), MakePixel(0, 0, static_cast<uint8_t>(k)));
  return b;
}

TPixel Image(int k) {
  return MakePixel(0, 0, static_cast<uint8_t>(k));
}

class ScrollBarPictureTest : public testing::Test {
 protected:
  void SetUp() override {
    arrows.Map = Strip(kArrowImages, 16, 16);
    arrows.frame = kArrowImages;
    shaft.Map = Strip(kShaftImages, 16, 16);
    shaft.frame = kShaftImages;
    thumb.Map = Strip(3, 16, 16);
    // The thumb's images are told apart from the arrows' by their green.
    for (int k = 1; k <= 3; ++k)
      thumb.Map.FillRect(Rect((k - 1) * 16, 0, k * 16, 16), MakePixel(0, 50, 0) + Image(k));
    thumb.frame = 3;
    art.arrows = &arrows;
    art.shaft = &shaft;
    art.thumb = &thumb;
    art.face = kFace;
    state.vertical = true;
    state.len = 200;
    state.across = 17;
    state.cw = 17;
    state.thumb = TThumbSpan{40, 80};
  }
  TDataSkinObject arrows, shaft, thumb;
  TScrollBarArt art;
  TBarPictureState state;
};

TEST_F(ScrollBarPictureTest, NormalBarPiecesAndTheFaceBeyondTheSkinThickness) {
  TBitmap p = ComposeScrollBar(art, state);
  ASSERT_EQ(p.Width(), 17);
  ASSERT_EQ(p.Height(), 200);
  EXPECT_EQ(p.Pixel(5, 5), Image(9));              // up arrow
  EXPECT_EQ(p.Pixel(5, 195), Image(13));           // down arrow
  EXPECT_EQ(p.Pixel(5, 25), Image(1));             // shaft, enabled
  EXPECT_EQ(p.Pixel(5, 42), MakePixel(0, 50, 1));  // thumb, normal
  EXPECT_EQ(p.Pixel(5, 60), Image(20));            // grip on a vertical thumb
  // 16-pixel art on 17-pixel arrows: the last column is the face.
  for (int32_t y : {5, 25, 60, 195}) EXPECT_EQ(p.Pixel(16, y), kFace);
}

TEST_F(ScrollBarPictureTest, PressedAndHotFaces) {
  state.scrollpos = spLineUp;
  state.down = true;
  EXPECT_EQ(ComposeScrollBar(art, state).Pixel(5, 5), Image(10));
  state.down = false;
  EXPECT_EQ(ComposeScrollBar(art, state).Pixel(5, 5), Image(12));
  state.scrollpos = spLineDown;
  EXPECT_EQ(ComposeScrollBar(art, state).Pixel(5, 195), Image(16));
  state.scrollpos = spThumbTrack;
  state.down = true;
  TBitmap p = ComposeScrollBar(art, state);
  EXPECT_EQ(p.Pixel(5, 42), MakePixel(0, 50, 2));
  EXPECT_EQ(p.Pixel(5, 60), Image(21));
  state.down = false;
  p = ComposeScrollBar(art, state);
  EXPECT_EQ(p.Pixel(5, 42), MakePixel(0, 50, 3));
  EXPECT_EQ(p.Pixel(5, 60), Image(22));
}

TEST_F(ScrollBarPictureTest, DisabledBarShowsShaftThreeNormalArrowsAndNoThumb) {
  state.enabled = false;
  state.scrollpos = spLineUp;
  TBitmap p = ComposeScrollBar(art, state);
  EXPECT_EQ(p.Pixel(5, 25), Image(3));
  EXPECT_EQ(p.Pixel(5, 60), Image(3));  // shaft where the thumb was
  EXPECT_EQ(p.Pixel(5, 195), Image(13));
}

TEST_F(ScrollBarPictureTest, TwentyPixelArtIsDrawnAtTheArrowLength) {
  arrows.Map = Strip(kArrowImages, 20, 20);
  TBitmap p = ComposeScrollBar(art, state);
  EXPECT_EQ(p.Pixel(16, 5), Image(9));  // drawn 17 thick: the whole width
}

TEST_F(ScrollBarPictureTest, HorizontalBarUsesLeftAndRightArrowsAndTheHorizontalGrip) {
  state.vertical = false;
  state.len = 150;
  TBitmap p = ComposeScrollBar(art, state);
  ASSERT_EQ(p.Width(), 150);
  ASSERT_EQ(p.Height(), 17);
  EXPECT_EQ(p.Pixel(3, 5), Image(1));
  EXPECT_EQ(p.Pixel(146, 5), Image(5));
  EXPECT_EQ(p.Pixel(60, 5), Image(17));
}

TEST_F(ScrollBarPictureTest, MissingShaftAndThumbLeaveTheFace) {
  art.shaft = nullptr;
  art.thumb = nullptr;
  TBitmap p = ComposeScrollBar(art, state);
  EXPECT_EQ(p.Pixel(5, 25), kFace);
  EXPECT_EQ(p.Pixel(5, 5), Image(9));
}

TEST_F(ScrollBarPictureTest, NoArrowsNoPicture) {
  art.arrows = nullptr;
  EXPECT_TRUE(ComposeScrollBar(art, state).Empty());
  EXPECT_FALSE(CanDrawScrollBar(art));
  art.arrows = &arrows;
  state.len = 0;
  EXPECT_TRUE(ComposeScrollBar(art, state).Empty());
}

}  // namespace
}  // namespace skin
