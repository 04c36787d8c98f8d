#include "skin/controls/MediaPlayerLayout.h"

#include <cwctype>

namespace skin {

namespace {

constexpr const wchar_t* kNames[kMPButtonCount] = {L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
                                                   L"btStep", L"btBack",  L"btRecord", L"btEject"};
constexpr const wchar_t* kGlyphNames[kMPButtonCount] = {
    L"MPPLAY", L"MPPAUSE", L"MPSTOP", L"MPNEXT", L"MPPREV", L"MPSTEP", L"MPBACK", L"MPRECORD", L"MPEJECT"};
constexpr const wchar_t* kStatePrefixes[3] = {L"EN", L"DI", L"CL"};

std::wstring Trim(const std::wstring& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(s[b])) ++b;
  while (e > b && std::iswspace(s[e - 1])) --e;
  return s.substr(b, e - b);
}

}  // namespace

const wchar_t* MPButtonName(int button) {
  return button >= 0 && button < kMPButtonCount ? kNames[button] : L"";
}

std::wstring MPGlyphName(int state, int button) {
  if (state < 0 || state > 2 || button < 0 || button >= kMPButtonCount) return {};
  return std::wstring(kStatePrefixes[state]) + L"_" + kGlyphNames[button];
}

TMPButtonSet ParseMPButtonSet(const std::wstring& text) {
  TMPButtonSet set{};
  std::wstring body = Trim(text);
  if (!body.empty() && body.front() == L'[') body.erase(0, 1);
  if (!body.empty() && body.back() == L']') body.pop_back();
  size_t start = 0;
  while (start <= body.size()) {
    size_t comma = body.find(L',', start);
    std::wstring element =
        Trim(body.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    for (int b = 0; b < kMPButtonCount; ++b)
      if (element == kNames[b]) set[static_cast<size_t>(b)] = true;
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return set;
}

std::wstring MPButtonSetText(const TMPButtonSet& set) {
  std::wstring text = L"[";
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!set[static_cast<size_t>(b)]) continue;
    if (text.size() > 1) text += L",";
    text += kNames[b];
  }
  return text + L"]";
}

int CountMPButtons(const TMPButtonSet& visible) {
  int n = 0;
  for (bool v : visible) n += v ? 1 : 0;
  return n;
}

int32_t MPButtonWidth(int32_t width, int visibleCount) {
  return visibleCount > 0 ? width / visibleCount : 0;
}

int HitMPButton(const TMPButtonSet& visible, int32_t buttonWidth, int32_t x) {
  int32_t sum = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!visible[static_cast<size_t>(b)]) continue;
    if (sum <= x && x <= sum + buttonWidth) return b;
    sum += buttonWidth;
  }
  return kMPNoButton;
}

int MPGlyphIndex(bool enabled, bool colored) {
  if (!enabled) return 1;
  return colored ? 2 : 0;
}

int MPButtonFace(bool enabled, bool isDown, bool isPressedButton) {
  if (!enabled) return 3;
  return isDown && isPressedButton ? 2 : 1;
}

}  // namespace skin
