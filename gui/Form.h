// A top-level window built from its stored definition. It publishes its
// event handlers by name (so the definition can bind OnClick = Button11Click),
// sizes itself from the client size, centres itself, carries the main menu
// and the program's icon, and keeps the focused control across activation.
#pragma once

#include <map>
#include <vector>

#include "gui/Control.h"

namespace fw {

class TMainMenu;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter };

// Class identity only: what "is a form" asks about.
struct TCustomForm {
  static const TClassInfo& StaticClass();
};

class TForm : public TWinControl {
  FW_CLASS(TForm)
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Builds the components from the definition stored as an RCDATA resource of this name.
  void LoadFromResource(const wchar_t* resourceName);

  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s) { borderStyle_ = s; }
  bool Maximizable() const { return maximizable_; }
  void SetMaximizable(bool on) { maximizable_ = on; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenuName(const std::wstring& name) { menuName_ = name; }
  const std::wstring& MenuName() const { return menuName_; }
  // Gives the window `menu` (or none) and tells the window (CM_MENUCHANGED).
  void SetMenu(TMainMenu* menu);
  // The menu's items changed: the window gets a native menu built afresh from them.
  void MenuChanged();

  TEvent OnCreate;
  TEvent OnClose;

  void Show();
  // Closes the window as its close button does: OnClose runs first.
  void Close();

  TNotifyEvent FindMethod(const std::wstring& name) const override;
  RECT ClientArea() const override;
  void Loaded() override;

 protected:
  void RegisterMethod(const std::wstring& name, TNotifyEvent handler) { methods_[name] = std::move(handler); }
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void WMCommand(TMessage& m);
  void WMClose(TMessage& m);
  void WMActivate(TMessage& m);
  void WMDestroy(TMessage& m);

  int clientWidth_ = 300, clientHeight_ = 200;
  TBorderStyle borderStyle_ = bsSizeable;
  bool maximizable_ = true;
  TPosition position_ = poDesigned;
  TMainMenu* menu_ = nullptr;
  std::wstring menuName_;
  std::map<std::wstring, TNotifyEvent> methods_;
  HWND lastFocus_ = nullptr;
  HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
};

// The forms that exist now, in creation order.
const std::vector<TForm*>& OpenForms();

}  // namespace fw
