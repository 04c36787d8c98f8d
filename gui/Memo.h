// A multi-line edit with optional scroll bars; its Lines.Text is the whole text with CRLF line ends.
#pragma once

#include "gui/Edit.h"

namespace fw {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Class identity only: every multi-line edit.
struct TCustomMemo {
  static const TClassInfo& StaticClass();
};

class TMemo : public TEdit {
  FW_CLASS(TMemo)
 public:
  explicit TMemo(TComponent* owner);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s) { scrollBars_ = s; }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TScrollStyle scrollBars_ = ssNone;
};

}  // namespace fw
