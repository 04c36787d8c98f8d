#include "gui/Control.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "gui/Application.h"
#include "gui/Menus.h"
#include "gui/Text.h"

namespace fw {

namespace {

// The window property that leads from a handle to its object, named after the
// module and thread as the framework has always named it.
ATOM ControlAtom() {
  static ATOM atom = [] {
    wchar_t name[64];
    swprintf(name, 64, L"ControlOfs%.8X%.8X",
             static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetModuleHandleW(nullptr))),
             static_cast<unsigned>(GetCurrentThreadId()));
    return GlobalAddAtomW(name);
  }();
  return atom;
}

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM counter) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<DWORD*>(counter);
  EnumChildWindows(hwnd, CountOwnWindow, counter);
  return TRUE;
}

// The process's GDI and USER objects, for leak checks: "gdi=N;user=N". Where
// GetGuiResources is not implemented (Wine answers 0), the GDI handle table is
// walked instead (a handle value without its generation bits still names its
// slot there), and USER objects are the process's windows, message-only ones
// included, and its menus.
// Erases and paints the window and everything inside it at once, timed in
// microseconds: what a user waits for when the whole window is uncovered.
std::wstring RepaintMicroseconds(HWND hwnd) {
  if (!hwnd) return L"";
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  QueryPerformanceCounter(&t1);
  return std::to_wstring((t1.QuadPart - t0.QuadPart) * 1000000 / f.QuadPart);
}

std::wstring GuiResourceCounts() {
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (gdi == 0 && user == 0) {
    for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot) {
      if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++gdi;
      if (IsMenu(reinterpret_cast<HMENU>(slot))) ++user;
    }
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&user));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
      CountOwnWindow(w, reinterpret_cast<LPARAM>(&user));
  }
  return L"gdi=" + std::to_wstring(gdi) + L";user=" + std::to_wstring(user);
}

TFont& DefaultFont() {
  static TFont font;
  return font;
}

}  // namespace

