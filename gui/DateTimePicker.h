// A date picker, the native SysDateTimePick32: a date field with a drop-down
// calendar (or up-down arrows, DateMode dmUpDown). OnChange fires when the
// user changes the date.
#pragma once

#include <string>

#include "gui/Control.h"

namespace fw {

enum TDTDateMode { dmComboBox, dmUpDown };
enum TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TWinControl {
  FW_CLASS(TDateTimePicker)
 public:
  explicit TDateTimePicker(TComponent* owner);

  // The date shown (the window's once it exists).
  SYSTEMTIME Date() const;
  void SetDate(const SYSTEMTIME& date);
  // "yyyy-mm-dd"; a text that is not such a date is refused with std::invalid_argument.
  std::wstring DateText() const;
  void SetDateText(const std::wstring& text);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode mode) { dateMode_ = mode; }
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind kind) { kind_ = kind; }
  TEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void CNNotify(TMessage& m);
  SYSTEMTIME date_{};
  TDTDateMode dateMode_ = dmComboBox;
  TDateTimeKind kind_ = dtkDate;
};

}  // namespace fw
