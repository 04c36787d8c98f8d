#include "skin/archive/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace skin::test {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A BMP with a 40-byte header; `palette` entries as B,G,R,0 and `rows` given
// in file order, each already padded.
Bytes MakeBmp(int32_t width, int32_t height, uint16_t bits, const std::vector<uint32_t>& palette,
              const std::vector<Bytes>& rows, uint32_t compression = 0,
              const std::vector<uint32_t>& masks = {}) {
  Bytes out = {'B', 'M'};
  Bytes pixels;
  for (const Bytes& row : rows) pixels.insert(pixels.end(), row.begin(), row.end());
  const uint32_t offset = 54 + static_cast<uint32_t>(masks.size() * 4 + palette.size() * 4);
  Put32(out, offset + static_cast<uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, compression);
  Put32(out, static_cast<uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(palette.size()));
  Put32(out, 0);
  for (uint32_t m : masks) Put32(out, m);
  for (uint32_t c : palette) Put32(out, c);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

TEST(BitmapTest, DecodesBottomUp24BitRows) {
  // 2 x 2: bottom row red, blue; top row green, white (file order is bottom first).
  Bytes bmp = MakeBmp(2, 2, 24, {}, {{0, 0, 255, 255, 0, 0, 0, 0}, {0, 255, 0, 255, 255, 255, 0, 0}});
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBmp(bmp));
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 1), MakePixel(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 1), MakePixel(0, 0, 255));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(0, 255, 0));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(255, 255, 255));
}

TEST(BitmapTest, DecodesTopDownRowsWhenHeightIsNegative) {
  Bytes bmp = MakeBmp(1, -2, 24, {}, {{1, 2, 3, 0}, {4, 5, 6, 0}});
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBmp(bmp));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(3, 2, 1));
  EXPECT_EQ(b.Pixel(0, 1), MakePixel(6, 5, 4));
}

TEST(BitmapTest, DecodesPalettedDepths) {
  const std::vector<uint32_t> palette = {0x000000FF, 0x0000FF00, 0x00FF0000};  // blue, green, red
  TBitmap b;
  // 8 bits: indexes 2, 1, 0 then one past the palette, which is black.
  ASSERT_TRUE(b.LoadFromBmp(MakeBmp(4, 1, 8, palette, {{2, 1, 0, 7}})));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(0, 255, 0));
  EXPECT_EQ(b.Pixel(2, 0), MakePixel(0, 0, 255));
  EXPECT_EQ(b.Pixel(3, 0), 0u);
  // 4 bits: high nibble first.
  ASSERT_TRUE(b.LoadFromBmp(MakeBmp(3, 1, 4, palette, {{0x21, 0x00, 0, 0}})));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(0, 255, 0));
  EXPECT_EQ(b.Pixel(2, 0), MakePixel(0, 0, 255));
  // 1 bit: most significant bit first.
  ASSERT_TRUE(b.LoadFromBmp(MakeBmp(9, 1, 1, {0x00000000, 0x00FFFFFF}, {{0xA0, 0x80, 0, 0}})));
  EXPECT_EQ(b.Pixel(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(b.Pixel(1, 0), 0u);
  EXPECT_EQ(b.Pixel(2, 0), 0x00FFFFFFu);
  EXPECT_EQ(b.Pixel(8, 0), 0x00FFFFFFu);
}

TEST(BitmapTest, Decodes32BitAndBitFields) {
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBmp(MakeBmp(1, 1, 32, {}, {{10, 20, 30, 99}})));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(30, 20, 10));
  // 16 bits 5-6-5: all-ones red channel only.
  ASSERT_TRUE(b.LoadFromBmp(MakeBmp(1, 1, 16, {}, {{0x00, 0xF8, 0, 0}}, 3, {0xF800, 0x07E0, 0x001F})));
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(255, 0, 0));
}

