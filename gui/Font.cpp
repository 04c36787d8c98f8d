#include "gui/Font.h"

#include <cwchar>

namespace fw {

namespace {

struct CharsetEntry {
  const wchar_t* name;
  int value;
};
constexpr CharsetEntry kCharsets[] = {
    {L"ANSI_CHARSET", ANSI_CHARSET},         {L"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {L"GB2312_CHARSET", GB2312_CHARSET},     {L"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
    {L"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {L"OEM_CHARSET", OEM_CHARSET},
};

}  // namespace

int CharsetFromName(const std::wstring& name) {
  for (const CharsetEntry& e : kCharsets)
    if (name == e.name) return e.value;
  return -1;
}

std::wstring CharsetName(int charset) {
  for (const CharsetEntry& e : kCharsets)
    if (charset == e.value) return e.name;
  return std::to_wstring(charset);
}

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

void TFont::SetName(const std::wstring& name) {
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  height_ = height;
  Changed();
}

void TFont::SetCharset(int charset) {
  charset_ = charset;
  Changed();
}

void TFont::Changed() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    wcsncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectW(&lf);
  }
  return handle_;
}

}  // namespace fw
