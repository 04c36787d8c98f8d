// A window with the text-entry controls in each of their states: edits with
// and without a border, a disabled edit, an edit holding an up-down window,
// stand-alone up-downs, combo boxes of each kind and date pickers, for tests
// that look at how they are drawn (plain or skinned) and work them with real
// input. Positions are fixed so screenshots compare.
#pragma once

#include <windows.h>

#include "gui/ComboBox.h"
#include "gui/DateTimePicker.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/UpDown.h"

namespace fw {

struct TEntryGallery {
  TForm* form = nullptr;
  TEdit* edit = nullptr;          // with a border
  TEdit* plainEdit = nullptr;     // without a border
  TEdit* disabledEdit = nullptr;  // with a border, disabled
  TEdit* spinEdit = nullptr;      // holds spinInEdit
  HWND spinInEdit = nullptr;      // a bare up-down window inside spinEdit, its buddy
  TEdit* buddyEdit = nullptr;     // the buddy of spinVertical
  TUpDown* spinVertical = nullptr;
  TUpDown* spinHorizontal = nullptr;
  TComboBox* dropDown = nullptr;      // editable, five items
  TComboBox* dropDownList = nullptr;  // a list only, the second item chosen
  TComboBox* disabledCombo = nullptr;
  TComboBox* leftButtonCombo = nullptr;  // a list only, WS_EX_LEFTSCROLLBAR
  TDateTimePicker* datePicker = nullptr;
  TDateTimePicker* disabledDatePicker = nullptr;
};

// Builds the gallery form, owned by `owner` (null: the caller deletes
// gallery.form), its windows made but not shown.
TEntryGallery MakeEntryGallery(TComponent* owner);

}  // namespace fw
