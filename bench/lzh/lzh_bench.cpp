// Pack and unpack throughput of the skin LZH codec on the two kinds of data a
// skin holds: a 24-bit bitmap (1 MB, gradients and flat areas like skin art)
// and INI-style text (1 MB).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "skin/archive/WinConvert.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> Bitmap24() {
  // 512 x 682 pixels, bottom-up rows of BGR: vertical gradient frames, flat
  // magenta transparent areas and a few bevel lines, as skin images have.
  const int width = 512, height = 682;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> bmp(54, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(54 + stride * height));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bmp[26] = 1;
  bmp[28] = 24;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
    for (int x = 0; x < width; ++x) {
      uint8_t b, g, r;
      int cell = (x / 64 + y / 64) % 4;
      if (cell == 0) {
        b = 0xFF, g = 0x00, r = 0xFF;  // transparent key
      } else if (x % 64 == 0 || y % 64 == 0) {
        b = g = r = 0x40;  // bevel
      } else {
        b = static_cast<uint8_t>(0x80 + (y % 64)), g = static_cast<uint8_t>(0x60 + (y % 64) / 2),
        r = static_cast<uint8_t>(0x30 + cell * 20);
      }
      row[static_cast<size_t>(x) * 3] = b;
      row[static_cast<size_t>(x) * 3 + 1] = g;
      row[static_cast<size_t>(x) * 3 + 2] = r;
    }
    bmp.insert(bmp.end(), row.begin(), row.end());
  }
  bmp.resize(1 << 20, 0);
  return bmp;
}

std::vector<uint8_t> Text() {
  std::string text;
  const char* keys[] = {"Image", "Frames", "Tile", "Left", "Top", "Right", "Bottom", "Color", "Font"};
  for (int i = 0; text.size() < (1u << 20); ++i) {
    text += "[Element" + std::to_string(i) + "]\r\n";
    for (int k = 0; k < 9; ++k)
      text += std::string(keys[k]) + "=" + std::to_string((i * 31 + k * 7) % 1000) + (k == 0 ? ".bmp" : "") +
              "\r\n";
    text += "; element " + std::to_string(i) + " of the skin definition\r\n";
  }
  text.resize(1 << 20);
  return std::vector<uint8_t>(text.begin(), text.end());
}

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void Measure(const char* name, const std::vector<uint8_t>& data) {
  const double mb = static_cast<double>(data.size()) / (1024.0 * 1024.0);
  skin::TMemoryStream in, packed, out;
  in.Assign(data);
  skin::TLZH lzh;
  const int rounds = 3;
  double packTime = 1e9, unpackTime = 1e9;
  for (int i = 0; i < rounds; ++i) {
    packed.Clear();
    auto t0 = Clock::now();
    lzh.PackBlock(in, packed);
    packTime = std::min(packTime, Seconds(t0));
    out.Clear();
    auto t1 = Clock::now();
    lzh.UnpackBlock(packed, out);
    unpackTime = std::min(unpackTime, Seconds(t1));
  }
  if (out.Bytes() != data) {
    std::fprintf(stderr, "%s: round trip failed\n", name);
    std::exit(1);
  }
  std::printf("%-12s %7.2f MB -> %8zu bytes (%5.1f%%)  pack %7.2f MB/s  unpack %7.2f MB/s\n", name, mb,
              packed.Bytes().size(), 100.0 * static_cast<double>(packed.Bytes().size()) / data.size(),
              mb / packTime, mb / unpackTime);
}

}  // namespace

int main() {
  Measure("bitmap24", Bitmap24());
  Measure("text", Text());
  return 0;
}
