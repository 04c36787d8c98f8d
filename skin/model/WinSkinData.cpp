#include "skin/model/WinSkinData.h"

#include <cstddef>
#include <cstdio>
#include <stdexcept>

#include "gui/Application.h"
#include "gui/Control.h"
#include "gui/Form.h"
#include "gui/FormReader.h"
#include "gui/Text.h"
#include "skin/archive/WinSkinStore.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"

namespace skin {

// The caption-button hint: a plain popup that shows one text and never takes
// the focus or the mouse.
class TSkinHintWindow {
 public:
  TSkinHintWindow() = default;
  ~TSkinHintWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  TSkinHintWindow(const TSkinHintWindow&) = delete;
  TSkinHintWindow& operator=(const TSkinHintWindow&) = delete;

  void ShowAt(int left, int top, const std::wstring& text) {
    if (!hwnd_ && !Create()) return;
    text_ = text;
    RECT size = Measure(text);
    SetWindowPos(hwnd_, HWND_TOPMOST, left, top, size.right, size.bottom, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  void Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  }

 private:
  static constexpr int kMaxWidth = 500;
  static constexpr int kPadding = 4;
  static constexpr const wchar_t* kClassName = L"QuellmarkSkinHint";

  // The window size that shows `text` wrapped at kMaxWidth pixels.
  static RECT Measure(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, kMaxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return RECT{0, 0, r.right + 2 * kPadding + 2, r.bottom + 2 * kPadding + 2};
  }

  bool Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
      wc.lpszClassName = kClassName;
      if (!RegisterClassExW(&wc)) return false;
    }
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP | WS_BORDER, 0, 0, 0,
                            0, nullptr, nullptr, instance, nullptr);
    if (!hwnd_) return false;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TSkinHintWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_PAINT:
        if (self) return self->WMPaint();
        break;
      case WM_NCHITTEST:
        return HTTRANSPARENT;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  LRESULT WMPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    InflateRect(&r, -kPadding, -kPadding);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &ps);
    return 0;
  }

  HWND hwnd_ = nullptr;
  std::wstring text_;
};

namespace {

const std::vector<std::wstring>& SkinControlNames() {
  static const std::vector<std::wstring> names{
      L"xcMainMenu", L"xcPopupMenu",   L"xcMenuItem",   L"xcToolbar",     L"xcControlbar", L"xcCombo",
      L"xcCheckBox", L"xcRadioButton", L"xcProgress",   L"xcScrollbar",   L"xcEdit",       L"xcButton",
      L"xcBitBtn",   L"xcSpeedButton", L"xcSpin",       L"xcPanel",       L"xcGroupBox",   L"xcStatusBar",
      L"xcTab",      L"xcTrackBar",    L"xcSystemMenu", L"xcForeignForms"};
  return names;
}

const std::vector<std::wstring>& OptionNames() {
  static const std::vector<std::wstring> names{L"xoMDIScrollbar", L"xoMenuMerge",         L"xoTransparent",
                                               L"xoPreview",      L"xoParentBackGround",  L"xoNoFocusRect",
                                               L"xoToolbarBK",    L"xoToolbarButton",     L"xoMDIChildBorder",
                                               L"xoMenuBG",       L"xoCaptionButtonHint", L"xoFormScrollbar"};
  return names;
}

std::wstring SetText(TSkinSet set, const std::vector<std::wstring>& names) {
  std::wstring text = L"[";
  for (size_t i = 0; i < names.size(); ++i) {
    if (!InSet(set, static_cast<int>(i))) continue;
    if (text.size() > 1) text += L", ";
    text += names[i];
  }
  return text + L"]";
}

// "[a, b]" or "a,b": every member named; an unknown name is refused.
TSkinSet ParseSet(const std::wstring& text, const std::vector<std::wstring>& names, const wchar_t* propName) {
  TSkinSet set = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(L',', pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring word = text.substr(pos, end - pos);
    pos = end + 1;
    size_t first = word.find_first_not_of(L" \t\r\n[]");
    if (first == std::wstring::npos) continue;
    size_t last = word.find_last_not_of(L" \t\r\n[]");
    word = word.substr(first, last - first + 1);
    size_t i = 0;
    while (i < names.size() && !fw::SameTextIgnoreCase(names[i], word)) ++i;
    if (i == names.size())
      throw std::invalid_argument(fw::Utf8(L"'" + word + L"' 不是 " + propName + L" 的成员"));
    set |= SetOf(static_cast<int>(i));
  }
  return set;
}

fw::TPropInfo SetProp(const wchar_t* name, const std::vector<std::wstring>& names,
                      TSkinSet (TSkinData::*get)() const, void (TSkinData::*set)(TSkinSet)) {
  return {name, fw::PropKind::String,
          [&names, get](const fw::TComponent& c) { return SetText((fw::As<TSkinData>(c).*get)(), names); },
          [&names, set, name](fw::TComponent& c, const std::wstring& v) {
            (fw::As<TSkinData>(c).*set)(ParseSet(v, names, name));
          }};
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return text;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == L'\r') ++pos;
    if (pos < text.size() && text[pos] == L'\n') ++pos;
  }
  return lines;
}

