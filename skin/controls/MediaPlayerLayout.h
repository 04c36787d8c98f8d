// The portable rules of a media player's row of buttons, shared by the
// framework control that draws it itself and by the skin's overlay that
// covers it: the buttons in order, the published set texts that say which
// are shown, enabled and coloured, the width of a button, which button a
// point is over, and which face and glyph a button shows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace skin {

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int kMPButtonCount = 9;
// What a hit test gives for a point over no button: one past btEject.
inline constexpr int kMPNoButton = kMPButtonCount;

// The value name of a button in a set text: "btPlay" ...
const wchar_t* MPButtonName(int button);
// The module's bitmap name of a button's glyph: state 0 enabled ("EN_"),
// 1 disabled ("DI_"), 2 coloured ("CL_"), then "MPPLAY" ...
std::wstring MPGlyphName(int state, int button);

using TMPButtonSet = std::array<bool, kMPButtonCount>;
// A set text as published, "[btPlay,btStop]": each button whose value name
// is an element. Spaces around elements are allowed; other names are ignored.
TMPButtonSet ParseMPButtonSet(const std::wstring& text);
std::wstring MPButtonSetText(const TMPButtonSet& set);

int CountMPButtons(const TMPButtonSet& visible);
// The width of one button: the control's width shared by the visible ones
// (0 when none is).
int32_t MPButtonWidth(int32_t width, int visibleCount);
// The visible button whose column holds x, both edges included (a shared
// edge belongs to the earlier button); kMPNoButton when none does.
int HitMPButton(const TMPButtonSet& visible, int32_t buttonWidth, int32_t x);

// The glyph a button shows: 1 disabled, 2 coloured, 0 otherwise.
int MPGlyphIndex(bool enabled, bool colored);
// The image of the skin's button strip: 1 normal, 2 pressed (held down on
// this button), 3 disabled (whatever else holds).
int MPButtonFace(bool enabled, bool isDown, bool isPressedButton);

}  // namespace skin
