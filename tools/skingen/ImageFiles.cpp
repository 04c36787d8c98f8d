#include "ImageFiles.h"

#include <algorithm>
#include <array>
#include <string>

#ifdef SKINGEN_HAVE_ZLIB
#include <zlib.h>
#endif

namespace skingen {

namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
  PutBE32(png, static_cast<uint32_t>(body.size()));
  size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), body.begin(), body.end());
  PutBE32(png, Crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  constexpr size_t kMaxBlock = 65535;
  size_t at = 0;
  do {
    size_t n = std::min(kMaxBlock, raw.size() - at);
    bool last = at + n == raw.size();
    out.push_back(last ? 1 : 0);
    PutLE(out, static_cast<uint32_t>(n), 2);
    PutLE(out, static_cast<uint32_t>(~n & 0xFFFF), 2);
    out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  PutBE32(out, Adler32(raw));
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Canvas& image) {
  constexpr uint32_t kHeaders = 14 + 40;
  uint32_t stride = (static_cast<uint32_t>(image.Width()) * 3 + 3) & ~3u;
  uint32_t pixelBytes = stride * image.Height();
  std::vector<uint8_t> out;
  out.reserve(kHeaders + pixelBytes);
  out.push_back('B'), out.push_back('M');
  PutLE(out, kHeaders + pixelBytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, kHeaders, 4);
  PutLE(out, 40, 4);
  PutLE(out, image.Width(), 4);
  PutLE(out, image.Height(), 4);  // positive: rows stored bottom-up
  PutLE(out, 1, 2);
  PutLE(out, 24, 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, pixelBytes, 4);
  PutLE(out, 2835, 4);  // 72 dpi, as pixels per metre
  PutLE(out, 2835, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      Rgb p = image.At(x, y);
      out.push_back(p.b), out.push_back(p.g), out.push_back(p.r);
    }
    for (uint32_t pad = image.Width() * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> EncodePng(const Canvas& image) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBE32(header, image.Width());
  PutBE32(header, image.Height());
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", header);
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(image.Height()) * (1 + image.Width() * 3));
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < image.Width(); ++x) {
      Rgb p = image.At(x, y);
      raw.push_back(p.r), raw.push_back(p.g), raw.push_back(p.b);
    }
  }
#ifdef SKINGEN_HAVE_ZLIB
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) == Z_OK) {
    packed.resize(packedSize);
    PutChunk(png, "IDAT", packed);
  } else {
    PutChunk(png, "IDAT", StoredZlib(raw));
  }
#else
  PutChunk(png, "IDAT", StoredZlib(raw));
#endif
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace skingen
