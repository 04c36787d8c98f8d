#include "gui/EntryGallery.h"

#include "gui/GalleryForm.h"

#include <commctrl.h>

namespace fw {

namespace {

TEdit* PlaceEdit(TForm* form, int left, int top, const wchar_t* text) {
  auto* edit = Place<TEdit>(form, form, left, top, 150, 21);
  edit->SetCaption(text);
  return edit;
}

TComboBox* PlaceCombo(TForm* form, int left, int top, TComboBoxStyle style) {
  auto* combo = Place<TComboBox>(form, form, left, top, 150, 21);
  combo->SetStyle(style);
  for (const wchar_t* item : {L"客户", L"订单", L"产品", L"供应商", L"雇员"}) combo->AddItem(item);
  return combo;
}

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
  SYSTEMTIME d{};
  d.wYear = year;
  d.wMonth = month;
  d.wDay = day;
  return d;
}

}  // namespace

TEntryGallery MakeEntryGallery(TComponent* owner) {
  TEntryGallery g;
  g.form = NewGalleryForm(owner, L"EntryGallery", L"输入控件", 440, 240);
  TForm* f = g.form;

  g.edit = PlaceEdit(f, 8, 8, L"有边框");
  g.plainEdit = PlaceEdit(f, 8, 38, L"无边框");
  g.plainEdit->SetBorderStyle(ebNone);
  g.disabledEdit = PlaceEdit(f, 8, 68, L"禁用");
  g.disabledEdit->SetEnabled(false);
  g.spinEdit = PlaceEdit(f, 8, 98, L"5");

  g.buddyEdit = Place<TEdit>(f, f, 170, 8, 60, 21);
  g.spinVertical = Place<TUpDown>(f, f, 232, 8, 16, 21);
  g.spinVertical->SetMax(50);
  g.spinVertical->SetPosition(7);
  g.spinVertical->SetAssociate(g.buddyEdit);
  g.spinHorizontal = Place<TUpDown>(f, f, 260, 10, 32, 16);
  g.spinHorizontal->SetOrientation(udHorizontal);

  g.dropDown = PlaceCombo(f, 8, 132, csDropDown);
  g.dropDown->SetText(L"客户");
  g.dropDownList = PlaceCombo(f, 170, 132, csDropDownList);
  g.disabledCombo = PlaceCombo(f, 8, 162, csDropDown);
  g.disabledCombo->SetText(L"禁用");
  g.disabledCombo->SetEnabled(false);
  // A list only: an edit would cover the left-hand button the skin draws.
  g.leftButtonCombo = PlaceCombo(f, 170, 162, csDropDownList);

  g.datePicker = Place<TDateTimePicker>(f, f, 8, 200, 150, 21);
  g.datePicker->SetDate(Day(2026, 12, 10));
  g.disabledDatePicker = Place<TDateTimePicker>(f, f, 170, 200, 150, 21);
  g.disabledDatePicker->SetDate(Day(2026, 1, 31));
  g.disabledDatePicker->SetEnabled(false);

  f->HandleNeeded();
  // Windows that need the others' windows: the list's chosen item, the
  // left-hand button, and the up-down living inside an edit.
  SendMessageW(g.dropDownList->Handle(), CB_SETCURSEL, 1, 0);
  HWND left = g.leftButtonCombo->Handle();
  SetWindowLongPtrW(left, GWL_EXSTYLE, GetWindowLongPtrW(left, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  RECT client;
  GetClientRect(g.spinEdit->Handle(), &client);
  g.spinInEdit = CreateWindowExW(
      0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS, client.right - 16, 0,
      16, client.bottom, g.spinEdit->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(g.spinInEdit, UDM_SETBUDDY, reinterpret_cast<WPARAM>(g.spinEdit->Handle()), 0);
  SendMessageW(g.spinInEdit, UDM_SETRANGE32, 0, 99);
  SendMessageW(g.spinInEdit, UDM_SETPOS32, 0, 5);
  SendMessageW(g.spinEdit->Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, 18));
  return g;
}

}  // namespace fw
