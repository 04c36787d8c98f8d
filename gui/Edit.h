// A single-line edit (the native EDIT class). Read-only, borderless and
// soft-bevelled variants; OnChange fires on every change of its text,
// including one the program makes, but never for setting the same text.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TEditBorder { ebNone, ebSingle };
enum TBevelKind { bkNone, bkSoft };

// Class identity only: every edit, single- or multi-line.
struct TCustomEdit {
  static const TClassInfo& StaticClass();
};

class TEdit : public TWinControl {
  FW_CLASS(TEdit)
 public:
  explicit TEdit(TComponent* owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  TEditBorder BorderStyle() const { return border_; }
  void SetBorderStyle(TEditBorder b) { border_ = b; }
  TBevelKind BevelKind() const { return bevel_; }
  void SetBevelKind(TBevelKind b) { bevel_ = b; }
  TEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& msg) override;
  virtual void Change();

 private:
  void CNCommand(TMessage& m);
  bool readOnly_ = false;
  TEditBorder border_ = ebSingle;
  TBevelKind bevel_ = bkNone;
};

}  // namespace fw