HWND WindowOf(fw::TComponent* c) {
  auto* control = c && c->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(c) : nullptr;
  return control && control->HandleAllocated() ? control->Handle() : nullptr;
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& name) {
  std::vector<uint8_t> bytes;
  FILE* f = _wfopen(name.c_str(), L"rb");
  if (!f) throw EFOpenError("cannot open " + fw::Utf8(name));
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw EReadError("cannot read " + fw::Utf8(name));
  return bytes;
}

// The four glyphs of the system menu, black on white, 16 x 16 each:
// restore, maximise, minimise, close.
TBitmap MenuGlyphPicture() {
  constexpr TPixel kInk = 0;
  TBitmap b(64, 16, clWhite);
  auto frameRect = [&](int left, int top, int right, int bottom, int titleRows) {
    b.FillRect(Rect(left, top, right, top + titleRows), kInk);
    b.FillRect(Rect(left, bottom - 1, right, bottom), kInk);
    b.FillRect(Rect(left, top, left + 1, bottom), kInk);
    b.FillRect(Rect(right - 1, top, right, bottom), kInk);
  };
  // Restore: two overlapping windows, the back one drawn first and cut by the front one.
  frameRect(6, 2, 14, 9, 2);
  b.FillRect(Rect(3, 6, 11, 13), clWhite);
  frameRect(3, 6, 11, 13, 2);
  // Maximise: one window.
  frameRect(16 + 3, 2, 16 + 13, 12, 2);
  // Minimise: a bar at the bottom.
  b.FillRect(Rect(32 + 4, 10, 32 + 11, 12), kInk);
  // Close: a cross two pixels thick.
  for (int i = 0; i < 9; ++i) {
    b.FillRect(Rect(48 + 3 + i, 3 + i, 48 + 5 + i, 4 + i), kInk);
    b.FillRect(Rect(48 + 11 - i, 3 + i, 48 + 13 - i, 4 + i), kInk);
  }
  return b;
}

}  // namespace