// ---------------------------------------------------------------- TControl

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info{
      L"TControl",
      &TComponent::StaticClass(),
      {
          IntProp(
              L"Left", [](const TComponent& c) { return As<TControl>(c).Left(); },
              [](TComponent& c, int v) {
                auto& t = As<TControl>(c);
                t.SetBounds(v, t.Top(), t.Width(), t.Height());
              }),
          IntProp(
              L"Top", [](const TComponent& c) { return As<TControl>(c).Top(); },
              [](TComponent& c, int v) {
                auto& t = As<TControl>(c);
                t.SetBounds(t.Left(), v, t.Width(), t.Height());
              }),
          IntProp(
              L"Width", [](const TComponent& c) { return As<TControl>(c).Width(); },
              [](TComponent& c, int v) {
                auto& t = As<TControl>(c);
                t.SetBounds(t.Left(), t.Top(), v, t.Height());
              }),
          IntProp(
              L"Height", [](const TComponent& c) { return As<TControl>(c).Height(); },
              [](TComponent& c, int v) {
                auto& t = As<TControl>(c);
                t.SetBounds(t.Left(), t.Top(), t.Width(), v);
              }),
          EnumProp(
              L"Align", {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"},
              [](const TComponent& c) { return static_cast<int>(As<TControl>(c).Align()); },
              [](TComponent& c, int v) { As<TControl>(c).SetAlign(static_cast<TAlign>(v)); }),
          BoolProp(
              L"Visible", [](const TComponent& c) { return As<TControl>(c).Visible(); },
              [](TComponent& c, bool v) { As<TControl>(c).SetVisible(v); }),
          BoolProp(
              L"Enabled", [](const TComponent& c) { return As<TControl>(c).Enabled(); },
              [](TComponent& c, bool v) { As<TControl>(c).SetEnabled(v); }),
          TextProp(
              L"Caption", [](const TComponent& c) { return As<TControl>(c).Caption(); },
              [](TComponent& c, const std::wstring& v) { As<TControl>(c).SetCaption(v); }),
          EnumProp(
              L"Cursor", {L"crDefault", L"crHandPoint"},
              [](const TComponent& c) { return static_cast<int>(As<TControl>(c).Cursor()); },
              [](TComponent& c, int v) { As<TControl>(c).SetCursor(static_cast<TCursor>(v)); }),
          TextProp(
              L"Font.Name", [](const TComponent& c) { return As<TControl>(c).Font().Name(); },
              [](TComponent& c, const std::wstring& v) { As<TControl>(c).OwnFont().SetName(v); }),
          IntProp(
              L"Font.Height", [](const TComponent& c) { return As<TControl>(c).Font().Height(); },
              [](TComponent& c, int v) { As<TControl>(c).OwnFont().SetHeight(v); }),
          TextProp(
              L"Font.Charset",
              [](const TComponent& c) { return CharsetName(As<TControl>(c).Font().Charset()); },
              [](TComponent& c, const std::wstring& v) {
                int cs = CharsetFromName(v);
                if (cs < 0) throw std::invalid_argument(Utf8(L"未知字符集 " + v));
                As<TControl>(c).OwnFont().SetCharset(cs);
              }),
          IntProp(
              L"Font.Color",
              [](const TComponent& c) { return static_cast<int>(As<TControl>(c).Font().Color()); },
              [](TComponent& c, int v) { As<TControl>(c).OwnFont().SetColor(static_cast<COLORREF>(v)); }),
          ObjProp<TFont>(L"Font",
                         [](const TComponent& c) { return const_cast<TFont*>(&As<TControl>(c).Font()); }),
          IntProp(
              L"Color", [](const TComponent& c) { return static_cast<int>(As<TControl>(c).Color()); },
              [](TComponent& c, int v) { As<TControl>(c).SetColor(static_cast<TColor>(v)); }),
          BoolProp(
              L"ParentColor", [](const TComponent& c) { return As<TControl>(c).ParentColor(); },
              [](TComponent& c, bool v) { As<TControl>(c).SetParentColor(v); }),
          EventProp(L"OnClick", [](TComponent& c) -> TEvent& { return As<TControl>(c).OnClick; }),
      }};
  return info;
}

