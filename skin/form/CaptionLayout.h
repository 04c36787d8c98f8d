// The geometry and rules of a skinned window frame, portable: border widths
// from the border images, where the frame's pieces go, which caption buttons
// show, where they sit, which one a point hits, their hints, and where the
// title text and its background go. The form skinner feeds these the facts
// it reads from its window and does the drawing; keeping the rules here lets
// them be checked without a window.
//
// All rectangles are in window coordinates: the origin is the window's
// top-left corner, as the non-client area is painted.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/model/SkinElements.h"

namespace skin {

// --- borders and frame pieces ---

// Left, top, right, bottom widths of the skinned non-client area, from
// border[1..4] (left and right strips side by side, top and bottom stacked);
// all zero for a frameless window.
TRect BorderWidths(const std::array<TDataSkinBorder, 5>& border, bool frameless);

// Left and right borders run the full window height, corners included; the
// top (caption band) and bottom run between them; the menu band sits under
// the caption.
struct TFramePieces {
  TRect left, right, bottom, caption, title, menuBand;
};
TFramePieces FramePieces(int32_t width, int32_t height, const TRect& bw, int32_t menuHeight);

// --- caption buttons ---

// What the visibility rules of a caption button ask of its window.
struct TCaptionWindowFacts {
  bool maximized = false;
  bool active = true;
  bool hasMin = false;     // WS_MINIMIZEBOX
  bool hasMax = false;     // WS_MAXIMIZEBOX
  bool hasHelp = false;    // WS_EX_CONTEXTHELP
  bool hasSystem = false;  // WS_SYSMENU or a system menu
  bool dialogFrame = false;
  bool messageBox = false;
  // An MDI frame with a menu bar whose active child is maximized.
  bool mdiChildMaximized = false;
  // The window's answer to WM_SKINBUTTONQUERY(visibility, action), asked
  // only for visibility codes 1000 to 2000; no answer counts as 0.
  std::function<intptr_t(int visibility, int action)> ask;
};

// One rule of the visibility table: `second` picks the Visibility1 column.
bool VisibilityRule(int code, bool second, int action, const TCaptionWindowFacts& facts);

struct TCaptionButtonShow {
  bool visible = false;
  // Set for the maximize and minimize buttons, whose function depends on the
  // window's styles; other buttons keep their enabled state.
  std::optional<bool> enabled;
};
TCaptionButtonShow CaptionButtonShow(const TDataSkinSysButton& element, const TCaptionWindowFacts& facts);

// What a button's placement is measured against.
struct TCaptionGeometry {
  int32_t windowWidth = 0;
  TRect title;  // the title rectangle with its background ends (ctr)
  TRect bw;
  int32_t menuHeight = 0;
  int32_t menuBarLeftMargin = 0;  // the skin's menu-bar element left margin, 0 without one
};
// The button's rectangle (one image of its strip) for its Align.
TRect PlaceCaptionButton(const TDataSkinSysButton& element, const TCaptionGeometry& geometry);

// A caption button as the hit test sees it.
struct TCaptionButtonHit {
  TRect bounds;
  bool visible = false;
  int action = 0;
};
// The first visible button whose action is not negative (those are
// decoration) and whose bounds hold (x, y); -1 when none.
int HitCaptionButton(const std::vector<TCaptionButtonHit>& buttons, int32_t x, int32_t y);

// The image a caption paint shows: 1, or 4 (inactive or disabled) when the
// strip has four images or more.
int CaptionButtonImage(int frames, bool windowActive, bool enabled);
// The image one button shows in mouse state `state` (1 normal, 2 pressed,
// 3 hot): a disabled button shows image 4 when it has one, else 1; a
// menu-bar button (visibility 100) shows image 4 for hot.
int CaptionButtonStateImage(int state, bool enabled, int frames, int visibility);

// The hint of a caption button's action; empty for none.
std::wstring CaptionButtonHint(int action);

// The room the right-anchored buttons take from the right edge: the largest
// XCoord of the visible Align 1 buttons that have an image; 0 for none.
struct TCaptionButtonReserve {
  int align = 0;
  int32_t xcoord = 0;
  bool visible = false;
  bool hasImage = false;
};
int32_t RightButtonReserve(const std::vector<TCaptionButtonReserve>& buttons);

// --- title ---

struct TTitleInput {
  TRect caption;          // the caption area the title is laid out in
  int32_t textWidth = 0;  // the measured title text
  int32_t textHeight = 0;
  const TDataSkinTitle* element = nullptr;
  bool rightToLeft = false;
  bool popup = false;  // WS_POPUP
  bool dialogFrame = false;
  int32_t rightButtons = 0;  // RightButtonReserve
};
struct TTitlePlacement {
  TRect back;  // the title with its background ends (ctr)
  TRect text;  // where the text is drawn (FTitleRect)
};
TTitlePlacement PlaceTitle(const TTitleInput& input);

// The window icon sits 8 pixels from the left edge, centred on the title text.
inline constexpr int32_t kIconLeft = 8;
int32_t IconTop(const TRect& titleText, int32_t iconSize);

}  // namespace skin