const fw::TClassInfo& TSkinData::StaticClass() {
  static const fw::TClassInfo info{
      L"TSkinData",
      &fw::TComponent::StaticClass(),
      {
          fw::BoolProp(
              L"Active", [](const fw::TComponent& c) { return fw::As<TSkinData>(c).Active(); },
              [](fw::TComponent& c, bool v) { fw::As<TSkinData>(c).SetActive(v); }),
          fw::IntProp(
              L"DisableTag", [](const fw::TComponent& c) { return fw::As<TSkinData>(c).DisableTag(); },
              [](fw::TComponent& c, int v) { fw::As<TSkinData>(c).SetDisableTag(v); }),
          SetProp(L"SkinControls", SkinControlNames(), &TSkinData::SkinControls, &TSkinData::SetSkinControls),
          SetProp(L"Options", OptionNames(), &TSkinData::Options, &TSkinData::SetOptions),
          fw::TextProp(
              L"Skin3rd", [](const fw::TComponent& c) { return JoinLines(fw::As<TSkinData>(c).Skin3rd()); },
              [](fw::TComponent& c, const std::wstring& v) {
                fw::As<TSkinData>(c).SetSkin3rd(SplitLines(v));
              }),
          fw::TextProp(
              L"SkinFile", [](const fw::TComponent& c) { return fw::As<TSkinData>(c).SkinFile(); },
              [](fw::TComponent& c, const std::wstring& v) { fw::As<TSkinData>(c).LoadFromFile(v); }),
          // A designer's display value: stored, ignored when read back.
          fw::TextProp(
              L"SkinStore", [](const fw::TComponent&) { return std::wstring(L"(none)"); },
              [](fw::TComponent&, const std::wstring&) {}),
          fw::EnumProp(
              L"SkinFormtype", {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"},
              [](const fw::TComponent& c) { return static_cast<int>(fw::As<TSkinData>(c).SkinFormtype()); },
              [](fw::TComponent& c, int v) {
                fw::As<TSkinData>(c).SetSkinFormtype(static_cast<TSkinFormType>(v));
              }),
          fw::TextProp(
              L"Version", [](const fw::TComponent&) { return std::wstring(kVersion); },
              [](fw::TComponent&, const std::wstring&) {}),
          fw::BoolProp(
              L"MenuUpdate", [](const fw::TComponent& c) { return fw::As<TSkinData>(c).MenuUpdate(); },
              [](fw::TComponent& c, bool v) { fw::As<TSkinData>(c).SetMenuUpdate(v); }),
          fw::BoolProp(
              L"MenuMerge", [](const fw::TComponent& c) { return fw::As<TSkinData>(c).MenuMerge(); },
              [](fw::TComponent& c, bool v) { fw::As<TSkinData>(c).SetMenuMerge(v); }),
          fw::EventProp(L"OnSkinChanged",
                        [](fw::TComponent& c) -> fw::TEvent& { return fw::As<TSkinData>(c).OnSkinChanged; }),
      }};
  return info;
}

std::vector<std::wstring> TSkinData::DefaultSkin3rd() {
  return {
      L"TCategoryButtons=scrollbar",
      L"TDBCtrlGrid=scrollbar",
      L"TControlBar=panel",
      L"TComboboxex=combobox",
      L"TDBLookupCombobox=combobox",
      L"TXaScrollBox=scrollbar",
      L"TXaPngSpeedButton=pngspeedbutton",
      L"TXaPngBitBtn=pngbitbtn",
      L"TXaPanel=panel",
      L"TXaComboBox=combobox",
      L"TXaSpeedButton=speedbutton",
      L"TXaButton=button",
      L"TXbBitBtn=bitbtn",
      L"TXaMenuButton=menubtn",
      L"TXaCheckGroup=checkgroup",
      L"TXaRadioGroup=radiogroup",
      L"TXaEdit=edit",
      L"TXaRadioButton=radiobutton",
      L"TXaGroupBox=groupbox",
      L"TXaCheckBox=checkbox",
  };
}

TSkinData::TSkinData(fw::TComponent* owner) : fw::TComponent(owner), fSkin3rd(DefaultSkin3rd()) {
  InstallWinSkinPlatform();
  SysIcon.Clear();
  BuildMenuGlyphs();
  fHint = new TSkinHintWindow();
}

TSkinData::~TSkinData() {
  // Everything that still refers to this component forgets it first.
  if (TSkinManageSeam* manager = SkinManager()) manager->RemoveSkinData(this);
  delete fHint;
  if (bmpmenu) ImageList_Destroy(bmpmenu);
  if (CaptionFont) DeleteObject(CaptionFont);
  if (BGBrush) DeleteObject(BGBrush);
}

void TSkinData::BuildMenuGlyphs() {
  TBitmap picture = MenuGlyphPicture();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap =
      CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, picture.Pixels().data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!bitmap) return;
  bmpmenu = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
  if (bmpmenu) ImageList_AddMasked(bmpmenu, bitmap, RGB(255, 255, 255));
  DeleteObject(bitmap);
}

