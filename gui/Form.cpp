#include "gui/Form.h"

#include <stdexcept>

#include "gui/Application.h"
#include "gui/FormReader.h"
#include "gui/Menus.h"
#include "gui/Text.h"

namespace fw {

namespace {

std::vector<TForm*>& FormList() {
  static std::vector<TForm*> forms;
  return forms;
}

}  // namespace

const std::vector<TForm*>& OpenForms() {
  return FormList();
}

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info{L"TCustomForm", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info{
      L"TForm",
      &TCustomForm::StaticClass(),
      {
          IntProp(
              L"ClientWidth", [](const TComponent& c) { return As<TForm>(c).ClientWidth(); },
              [](TComponent& c, int v) { As<TForm>(c).SetClientSize(v, As<TForm>(c).ClientHeight()); }),
          IntProp(
              L"ClientHeight", [](const TComponent& c) { return As<TForm>(c).ClientHeight(); },
              [](TComponent& c, int v) { As<TForm>(c).SetClientSize(As<TForm>(c).ClientWidth(), v); }),
          EnumProp(
              L"BorderStyle", {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog"},
              [](const TComponent& c) { return static_cast<int>(As<TForm>(c).BorderStyle()); },
              [](TComponent& c, int v) { As<TForm>(c).SetBorderStyle(static_cast<TBorderStyle>(v)); }),
          BoolProp(
              L"MaximizeBox", [](const TComponent& c) { return As<TForm>(c).Maximizable(); },
              [](TComponent& c, bool v) { As<TForm>(c).SetMaximizable(v); }),
          EnumProp(
              L"Position", {L"poDesigned", L"poDesktopCenter", L"poScreenCenter"},
              [](const TComponent& c) { return static_cast<int>(As<TForm>(c).Position()); },
              [](TComponent& c, int v) { As<TForm>(c).SetPosition(static_cast<TPosition>(v)); }),
          TextProp(
              L"Menu", [](const TComponent& c) { return As<TForm>(c).MenuName(); },
              [](TComponent& c, const std::wstring& v) { As<TForm>(c).SetMenuName(v); }),
          EventProp(L"OnCreate", [](TComponent& c) -> TEvent& { return As<TForm>(c).OnCreate; }),
          EventProp(L"OnClose", [](TComponent& c) -> TEvent& { return As<TForm>(c).OnClose; }),
      }};
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  FormList().push_back(this);
}

TForm::~TForm() {
  DestroyComponents();
  std::erase(FormList(), this);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void TForm::LoadFromResource(const wchar_t* resourceName) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(instance, resourceName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) throw std::runtime_error(Utf8(L"找不到窗口定义资源 " + std::wstring(resourceName)));
  HGLOBAL data = LoadResource(instance, res);
  const char* bytes = static_cast<const char*>(LockResource(data));
  ReadDefinition(*this, std::string_view(bytes, SizeofResource(instance, res)));
}

void TForm::Loaded() {
  if (!menuName_.empty()) {
    TComponent* c = FindComponent(menuName_);
    if (!c || !c->Is(TMainMenu::StaticClass())) throw std::runtime_error(Utf8(L"找不到主菜单 " + menuName_));
    menu_ = static_cast<TMainMenu*>(c);
  }
}

void TForm::SetMenu(TMainMenu* menu) {
  menu_ = menu;
  if (!HandleAllocated()) return;
  HMENU old = GetMenu(Handle());
  ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
  // Sent to the window, so that whatever stands in front of its procedure sees it too.
  SendMessageW(Handle(), CM_MENUCHANGED, 0, 0);
  if (old && IsMenu(old) && (!menu_ || old != menu_->Handle()) && GetMenu(Handle()) != old) DestroyMenu(old);
}

void TForm::MenuChanged() {
  if (!menu_) return;
  HMENU old = menu_->Rebuild();
  if (!HandleAllocated()) {
    if (old) DestroyMenu(old);
    return;
  }
  ::SetMenu(Handle(), menu_->Handle());
  SendMessageW(Handle(), CM_MENUCHANGED, 0, 0);
  // The old menu is nobody's now (the window, or whoever kept it, has the new one).
  if (old && IsMenu(old) && GetMenu(Handle()) != old) DestroyMenu(old);
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width, clientHeight_ = height;
  if (HandleAllocated()) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), menu_ != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
}

RECT TForm::ClientArea() const {
  if (HandleAllocated()) return TWinControl::ClientArea();
  return {0, 0, clientWidth_, clientHeight_};
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (borderStyle_ == bsSizeable) params.style |= WS_THICKFRAME;
  if (maximizable_ && borderStyle_ == bsSizeable) params.style |= WS_MAXIMIZEBOX;
  if (borderStyle_ == bsDialog) params.style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);
  params.exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
  params.classStyle = CS_DBLCLKS;
  params.background = GetSysColorBrush(COLOR_BTNFACE);
  // The window starts at its final size so that docked children are laid out once.
  RECT r{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&r, params.style, menu_ != nullptr, params.exStyle);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = Left(), y = Top();
  if (position_ != poDesigned) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - w) / 2;
    y = work.top + (work.bottom - work.top - h) / 2;
  }
  TControl::SetBounds(x, y, w, h);
}

void TForm::CreateWnd() {
  if (menu_) ::SetMenu(Handle(), menu_->Handle());
  HINSTANCE instance = GetModuleHandleW(nullptr);
  bigIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
  if (bigIcon_) SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void TForm::Show() {
  HandleNeeded();
  SetVisible(true);
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
  // Focus starts on the first control of the tab order.
  if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
}

void TForm::Close() {
  if (HandleAllocated()) SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

TNotifyEvent TForm::FindMethod(const std::wstring& name) const {
  auto it = methods_.find(name);
  return it == methods_.end() ? nullptr : it->second;
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      return WMCommand(m);
    case WM_CLOSE:
      return WMClose(m);
    case WM_ACTIVATE:
      return WMActivate(m);
    case WM_DESTROY:
      return WMDestroy(m);
    default:
      return TWinControl::WndProc(m);
  }
}

void TForm::WMCommand(TMessage& m) {
  if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_) {
    if (TMenuItem* item = menu_->FindItem(LOWORD(m.WParam))) {
      item->Click();
      return;
    }
  }
  TWinControl::WndProc(m);
}

void TForm::WMClose(TMessage&) {
  RunEvent(OnClose, this);
  if (Application && Application->MainForm() == this) {
    DestroyWindow(Handle());
  } else {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::WMActivate(TMessage& m) {
  // Focus comes back to the control that had it when the window was left.
  if (LOWORD(m.WParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    m.Result = 0;
  } else if (lastFocus_ && IsWindow(lastFocus_)) {
    ::SetFocus(lastFocus_);
    m.Result = 0;
  } else {
    TWinControl::WndProc(m);
  }
}

void TForm::WMDestroy(TMessage& m) {
  if (Application && Application->MainForm() == this) PostQuitMessage(0);
  TWinControl::WndProc(m);
}

}  // namespace fw
