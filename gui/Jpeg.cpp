#include "gui/Jpeg.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace fw {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// A GUI program has nowhere to print libjpeg's warnings; a broken picture still ends in OnError.
void OnMessage(j_common_ptr) {}

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  err->base.format_message(info, err->message);
  longjmp(err->jump, 1);
}

}  // namespace

HBITMAP DecodeJpeg(const std::vector<uint8_t>& data, int& width, int& height) {
  jpeg_decompress_struct info{};
  ErrorManager err{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  err.base.output_message = OnMessage;
  HBITMAP bitmap = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    if (bitmap) DeleteObject(bitmap);
    throw std::runtime_error(std::string("JPEG 图片无法解码: ") + err.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);

  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // top-down, like the decoder's scan lines
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 24;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    jpeg_destroy_decompress(&info);
    throw std::runtime_error("JPEG 图片无法解码: 位图创建失败");
  }
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> line(static_cast<size_t>(width) * 3);
  while (info.output_scanline < info.output_height) {
    uint8_t* row = line.data();
    const size_t y = info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
    // DIB pixels are stored blue first.
    uint8_t* out = static_cast<uint8_t*>(bits) + y * stride;
    for (int x = 0; x < width; ++x) {
      out[x * 3 + 0] = line[static_cast<size_t>(x) * 3 + 2];
      out[x * 3 + 1] = line[static_cast<size_t>(x) * 3 + 1];
      out[x * 3 + 2] = line[static_cast<size_t>(x) * 3 + 0];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return bitmap;
}

}  // namespace fw