void TSkinData::SetActive(bool value) {
  if (value == fActive) return;
  fActive = value;
  // While the owner is being read, start-up acts on the stored value.
  if (Loading() || (Owner() && Owner()->Loading())) return;
  TSkinManageSeam* manager = SkinManager();
  if (!manager) return;
  switch (fSkinFormtype) {
    case sfMainform:
      if (value) {
        if (Empty) return;
        manager->UpdateData = this;
        manager->SetAction(saSkinAll, 250);
        manager->state = 1;
      } else {
        manager->UpdateData = this;
        manager->SetAction(saUnskinAll, 250);
      }
      break;
    case sfOnlyThisForm:
      manager->UpdateData = this;
      if (value && Empty) return;
      manager->SetAction(value ? saSkinAll : saUnskinAll, 250);
      break;
    case sfDialog:
    case sfDLL:
      break;
  }
}

void TSkinData::Loaded() {
  fw::TComponent::Loaded();
  if (!HasGetScrollBarInfo()) fSkinControls &= ~SetOf(xcScrollbar);
  TSkinManageSeam* manager = CreateSkinManager(0);
  manager->AddSkinData(this);
  LoadCaptionFont();
  if (fSkinFormtype != sfMainform) {
    manager->active = true;
    manager->state += 1;
    HWND owner = WindowOf(Owner());
    if (fActive && Owner() && Owner()->Is(fw::TForm::StaticClass()) && owner) manager->AddForm(owner);
    return;
  }
  manager->InstallHook();
  if (fActive) {
    if (Empty) {
      fActive = false;
    } else {
      manager->SetAction(saSkinAll, 250);
    }
  }
  if (InSet(fSkinControls, xcMainMenu)) {
    fSkinControls &= ~SetOf(xcMenuItem);
  } else {
    fSkinControls &= ~SetOf(xcSystemMenu);
  }
  GetAppIcon();
}

void TSkinData::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  // Systems before Vista know the structure without its last field; ask with
  // the current size first, then the older one.
  metrics.cbSize = sizeof(metrics);
  bool ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
  if (!ok) {
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
  }
  LOGFONTW font{};
  if (ok) {
    font = metrics.lfCaptionFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  HFONT made = CreateFontIndirectW(&font);
  if (!made) return;
  if (CaptionFont) DeleteObject(CaptionFont);
  CaptionFont = made;
}

void TSkinData::SchemeColorsLoaded() {
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ResolveColor(Colors[3])));
  if (!brush) return;
  if (BGBrush) DeleteObject(BGBrush);
  BGBrush = brush;
}

void TSkinData::ApplyLoadedSkin() {
  if (Loading() || (Owner() && Owner()->Loading())) return;
  if (!SkinManager()) Loaded();
  TSkinManageSeam* manager = SkinManager();
  manager->UpdateData = this;
  manager->DeleteSysbtn();
  if (manager->state == 1) manager->SetAction(saSkinChange, 250);
}

