// A font description with its GDI font made on first use and shared by every
// control that shows it.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class TFont {
 public:
  TFont() = default;
  ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::wstring& Name() const { return name_; }
  int Height() const { return height_; }
  int Charset() const { return charset_; }
  COLORREF Color() const { return color_; }
  void SetName(const std::wstring& name);
  void SetHeight(int height);
  void SetCharset(int charset);
  void SetColor(COLORREF color) { color_ = color; }

  HFONT Handle() const;

 private:
  void Changed();

  std::wstring name_ = L"Tahoma";
  int height_ = -11;
  int charset_ = DEFAULT_CHARSET;
  COLORREF color_ = RGB(0, 0, 0);
  mutable HFONT handle_ = nullptr;
};

// Charset names as stored definitions write them ("GB2312_CHARSET"); -1 when unknown.
int CharsetFromName(const std::wstring& name);
std::wstring CharsetName(int charset);

}  // namespace fw
