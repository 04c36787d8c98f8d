// One function per skin bitmap. Each returns the whole strip, its frames side
// by side unless said otherwise; which frame shows which state follows the
// painter that draws the element (see README.md beside this file). Pixels of
// exactly magenta (kMagenta) are the parts meant to be transparent.
#pragma once

#include "Canvas.h"
#include "Glyphs.h"
#include "Theme.h"

namespace skingen {

// Window frame. The four borders are cut from one drawing of a small window
// so that rounded corners continue across the pieces.
struct FrameBorders {
  Canvas left, right;  // 2 frames side by side (active, inactive), window height
  Canvas top, bottom;  // 2 frames stacked (active, inactive)
  int height = 0;      // of the left and right images
  int topEnds = 0;     // fixed width at each end of the top image
  int bottomEnds = 0;  // fixed width at each end of the bottom image
};
FrameBorders DrawBorders(const Theme& theme);
Canvas DrawTextBack(const Theme& theme);  // 2 stacked: active, inactive
Canvas DrawMenuBar(const Theme& theme);   // 2 stacked: active, inactive

enum class CaptionGlyph { Close, Maximize, Restore, Minimize, Help };
// 4 frames: normal, pressed, hot, inactive window or disabled.
Canvas DrawCaptionButton(const Theme& theme, CaptionGlyph glyph);
// 12 cells: minimize, restore, close; each normal, pressed, hot, hot (MDI).
Canvas DrawMdiControls(const Theme& theme);

// Controls.
Canvas DrawPushButton(const Theme& theme);  // normal, pressed, disabled, hot, focused
// 4 frames: unchecked, checked, unchecked disabled, checked disabled or mixed;
// 12 frames: unchecked, checked, mixed, each normal, hot, pressed, disabled.
Canvas DrawCheckBoxes(const Theme& theme, int frames);
Canvas DrawRadioButtons(const Theme& theme, int frames);  // 4 or 8 frames, as check boxes
Canvas DrawTabs(const Theme& theme);                      // ordinary, selected, hot, disabled, selected
Canvas DrawTabPageFrame(const Theme& theme, int side);
Canvas DrawComboButton(const Theme& theme);  // normal, pressed, disabled, hot
Canvas DrawSunkEdge(const Theme& theme);     // normal, pressed, disabled, hot or focused
Canvas DrawComboExtras(const Theme& theme);  // drop arrow in the 4 faces, then the size grip
Canvas DrawMenuItems(const Theme& theme);    // normal, separator, (unused), selected, (unused)
Canvas DrawMenuBackground(const Theme& theme);
Canvas DrawStatusBar(const Theme& theme);  // lowered panel, raised panel, no bevel
// Whole bar then filled part (two frames), or the bar alone (one frame).
Canvas DrawProgress(const Theme& theme, int frames);
Canvas DrawHeader(const Theme& theme, int frames);  // normal, under the mouse, ...

// Scroll bars, up-down buttons and track bars.
Canvas DrawScrollArrows(const Theme& theme);                  // the 23-frame arrow and grip strip
Canvas DrawScrollShaft(const Theme& theme, bool horizontal);  // enabled, -, disabled, -
Canvas DrawScrollThumb(const Theme& theme, bool horizontal);  // normal, pressed, hot
// 8 faces: first arrow (up or left) normal, pressed, disabled, hot; then the second.
Canvas DrawSpinFaces(const Theme& theme, bool vertical);
Canvas DrawSpinGlyphs(const Theme& theme, bool vertical);

// Parts only the test skin carries.
Canvas DrawProgressChunk(const Theme& theme);
Canvas DrawGroupBoxEdge(const Theme& theme);                                   // 2 frames
Canvas DrawGroupBoxLabel(const Theme& theme);                                  // 1 frame
Canvas DrawToolBarButtons(const Theme& theme);                                 // 5 frames
Canvas DrawTrackThumb(const Theme& theme, Direction pointing, bool vertical);  // 5 frames
Canvas DrawTrackChannel(const Theme& theme, bool vertical);                    // 1 frame

}  // namespace skingen