void TSkinData::LoadFromFile(const std::wstring& value) {
  Empty = true;
  fSkinFile = value;
  if (value.empty() || GetFileAttributesW(value.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  try {
    data.Assign(ReadWholeFile(value));
  } catch (const EStreamError&) {
    return;  // an unreadable file is a missing skin: Empty stays true
  }
  LoadArchive();
  ApplyLoadedSkin();
}

void TSkinData::LoadFromStream(TStream& stream) {
  Empty = true;
  data.Clear();
  stream.SetPosition(0);
  data.CopyFrom(stream, 0);
  LoadArchive();
  if (fSkinFormtype == sfMainform) ApplyLoadedSkin();
}

void TSkinData::LoadFromCollection(TSkinStore* astore, int aindex) {
  if (!astore || aindex < 0 || aindex >= astore->Store().Count()) return;
  Empty = true;
  data.Clear();
  astore->Store().Item(aindex).CopyData(data);
  LoadArchive();
  ApplyLoadedSkin();
}

bool TSkinData::GetPrecolor(TColor& acolor, int n) const {
  if (n < 0 || n >= static_cast<int>(ColorPreset.size())) return false;
  acolor = ColorPreset[static_cast<size_t>(n)];
  return true;
}

std::wstring TSkinData::GetFileName(const std::wstring& s) {
  size_t dot = s.find(L'.');
  return dot == std::wstring::npos ? std::wstring() : s.substr(0, dot);
}

void TSkinData::Install() {
  CreateSkinManager(0)->SetAction(saSkinAll, 250);
}

void TSkinData::Uninstall() {
  CreateSkinManager(0)->SetAction(saUnskinAll, 250);
}

void TSkinData::DoFormSkin(HWND, const std::wstring& aname, bool& Doskin) {
  if (OnFormSkin) {
    OnFormSkin(this, aname, Doskin);
    return;
  }
  if (aname == L"SysMonthCal32") Doskin = false;
  if (InSet(fSkinControls, xcForeignForms) && aname.rfind(kForeignFormPrefix, 0) == 0) Doskin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged.handler(this);
}

std::vector<TFormSkinnerSeam*> TSkinData::FormSkinnersOf(fw::TComponent* form) const {
  std::vector<TFormSkinnerSeam*> found;
  HWND hwnd = WindowOf(form);
  TSkinManageSeam* manager = SkinManager();
  if (!hwnd || !manager) return found;
  for (TFormSkinnerSeam* skinner : manager->Flist)
    if (skinner->Hwnd() == hwnd) found.push_back(skinner);
  return found;
}

void TSkinData::AddNestForm(fw::TComponent* fParent, fw::TComponent* fNested) {
  if (!fNested) return;
  std::vector<TFormSkinnerSeam*> skinners = FormSkinnersOf(fParent);
  if (skinners.empty()) return;
  new TWinSkinSpy(fNested, skinners.front());
  skinners.front()->InitNestform(fNested);
}

void TSkinData::UpdateSkinControl(fw::TComponent* fParent, fw::TComponent* acontrol) {
  std::vector<TFormSkinnerSeam*> skinners = FormSkinnersOf(fParent);
  if (!skinners.empty()) skinners.front()->InitControls(acontrol ? acontrol : fParent);
}

void TSkinData::DeleteGraphicControl(fw::TComponent* fParent, fw::TComponent* acontrol) {
  // Skinned-control objects are owned by their controls: asking each form
  // skinner to rebind the control drops the object it held for it.
  for (TFormSkinnerSeam* skinner : FormSkinnersOf(fParent)) skinner->InitControls(acontrol);
}

void TSkinData::UpdateMenu(fw::TComponent* fParent) {
  std::vector<TFormSkinnerSeam*> skinners = FormSkinnersOf(fParent);
  if (!skinners.empty()) skinners.front()->InitPopMenu(fParent, true, true);
}

void TSkinData::UpdateMainMenu(bool done) {
  MenuMsg = done;
  if (!done) return;
  if (TSkinManageSeam* manager = SkinManager())
    for (TFormSkinnerSeam* skinner : manager->Flist)
      if (skinner->HasMenuBar()) skinner->UpdataBtn();
}

void TSkinData::SkinForm(HWND ahwnd) {
  TSkinManageSeam* manager = CreateSkinManager(0);
  manager->skinchildform = true;
  manager->AddForm(ahwnd);
  manager->skinchildform = false;
}

void TSkinData::InstallThread(DWORD aThreadID) {
  CreateSkinManager(0)->InstallThread(aThreadID);
}

void TSkinData::UnInstallThread(DWORD aThreadID) {
  if (TSkinManageSeam* manager = SkinManager()) manager->UnInstallThread(aThreadID);
}

void TSkinData::ChangeProperty(fw::TComponent* control, const std::wstring& aprop,
                               const std::wstring& value) {
  if (!control) return;
  const fw::TPropInfo* prop = control->ClassInfo().FindProp(aprop);
  if (!prop || (prop->kind != fw::PropKind::Enum && prop->kind != fw::PropKind::Boolean)) return;
  try {
    prop->set(*control, value);
  } catch (const std::invalid_argument&) {
    // Not a member of that enumeration: nothing changes.
  }
}

void TSkinData::EnableSkin(bool b) {
  CreateSkinManager(0)->active = b;
}

bool TSkinData::GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi) const {
  return SkinGetScrollBarInfo(hwnd, idObject, psbi);
}

void TSkinData::DoDebug(const std::wstring& s) {
  if (DebugList) DebugList->push_back(s);
}

void TSkinData::ChangeForm(fw::TComponent* aform) {
  TSkinManageSeam* manager = CreateSkinManager(0);
  manager->lpara = WindowOf(aform);
  manager->UpdateData = this;
  manager->SetAction(saReskinForm, 250);
}

void TSkinData::GetAppIcon() {
  int cx = GetSystemMetrics(SM_CXSMICON);
  int cy = GetSystemMetrics(SM_CYSMICON);
  HICON icon = nullptr;
  HWND app = fw::Application && fw::Application->MainForm() ? WindowOf(fw::Application->MainForm()) : nullptr;
  if (!app) app = WindowOf(Owner());
  if (app) {
    icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  }
  // The application's own icon is the program's first icon resource.
  if (!icon)
    icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, cx, cy, LR_SHARED));
  if (!icon || cx <= 0 || cy <= 0) return;
  TDibSection section(TBitmap(cx, cy, kMagentaPixel));
  if (!section.Valid()) return;
  DrawIconEx(section.DC(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  SysIcon = section.ToBitmap();
}

void TSkinData::ActivateHint(const RECT& aRect, const std::wstring& AHint) {
  if (!InSet(fOptions, xoCaptionButtonHint) || hashint || !fHint) return;
  fHint->ShowAt(aRect.left, aRect.top, AHint);
  hashint = true;
}

void TSkinData::HideHint() {
  if (!hashint) return;
  if (fHint) fHint->Hide();
  hashint = false;
}

void TSkinData::ReadSkinStream(TStream& stream) {
  int32_t count = stream.ReadInt32();
  data.Clear();
  Empty = true;
  if (count <= 0) return;
  // A count past the bytes that follow is a damaged definition: no skin.
  if (count > stream.Remaining()) return;
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), count);
  data.Assign(std::move(bytes));
  LoadArchive();
}