TEST(BitmapTest, RefusesEveryTruncationOfAValidFile) {
  const Bytes full = MakeBmp(3, 2, 24, {}, {Bytes(12, 7), Bytes(12, 9)});
  TBitmap b;
  ASSERT_TRUE(b.LoadFromBmp(full));
  // The last row's padding (3 bytes) is not pixel data; every shorter prefix fails.
  for (size_t size = 0; size + 3 < full.size(); ++size) {
    TBitmap partial(2, 2);
    EXPECT_FALSE(partial.LoadFromBmp(full.data(), size)) << size;
    EXPECT_TRUE(partial.Empty());
  }
}

TEST(BitmapTest, RefusesInsaneHeaders) {
  TBitmap b;
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(0, 1, 24, {}, {Bytes(4)})));
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(1, 0, 24, {}, {})));
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(8193, 1, 8, {0}, {Bytes(8196)})));
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(1, 1, 7, {}, {Bytes(4)})));
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(1, 1, 24, {}, {Bytes(4)}, 1)));                      // run-length coded
  EXPECT_FALSE(b.LoadFromBmp(MakeBmp(1, 1, 8, std::vector<uint32_t>(257), {Bytes(4)})));  // palette too long
  Bytes notBmp = MakeBmp(1, 1, 24, {}, {Bytes(4)});
  notBmp[0] = 'X';
  EXPECT_FALSE(b.LoadFromBmp(notBmp));
  Bytes hugeOffset = MakeBmp(1, 1, 24, {}, {Bytes(4)});
  hugeOffset[10] = hugeOffset[11] = hugeOffset[12] = hugeOffset[13] = 0xFF;
  EXPECT_FALSE(b.LoadFromBmp(hugeOffset));
  EXPECT_FALSE(b.LoadFromBmp(nullptr, 0));
}

TEST(BitmapTest, SavedFileLoadsBackPixelForPixel) {
  TBitmap b(5, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x)
      b.SetPixel(x, y, MakePixel(static_cast<uint8_t>(x * 40), 7, static_cast<uint8_t>(y * 90)));
  const Bytes file = b.SaveToBmp();
  EXPECT_EQ(file.size(), 54u + 16u * 3u);
  TBitmap back;
  ASSERT_TRUE(back.LoadFromBmp(file));
  EXPECT_EQ(back, b);
}

TEST(BitmapTest, SizesOutsideTheLimitsGiveAnEmptyBitmap) {
  EXPECT_TRUE(TBitmap(0, 5).Empty());
  EXPECT_TRUE(TBitmap(-1, 5).Empty());
  EXPECT_TRUE(TBitmap(TBitmap::kMaxSide + 1, 1).Empty());
  EXPECT_FALSE(TBitmap(1, 1).Empty());
}

TEST(BitmapTest, FillRectAndCropAreClippedToTheBitmap) {
  TBitmap b(4, 4, 1);
  b.FillRect(Rect(-5, 2, 2, 100), 9);
  EXPECT_EQ(b.Pixel(0, 3), 9u);
  EXPECT_EQ(b.Pixel(1, 2), 9u);
  EXPECT_EQ(b.Pixel(2, 2), 1u);
  EXPECT_EQ(b.Pixel(0, 1), 1u);
  const TBitmap part = b.Crop(Rect(1, 1, 10, 3));
  EXPECT_EQ(part.Width(), 3);
  EXPECT_EQ(part.Height(), 2);
  EXPECT_EQ(part.Pixel(0, 1), 9u);
  EXPECT_TRUE(b.Crop(Rect(5, 5, 9, 9)).Empty());
}

TEST(BitmapTest, ColourLayoutsConvert) {
  // Colour values keep red in the low byte, pixels in bits 16 to 23.
  EXPECT_EQ(ColorToPixel(0x000000FF), MakePixel(255, 0, 0));
  EXPECT_EQ(PixelToColor(MakePixel(1, 2, 3)), 0x00030201u);
  EXPECT_EQ(ColorToPixel(0x00FF00FF), kMagentaPixel);
}

}  // namespace
}  // namespace skin::test
