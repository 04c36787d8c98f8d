// Draws Quellmark's own artwork at build time: the 600 x 105 banner of the
// main window (a JPEG, written with libjpeg) and the program icon (16, 24,
// 32, 48 and 64 pixel images in one .ico). Everything is computed here from
// shapes, so the artwork needs no files from anywhere else.
//
// Usage: artgen BANNER.jpg ICON.ico
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

struct Rgb {
  double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double clamp01(double v) {
  return std::clamp(v, 0.0, 1.0);
}

// Coverage of a shape whose signed distance (pixels, negative inside) is d.
double coverage(double d) {
  return clamp01(0.5 - d);
}

double roundedBox(double x, double y, double cx, double cy, double hw, double hh, double r) {
  double qx = std::fabs(x - cx) - hw + r, qy = std::fabs(y - cy) - hh + r;
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

double segment(double x, double y, double ax, double ay, double bx, double by) {
  double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  double t = clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
  return std::hypot(px - dx * t, py - dy * t);
}

// 5 x 7 glyphs of the letters in the program's name, one row a string.
const std::array<const char*, 7>* glyph(char c) {
  static const std::array<const char*, 7> Q = {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"};
  static const std::array<const char*, 7> u = {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"};
  static const std::array<const char*, 7> e = {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."};
  static const std::array<const char*, 7> l = {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."};
  static const std::array<const char*, 7> m = {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"};
  static const std::array<const char*, 7> a = {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"};
  static const std::array<const char*, 7> r = {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."};
  static const std::array<const char*, 7> k = {"#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."};
  switch (c) {
    case 'Q':
      return &Q;
    case 'u':
      return &u;
    case 'e':
      return &e;
    case 'l':
      return &l;
    case 'm':
      return &m;
    case 'a':
      return &a;
    case 'r':
      return &r;
    case 'k':
      return &k;
    default:
      return nullptr;
  }
}

// Distance to the nearest dot of the name set in round dots of `cell` pixels.
double nameDistance(double x, double y, const std::string& text, double left, double top, double cell) {
  double best = 1e9;
  double gx = left;
  for (char c : text) {
    const auto* g = glyph(c);
    if (!g) continue;
    int col = static_cast<int>(std::floor((x - gx) / cell)),
        row = static_cast<int>(std::floor((y - top) / cell));
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc) {
        int rr = row + dr, cc = col + dc;
        if (rr < 0 || rr >= 7 || cc < 0 || cc >= 5 || (*g)[rr][cc] != '#') continue;
        double cx = gx + (cc + 0.5) * cell, cy = top + (rr + 0.5) * cell;
        best = std::min(best, std::hypot(x - cx, y - cy) - cell * 0.46);
      }
    gx += 6 * cell;
  }
  return best;
}

const Rgb kDeep{18, 52, 86}, kTeal{22, 120, 130}, kMint{150, 220, 200}, kPaper{236, 242, 240},
    kWhite{255, 255, 255}, kAmber{244, 178, 62};

Rgb bannerPixel(double x, double y) {
  // A deep blue-to-teal sky over a pale band that carries the version text.
  Rgb c = mix(kDeep, kTeal, clamp01(x / 600.0 * 0.8 + y / 105.0 * 0.2));
  // Rows of faint record cards on the right: the tool's subject, tables of records.
  for (int i = 0; i < 4; ++i) {
    double cx = 470 + i * 30, cy = 40 - i * 6;
    double d = roundedBox(x, y, cx, cy, 46, 26, 6);
    c = mix(c, mix(kTeal, kMint, 0.35 + i * 0.1), coverage(d) * 0.55);
    for (int line = -1; line <= 1; ++line) {
      double dl = segment(x, y, cx - 32, cy + line * 10, cx + 32, cy + line * 10) - 1.2;
      c = mix(c, kWhite, coverage(dl) * coverage(d + 3) * 0.35);
    }
  }
  // A check mark: duplicates removed.
  double check = std::min(segment(x, y, 533, 40, 545, 52), segment(x, y, 545, 52, 568, 22)) - 4;
  c = mix(c, kAmber, coverage(check));
  // The name in round dots with a soft shadow.
  const std::string name = "Quellmark";
  double shadow = nameDistance(x - 2, y - 2, name, 28, 12, 7.5);
  c = mix(c, Rgb{5, 20, 35}, coverage(shadow - 1.5) * 0.45);
  double dots = nameDistance(x, y, name, 28, 12, 7.5);
  c = mix(c, mix(kWhite, kMint, y / 105.0), coverage(dots));
  // The pale band along the bottom edge.
  double band = clamp01((y - 76) / 3.0);
  c = mix(c, kPaper, band);
  c = mix(c, kAmber, coverage(std::fabs(y - 77.5) - 0.8) * 0.9);
  return c;
}

bool writeBanner(const char* path) {
  const int w = 600, h = 105;
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // 4 x 4 supersampling keeps the dots' edges smooth.
      Rgb sum{0, 0, 0};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          Rgb p = bannerPixel(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
          sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
        }
      uint8_t* o = &pixels[(static_cast<size_t>(y) * w + x) * 3];
      o[0] = static_cast<uint8_t>(std::lround(sum.r / 16)),
      o[1] = static_cast<uint8_t>(std::lround(sum.g / 16));
      o[2] = static_cast<uint8_t>(std::lround(sum.b / 16));
    }
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = w;
  info.image_height = h;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &pixels[static_cast<size_t>(info.next_scanline) * w * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(f) == 0;
}

// The icon: a teal tile holding a ring (a "Q" with its tail) and a check mark.
std::array<double, 4> iconPixel(double x, double y, double s) {
  double u = x / s, v = y / s;  // 0..1
  double tile = roundedBox(u, v, 0.5, 0.5, 0.46, 0.46, 0.16) * s;
  Rgb c = mix(kTeal, kDeep, v);
  double ring = (std::fabs(std::hypot(u - 0.47, v - 0.46) - 0.25) - 0.075) * s;
  double tail = (segment(u, v, 0.6, 0.6, 0.78, 0.8) - 0.07) * s;
  double q = std::min(ring, tail);
  c = mix(c, kWhite, coverage(q));
  double check =
      (std::min(segment(u, v, 0.36, 0.47, 0.45, 0.56), segment(u, v, 0.45, 0.56, 0.6, 0.36)) - 0.05) * s;
  c = mix(c, kAmber, coverage(check));
  return {c.r, c.g, c.b, coverage(tile) * 255};
}

void put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v)), out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, unsigned v) {
  put16(out, v & 0xFFFF), put16(out, v >> 16);
}

// One icon image: a 32-bit bottom-up DIB with its AND mask.
std::vector<uint8_t> iconImage(int s) {
  std::vector<uint8_t> out;
  put32(out, 40), put32(out, static_cast<unsigned>(s)), put32(out, static_cast<unsigned>(s * 2));
  put16(out, 1), put16(out, 32), put32(out, 0), put32(out, 0), put32(out, 0), put32(out, 0), put32(out, 0),
      put32(out, 0);
  const int maskStride = ((s + 31) / 32) * 4;
  std::vector<uint8_t> mask(static_cast<size_t>(maskStride) * s, 0);
  for (int y = s - 1; y >= 0; --y)
    for (int x = 0; x < s; ++x) {
      std::array<double, 4> sum{};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          auto p = iconPixel(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4, s);
          for (int i = 0; i < 4; ++i) sum[i] += p[i] * (i < 3 ? p[3] / 255 : 1);
        }
      double a = sum[3] / 16;
      auto ch = [&](int i) { return static_cast<uint8_t>(a > 0 ? std::lround(sum[i] / 16) : 0); };
      out.push_back(ch(2)), out.push_back(ch(1)), out.push_back(ch(0)),
          out.push_back(static_cast<uint8_t>(std::lround(a)));
      if (a < 128)
        mask[static_cast<size_t>(s - 1 - y) * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}

bool writeIcon(const char* path) {
  const int sizes[] = {16, 24, 32, 48, 64};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(iconImage(s));
  std::vector<uint8_t> out;
  put16(out, 0), put16(out, 1), put16(out, static_cast<unsigned>(images.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(sizes[i])), out.push_back(static_cast<uint8_t>(sizes[i]));
    out.push_back(0), out.push_back(0);
    put16(out, 1), put16(out, 32), put32(out, static_cast<unsigned>(images[i].size())), put32(out, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto& img : images) out.insert(out.end(), img.begin(), img.end());
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: artgen BANNER.jpg ICON.ico\n");
    return 2;
  }
  if (!writeBanner(argv[1])) {
    std::fprintf(stderr, "artgen: cannot write %s\n", argv[1]);
    return 1;
  }
  if (!writeIcon(argv[2])) {
    std::fprintf(stderr, "artgen: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