void TSkinData::WriteSkinStream(TStream& stream) const {
  int32_t count = static_cast<int32_t>(data.Size());
  stream.WriteInt32(count);
  if (count > 0) stream.WriteBuffer(data.Memory(), count);
}

bool TSkinData::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& bytes) {
  if (!fw::SameTextIgnoreCase(name, L"SkinStream")) return fw::TComponent::ReadBinaryProperty(name, bytes);
  TMemoryStream stream;
  stream.Assign(bytes);
  try {
    ReadSkinStream(stream);
  } catch (const std::exception&) {
    // Shorter than its count: the skin stays unloaded, the window is still made.
    data.Clear();
    Empty = true;
  }
  return true;
}

std::wstring TSkinData::Automation(const std::wstring& request) {
  if (request == L"skin") {
    TSkinManageSeam* manager = SkinManager();
    return std::wstring(L"empty=") + (Empty ? L"1" : L"0") + L";active=" + (fActive ? L"1" : L"0") +
           L";manager=" + (manager && manager->active ? L"1" : L"0");
  }
  // "set-active:0|1" switches skinning as the property does (answers the new value).
  if (request == L"set-active:0" || request == L"set-active:1") {
    SetActive(request.back() == L'1');
    return fActive ? L"1" : L"0";
  }
  return fw::TComponent::Automation(request);
}

void RegisterSkinComponents() {
  fw::RegisterComponentClass(L"TSkinData", [](fw::TComponent* owner) { return new TSkinData(owner); });
  fw::RegisterComponentClass(L"TSkinStore", [](fw::TComponent* owner) { return new TSkinStore(owner); });
}

}  // namespace skin
