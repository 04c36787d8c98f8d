#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

// ---------------------------------------------------------------- colour-only boxes

const fw::TClassInfo& TSkinBox::StaticClass() {
  static const fw::TClassInfo info{L"TSkinBox", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinBox::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  // Only the colour follows the skin; the control's messages stay its own.
  newColor = acolor;
  fsd = sd;
  skinform = sf;
  fw::TComponent* owner = Owner();
  control =
      owner && owner->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(owner) : nullptr;
  if (control) hwnd = control->Handle();
  if (skinform) skinform->AddControlList(this);
  if (newColor) ReplaceControlColor();
  Inited = true;
}

void TSkinBox::Unsubclass() {
  if (newColor && control) RestoreControlColor();
  skinstate = scDetached;
}

// ---------------------------------------------------------------- bare containers

const fw::TClassInfo& TSkinBoxH::StaticClass() {
  static const fw::TClassInfo info{L"TSkinBoxH", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinBoxH::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetWindowRect(hwnd, &r);
      RECT rc{0, 0, r.right - r.left, r.bottom - r.top};
      FillColorRect(reinterpret_cast<HDC>(message.WParam), rc, SkinColor(3));
      message.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOldProc(message);
      if (fsd && fsd->BGBrush) message.Result = reinterpret_cast<LRESULT>(fsd->BGBrush);
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

}  // namespace skin
