// The settings vocabulary of the skin data component, portable: which kinds
// of controls and menus are skinned (TSkinControlType), the skin options
// (TSkinOption), the sets built from them, and the class-name prefixes of
// other component libraries the engine recognises. Kept apart from the
// component so that the portable binding rules can read the same sets.
#pragma once

#include <cstdint>

namespace skin {

enum TSkinControlType : int {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcForeignForms,
};
inline constexpr int kSkinControlTypeCount = xcForeignForms + 1;

enum TSkinOption : int {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoToolbarButton,
  xoMDIChildBorder,
  xoMenuBG,
  xoCaptionButtonHint,
  xoFormScrollbar,
};
inline constexpr int kSkinOptionCount = xoFormScrollbar + 1;

enum TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of one of the enumerations above: bit n is member n.
using TSkinSet = uint32_t;
inline constexpr TSkinSet SetOf(int member) {
  return TSkinSet{1} << member;
}
inline constexpr bool InSet(TSkinSet set, int member) {
  return (set & SetOf(member)) != 0;
}

// Class names of other component libraries the engine recognises. No window
// or control of this program belongs to them.
inline constexpr const wchar_t* kForeignFormPrefix = L"TXaForm";
inline constexpr const wchar_t* kForeignLibraryAPrefix = L"TXa";
inline constexpr const wchar_t* kForeignLibraryBPrefix = L"TXb";

}  // namespace skin
