// The form skinner's message handlers, one per message, as its replacement
// window procedure (SubclassProc), the MDI client's procedure and the
// framework form's message hook dispatch them. One object lives for one
// message: the skinner, the message and its parameters, and Default() for
// the procedure the skinner replaced.
//
// SubclassProc passes each message through three layers: what every adopted
// window needs (Always), what a skinned frame needs whatever its state
// (Framed), and the frame itself once the window is activated (Painted).
#pragma once

#include <windows.h>

#include "gui/Control.h"
#include "skin/form/FrameMessages.h"
#include "skin/form/WinSkinForm.h"

namespace skin {

class TSkinManage;

class TFormMessages {
 public:
  TFormMessages(TWinSkinForm& sf, UINT msg, WPARAM wParam, LPARAM lParam)
      : sf_(sf), msg_(msg), wParam_(wParam), lParam_(lParam) {}

  LRESULT Dispatch();
  LRESULT DispatchMdiClient();

  // The framework form's message hook.
  static void FormSetText(TWinSkinForm& sf, fw::TMessage& m);
  static void FormSkinPrint(TWinSkinForm& sf, fw::TMessage& m);
  static void DialogChar(TWinSkinForm& sf, fw::TMessage& m);
  static void CallOldHandler(TWinSkinForm& sf, fw::TMessage& m);

  // The system popup (WinSkinFormSysMenu.cpp).
  static void BuildSysMenu(TWinSkinForm& sf);
  static void BuildDefaultSysMenu(TWinSkinForm& sf);
  static void RunSysMenuCommand(TWinSkinForm& sf, UINT command);

 private:
  LRESULT Default();
  // Layer results: true when the message was answered (in `result`).
  bool Always(LRESULT& result);
  bool Framed(LRESULT& result);
  LRESULT Painted();
  bool PaintedLayerRuns() const;

  // Layer 1.
  LRESULT OnEraseBkgnd();
  LRESULT OnNcDestroy();
  LRESULT OnInitMenuPopup();
  LRESULT OnCtlColorBtn();
  LRESULT OnCtlColorStatic();
  LRESULT OnIsSkinned();
  // Layer 2.
  LRESULT OnGetMinMaxInfo();
  LRESULT OnWindowPosChanged();
  LRESULT OnSetIcon();
  LRESULT OnCommand();
  LRESULT OnSysCommand();
  LRESULT OnSkinMenuClick();
  LRESULT OnMenuChanged();
  // Layer 3.
  LRESULT OnSize();
  LRESULT OnNcCalcSize();
  LRESULT OnNcHitTest();
  LRESULT OnNcPaint();
  LRESULT OnNcActivate();
  LRESULT OnNcMouseMove();
  LRESULT OnNcLButtonDown();
  LRESULT OnNcLButtonUp();
  LRESULT OnNcLButtonDblClk();
  LRESULT OnNcRButtonDown();
  LRESULT OnNcRButtonUp();
  LRESULT OnMeasureItem();  // owner-drawn menu items (WinSkinFormMenuItems.cpp)
  LRESULT OnDrawItem();
  // The MDI client.
  LRESULT MdiDefault();
  LRESULT OnMdiNcDestroy();
  LRESULT OnMdiNcCalcSize();
  LRESULT OnMdiDestroy();
  LRESULT OnMdiArrange();
  LRESULT OnMdiSetMenu();

  // The caption button at a window point, else the menu-bar button, else nullptr.
  TNCObject* ObjectAt(POINT windowPoint) const;
  POINT WindowPoint() const { return sf_.ScreenToWindowPoint(lParam_); }
  POINT ScreenPoint() const;

  TWinSkinForm& sf_;
  UINT msg_;
  WPARAM wParam_;
  LPARAM lParam_;
};

// The process-wide skin manager, when there is one.
TSkinManage* FormManager();

// True while `object` is one of the skinner's caption or menu-bar buttons.
bool IsCaptionButton(const TWinSkinForm& sf, const TNCObject* object);
bool IsMenuBarButton(const TWinSkinForm& sf, const TNCObject* object);

// The system popup: a new popup menu mirroring `system` item by item, its
// items' states decided from `window` (SysMenuItemLook). The caller owns it.
HMENU MirrorSystemMenu(HMENU system, const TSysMenuWindow& window);
// Command identifiers of the fallback popup's items: base + action.
inline constexpr UINT kSysMenuActionBase = 0x0100;

}  // namespace skin