TShiftState ShiftStateFromKeys(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  DestroyComponents();
  if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the handler may replace WindowProc while it runs.
  TWndMethod handler = WindowProc;
  handler(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return WMPaint(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return WMLButtonDown(m);
    case WM_LBUTTONUP:
      return WMLButtonUp(m);
    case WM_RBUTTONDOWN:
      return MouseDown(mbRight, ShiftStateFromKeys(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    case WM_CANCELMODE:
      clicked_ = false;
      return;
    default:
      return;
  }
}

void TControl::WMPaint(TMessage& m) {
  if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
}

void TControl::WMLButtonDown(TMessage& m) {
  // The second press of a double click does not click again.
  if (m.Msg == WM_LBUTTONDOWN) clicked_ = Enabled();
  MouseDown(mbLeft, ShiftStateFromKeys(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::WMLButtonUp(TMessage& m) {
  if (!clicked_) return;
  clicked_ = false;
  // Only a release over the control that was pressed clicks it.
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  RECT r{0, 0, Width(), Height()};
  if (PtInRect(&r, p)) Click();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!OnMouseDown) return;
  TMouseEvent handler = OnMouseDown;
  if (Application)
    Application->RunEvent([&] { handler(this, button, shift, x, y); });
  else
    handler(this, button, shift, x, y);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) parent_->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (!IsWindowed() && parent_) Invalidate();
  left_ = left, top_ = top, width_ = width, height_ = height;
  if (!IsWindowed() && parent_) Invalidate();
  BoundsChanged();
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  RequestParentRealign();
}

void TControl::RequestParentRealign() {
  if (parent_ && parent_->HandleAllocated() && !Loading()) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  Invalidate();
  RequestParentRealign();
  // Whatever follows the control (a skin's overlay) hears of it.
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::EnabledChanged() {
  Invalidate();
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

TColor TControl::Color() const {
  if (hasColor_) return color_;
  return parent_ ? parent_->Color() : clBtnFace;
}

void TControl::SetColor(TColor color) {
  if (hasColor_ && color == color_) return;
  hasColor_ = true;
  color_ = color;
  ColorChanged();
}

void TControl::SetParentColor(bool on) {
  if (on == !hasColor_) return;
  color_ = Color();
  hasColor_ = !on;
  ColorChanged();
}

void TControl::ColorChanged() {
  Invalidate();
}

void TControl::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  Invalidate();
}

const TFont& TControl::Font() const {
  if (font_) return *font_;
  return parent_ ? parent_->Font() : DefaultFont();
}

TFont& TControl::OwnFont() {
  if (!font_) font_ = std::make_unique<TFont>();
  return *font_;
}

void TControl::Click() {
  RunEvent(OnClick, this);
}

void TControl::Invalidate() {
  if (!IsWindowed() && parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

std::wstring TControl::Automation(const std::wstring& request) {
  if (request == L"text") return Caption();
  if (request == L"visible") return Visible() ? L"1" : L"0";
  if (request == L"enabled") return Enabled() ? L"1" : L"0";
  if (request == L"bounds") {
    // Relative to the form's client area, so a driver can click a windowless control.
    int x = Left(), y = Top();
    for (TWinControl* p = Parent(); p && p->Parent(); p = p->Parent()) x += p->Left(), y += p->Top();
    return std::to_wstring(x) + L"," + std::to_wstring(y) + L"," + std::to_wstring(Width()) + L"," +
           std::to_wstring(Height());
  }
  return TComponent::Automation(request);
}

// ---------------------------------------------------------------- TGraphicControl

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info{L"TGraphicControl", &TControl::StaticClass(), {}};
  return info;
}

// ---------------------------------------------------------------- TWinControl

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info{
      L"TWinControl",
      &TControl::StaticClass(),
      {
          BoolProp(
              L"TabStop", [](const TComponent& c) { return As<TWinControl>(c).TabStop(); },
              [](TComponent& c, bool v) { As<TWinControl>(c).SetTabStop(v); }),
      }};
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyComponents();
  // Children that are owned elsewhere must not keep a dangling parent.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  if (handle_) DestroyWindow(handle_);
  if (colorBrush_) DeleteObject(colorBrush_);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropW(hwnd, MAKEINTATOM(ControlAtom()))) : nullptr;
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  if (HandleAllocated() && c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

void TWinControl::ReadChild(TComponent* child) {
  if (child->Is(TControl::StaticClass())) static_cast<TControl*>(child)->SetParent(this);
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it != controls_.end()) controls_.erase(it);
  if (captureControl_ == c) captureControl_ = nullptr;
  if (hoverControl_ == c) hoverControl_ = nullptr;
}

TControl* TWinControl::ControlAtPos(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    RECT r = c->BoundsRect();
    if (!c->IsWindowed() && c->Visible() && PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  params.exStyle = WS_EX_CONTROLPARENT;
  params.ownClass = true;
  params.className = ClassName();
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (Parent() && !Parent()->HandleAllocated()) return;
  CreateHandle();
}

void TWinControl::CreateHandle() {
  TCreateParams params;
  CreateParams(params);
  if (Visible()) params.style |= WS_VISIBLE;
  if (!Enabled()) params.style |= WS_DISABLED;
  if (tabStop_) params.style |= WS_TABSTOP;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (params.ownClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, params.className.c_str(), &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof wc;
      wc.style = params.classStyle;
      wc.lpfnWndProc = StaticWndProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = params.background;
      wc.lpszClassName = params.className.c_str();
      wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
      wc.hIconSm = wc.hIcon;
      RegisterClassExW(&wc);
    }
  }
  HWND parent = Parent() ? Parent()->Handle() : nullptr;
  RECT r = BoundsRect();
  HWND hwnd = CreateWindowExW(params.exStyle, params.className.c_str(), Caption().c_str(), params.style,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr, instance,
                              params.ownClass ? this : nullptr);
  if (!hwnd) return;
  ownClass_ = params.ownClass;
  if (!params.ownClass) {
    Attach(hwnd);
    defProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::StaticWndProc)));
  }
  ApplyFont();
  CreateWnd();
  AlignControls();
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

void TWinControl::CreateWnd() {}

void TWinControl::ApplyFont() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::Attach(HWND hwnd) {
  handle_ = hwnd;
  SetPropW(hwnd, MAKEINTATOM(ControlAtom()), this);
}

void TWinControl::Detach() {
  if (!handle_) return;
  RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
  if (defProc_) SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc_));
  handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) self->Attach(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  WNDPROC original = self->defProc_;
  // A copy: the handler may replace WindowProc while it runs.
  TWndMethod handler = self->WindowProc;
  handler(m);
  if (msg == WM_NCDESTROY) {
    self->Detach();
    if (original) CallWindowProcW(original, hwnd, msg, wParam, lParam);
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  if (defProc_)
    m.Result = CallWindowProcW(defProc_, handle_, m.Msg, m.WParam, m.LParam);
  else if (m.Msg != WM_NCDESTROY)
    m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      return WMCommand(m);
    case WM_NOTIFY:
      return WMNotify(m);
    case WM_PAINT:
      return WMPaint(m);
    case WM_ERASEBKGND:
      return WMEraseBkgnd(m);
    case WM_SIZE:
      return WMSize(m);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return WMMouse(m);
    case WM_MOUSELEAVE:
      return WMMouseLeave(m);
    case WM_CAPTURECHANGED:
      return WMCaptureChanged(m);
    case WM_SETFOCUS:
      return WMSetFocus(m);
    case WM_KILLFOCUS:
      return WMKillFocus(m);
    case WM_SETCURSOR:
      return WMSetCursor(m);
    case WM_COPYDATA:
      return WMCopyData(m);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return WMCtlColor(m);
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORBTN:
      return CNCtlColor(m);
    case WM_DRAWITEM:
      return WMDrawItem(m);
    case WM_MEASUREITEM:
      return WMMeasureItem(m);
    case WM_HSCROLL:
    case WM_VSCROLL:
      return WMScroll(m);
    default:
      return DefaultHandler(m);
  }
}

void TWinControl::WMCommand(TMessage& m) {
  if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
    m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WMScroll(TMessage& m) {
  // lParam names the scroll-bar control; a window's own bars send none.
  if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (TWinControl* child = FromHandle(hdr->hwndFrom); child && child != this) {
    m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WMCtlColor(TMessage& m) {
  // The child decides its own colours (check boxes and radio buttons paint
  // with their Color).
  if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::CNCtlColor(TMessage& m) {
  // Read-only and disabled edits, and labels of native classes, sit on the
  // button face of our containers; the native default already is that colour.
  TMessage original{m.Msg - CN_BASE, m.WParam, m.LParam, 0};
  if (Parent()) Parent()->DefaultHandler(original);
  m.Result = original.Result;
}

void TWinControl::WMDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (item && item->CtlType == ODT_MENU) {
    // An item of an owner-drawn framework menu draws itself, whichever window owns the menu.
    if (TMenuItem* menuItem = TMenuItem::FromCommand(item->itemID)) {
      menuItem->DrawItem(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) != 0);
      m.Result = TRUE;
      return;
    }
  }
  if (item && item->CtlType != ODT_MENU) {
    if (TWinControl* child = FromHandle(item->hwndItem); child && child != this) {
      m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMMeasureItem(TMessage& m) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (item && item->CtlType == ODT_MENU) {
    if (TMenuItem* menuItem = TMenuItem::FromCommand(item->itemID)) {
      HDC dc = GetDC(Handle());
      HFONT font = nullptr;
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof metrics;
      if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = CreateFontIndirectW(&metrics.lfMenuFont);
      HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
      int width = static_cast<int>(item->itemWidth), height = static_cast<int>(item->itemHeight);
      menuItem->MeasureItem(dc, width, height);
      item->itemWidth = static_cast<UINT>(std::max(width, 0));
      item->itemHeight = static_cast<UINT>(std::max(height, 0));
      if (old) SelectObject(dc, old);
      if (font) DeleteObject(font);
      ReleaseDC(Handle(), dc);
      m.Result = TRUE;
      return;
    }
  }
  DefaultHandler(m);
}

HBRUSH TWinControl::ColorBrush() {
  if (!colorBrush_ || brushColor_ != Color()) {
    if (colorBrush_) DeleteObject(colorBrush_);
    brushColor_ = Color();
    colorBrush_ = CreateSolidBrush(ColorToRGB(brushColor_));
  }
  return colorBrush_;
}

void TWinControl::ColorChanged() {
  // Windowless children and windowed ones that follow this colour repaint with it.
  if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TWinControl::WMPaint(TMessage& m) {
  if (!ownClass_) return DefaultHandler(m);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  PaintControls(dc);
  EndPaint(handle_, &ps);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  if (!ownClass_) return DefaultHandler(m);
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
  m.Result = 1;
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible()) continue;
    int saved = SaveDC(dc);
    RECT r = c->BoundsRect();
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    SetViewportOrgEx(dc, r.left, r.top, nullptr);
    SelectObject(dc, c->Font().Handle());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMSize(TMessage& m) {
  DefaultHandler(m);
  AlignControls();
}

void TWinControl::WMMouse(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* under = ownClass_ ? ControlAtPos(p) : nullptr;
  if (m.Msg == WM_MOUSEMOVE && ownClass_) HoverOver(under);
  // A held left button keeps its messages going to the windowless control it
  // was pressed on, wherever the mouse is: the window holds the capture.
  TControl* target = captureControl_ ? captureControl_ : (under && under->Enabled() ? under : nullptr);
  if (!target) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDOWN)
      MouseDown(m.Msg == WM_RBUTTONDOWN ? mbRight : mbLeft, ShiftStateFromKeys(m.WParam), p.x, p.y);
    return DefaultHandler(m);
  }
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    captureControl_ = target;
    SetCapture(handle_);
  } else if (m.Msg == WM_LBUTTONUP && captureControl_) {
    captureControl_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  RECT r = target->BoundsRect();
  target->Perform(m.Msg, m.WParam,
                  MAKELPARAM(static_cast<WORD>(p.x - r.left), static_cast<WORD>(p.y - r.top)));
  m.Result = 0;
}

void TWinControl::HoverOver(TControl* control) {
  if (control == hoverControl_) return;
  TControl* left = hoverControl_;
  hoverControl_ = control;
  if (left) left->Perform(CM_MOUSELEAVE, 0, 0);
  if (control && control == hoverControl_) {
    control->Perform(CM_MOUSEENTER, 0, 0);
    // Told when the mouse leaves the window, so the control hears it left too.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
  }
}

void TWinControl::WMMouseLeave(TMessage& m) {
  HoverOver(nullptr);
  DefaultHandler(m);
}

void TWinControl::WMCaptureChanged(TMessage& m) {
  // The capture was taken away before the release: the press is cancelled.
  if (captureControl_ && reinterpret_cast<HWND>(m.LParam) != handle_) {
    TControl* pressed = captureControl_;
    captureControl_ = nullptr;
    pressed->Perform(WM_CANCELMODE, 0, 0);
  }
  DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m) {
  DefaultHandler(m);
  if (ComponentState() & csDestroying) return;
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  if (!(top->ComponentState() & csDestroying))
    top->Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TWinControl::WMKillFocus(TMessage& m) {
  DefaultHandler(m);
  if (!(ComponentState() & csDestroying)) Perform(CM_EXIT, 0, 0);
}

LRESULT TWinControl::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam, bool untilAnswered) {
  LRESULT answer = Perform(msg, wParam, lParam);
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (answer && untilAnswered) break;
    if (!c->IsWindowed()) continue;
    LRESULT result = static_cast<TWinControl*>(c)->Broadcast(msg, wParam, lParam, untilAnswered);
    if (!answer) answer = result;
  }
  return answer;
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (ownClass_ && LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(handle_, &p);
    if (TControl* hit = ControlAtPos(p); hit && hit->Cursor() == crHandPoint) {
      ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
      m.Result = TRUE;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMCopyData(TMessage& m) {
  auto* cds = reinterpret_cast<COPYDATASTRUCT*>(m.LParam);
  if (!cds || cds->dwData != kAutomationTag) return DefaultHandler(m);
  std::wstring request(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
  std::wstring reply;
  // "find:<Name>:<request>" reaches any component of this window's owner, windowless ones included.
  if (request.rfind(L"find:", 0) == 0) {
    size_t colon = request.find(L':', 5);
    std::wstring name = request.substr(5, colon == std::wstring::npos ? std::wstring::npos : colon - 5);
    // The form owns the window's components; a control asks on behalf of its owner.
    TComponent* target = nullptr;
    for (TComponent* root = this; root && !target; root = root->Owner())
      target = SameTextIgnoreCase(root->Name(), name) ? root : root->FindComponent(name);
    reply = target ? target->Automation(colon == std::wstring::npos ? L"name" : request.substr(colon + 1))
                   : L"\x1Fnone";
  } else {
    reply = Automation(request);
  }
  COPYDATASTRUCT answer{kAutomationTag, static_cast<DWORD>(reply.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(reply.c_str())};
  SendMessageTimeoutW(reinterpret_cast<HWND>(m.WParam), WM_COPYDATA, reinterpret_cast<WPARAM>(handle_),
                      reinterpret_cast<LPARAM>(&answer), SMTO_BLOCK, 5000, nullptr);
  m.Result = 1;
}

std::wstring TWinControl::Automation(const std::wstring& request) {
  if (request == L"text") return Text();
  if (request == L"focused") return Focused() ? L"1" : L"0";
  if (request == L"busy") return Application && Application->Busy() ? L"1" : L"0";
  if (request == L"resources") return GuiResourceCounts();
  if (request == L"repaint-us") return RepaintMicroseconds(handle_);
  return TControl::Automation(request);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (handle_) MoveWindow(handle_, left, top, width, height, TRUE);
}

void TWinControl::SetVisible(bool visible) {
  TControl::SetVisible(visible);
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetCaption(const std::wstring& text) {
  if (handle_ && text == Text()) return;
  TControl::SetCaption(text);
  if (handle_) SetWindowTextW(handle_, text.c_str());
}

std::wstring TWinControl::Text() const {
  if (!handle_) return Caption();
  int n = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(handle_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

bool TWinControl::Focused() const {
  return handle_ && GetFocus() == handle_;
}

RECT TWinControl::ClientArea() const {
  RECT r{0, 0, Width(), Height()};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::AlignControls() {
  RECT area = ClientArea();
  auto aligned = [this](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == a && c->Visible()) list.push_back(c);
    return list;
  };
  std::vector<TControl*> tops = aligned(alTop);
  std::stable_sort(tops.begin(), tops.end(), [](TControl* a, TControl* b) { return a->Top() < b->Top(); });
  for (TControl* c : tops) {
    c->SetBounds(area.left, area.top, area.right - area.left, c->Height());
    area.top += c->Height();
  }
  std::vector<TControl*> bottoms = aligned(alBottom);
  std::stable_sort(bottoms.begin(), bottoms.end(),
                   [](TControl* a, TControl* b) { return a->Top() > b->Top(); });
  for (TControl* c : bottoms) {
    c->SetBounds(area.left, area.bottom - c->Height(), area.right - area.left, c->Height());
    area.bottom -= c->Height();
  }
  for (TControl* c : aligned(alClient))
    c->SetBounds(area.left, area.top, area.right - area.left, std::max(0L, area.bottom - area.top));
}

}  // namespace fw
