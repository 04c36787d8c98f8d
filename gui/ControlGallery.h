// A window with one of each button-like control in each of its states, for
// tests that look at how controls are drawn (plain or skinned) and work
// them with real input. Positions are fixed so screenshots compare.
#pragma once

#include "gui/BitBtn.h"
#include "gui/Button.h"
#include "gui/CheckBox.h"
#include "gui/Form.h"
#include "gui/GroupBox.h"
#include "gui/MenuButton.h"
#include "gui/Menus.h"
#include "gui/RadioButton.h"
#include "gui/RadioGroup.h"
#include "gui/SpeedButton.h"

namespace fw {

struct TControlGallery {
  TForm* form = nullptr;
  TGroupBox* checkFrame = nullptr;  // holds the check boxes
  TCheckBox* checkUnchecked = nullptr;
  TCheckBox* checkChecked = nullptr;
  TCheckBox* checkGrayed = nullptr;    // AllowGrayed, greyed
  TCheckBox* checkDisabled = nullptr;  // checked, disabled
  TCheckBox* checkLeftText = nullptr;  // caption left of the mark
  TGroupBox* radioFrame = nullptr;     // holds the radio buttons
  TRadioButton* radioChecked = nullptr;
  TRadioButton* radioUnchecked = nullptr;
  TRadioButton* radioDisabled = nullptr;
  TRadioGroup* radioGroup = nullptr;  // items 甲 乙 丙, the second chosen
  TButton* button = nullptr;
  TButton* defaultButton = nullptr;
  TButton* disabledButton = nullptr;
  TBitBtn* bitButton = nullptr;  // a two-image glyph
  TBitBtn* disabledBitButton = nullptr;
  TSpeedButton* speedButton = nullptr;
  TSpeedButton* flatSpeedButton = nullptr;
  TSpeedButton* downSpeedButton = nullptr;   // group 1, down
  TSpeedButton* groupSpeedButton = nullptr;  // group 1, up
  TSpeedButton* disabledSpeedButton = nullptr;
  TMenuButton* menuButton = nullptr;
  TPopupMenu* menu = nullptr;  // two items
};

// Builds the gallery form, owned by `owner` (null: the caller deletes
// gallery.form), its window made but not shown.
TControlGallery MakeControlGallery(TComponent* owner);

// A glyph of `count` 16 x 16 images: a filled square in a different colour
// per image (green, grey, blue, red) on magenta, the colour left out.
void MakeTestGlyph(TBitmap& glyph, int count);

}  // namespace fw
