// TWinSkinForm: the skinner of one adopted top-level window. It replaces the
// window procedure, gives the non-client area the skin's border widths and
// paints frame, caption, caption buttons and menu bar itself, shapes the
// window to the skin's transparent border parts, answers non-client input,
// follows the window state, and gives everything back when skinning ends.
//
// The class is split over files by role:
//   WinSkinForm.cpp         creation, attaching, activation, size, skin change, detaching
//   WinSkinFormFrame.cpp    border widths, frame, caption, title and icon painting
//   WinSkinFormShape.cpp    the window region built from the border images
//   WinSkinFormButtons.cpp  the caption-button objects: build, show, place, draw, act, hint
//   WinSkinFormProc.cpp     the replacement window procedure, form message hook, MDI client, timer
//   WinSkinFormSysMenu.cpp  the system popup menu and the window-state commands
//   WinSkinFormControls.cpp control binding and the list of skinned-control objects
//   WinSkinMenuBar.cpp      the menu bar drawn in the frame (TWinSkinMenu, TMenuBtn)
//   WinSkinFormMenuItems.cpp owner-drawn menu items: switching owner drawing, measuring, drawing
#pragma once

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Component.h"
#include "gui/Control.h"
#include "skin/archive/Bitmap.h"
#include "skin/form/ControlBinding.h"
#include "skin/form/SkinMessages.h"
#include "skin/model/SkinElements.h"
#include "skin/model/WinSkinManage.h"

namespace fw {
class TForm;
class TControl;
class TWinControl;
class TMenuItem;
}  // namespace fw

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;
class TMenuBtn;
class TWindowSubclass;
class TSkinControl;  // a skinned-control object; bound to controls later

// What drawing a menu item needs of it, taken from a framework item or read
// from a native menu.
struct TMenuItemView {
  std::wstring caption;  // "-" for a separator
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;  // drawn in bold
  int imageIndex = -1;
  std::wstring shortcut;  // as the framework writes it, "" for none
  HIMAGELIST images = nullptr;
  bool rightToLeft = false;
};

enum TSkinFormStyle : int { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
enum TSkinFormBorder : int { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum TSkinWindowState : int { swsNormal, swsMax, swsMin };
enum TSkinFormIcon : int { sbiMax, sbiMin, sbiHelp, sbisystem, sbicaption };
using TSkinFormIcons = uint8_t;  // bit n = member n
inline constexpr TSkinFormIcons IconBit(TSkinFormIcon icon) {
  return static_cast<TSkinFormIcons>(1u << icon);
}
inline constexpr bool HasIcon(TSkinFormIcons icons, TSkinFormIcon icon) {
  return (icons & IconBit(icon)) != 0;
}

// Skinstate values: the skinner's lifecycle.
enum TSkinState : int {
  ssAttached = 0,   // subclassed, not yet activated
  ssActive = 1,
  ssChanging = 3,   // a skin change is being applied
  ssDestroying = 4, // inside WM_NCDESTROY: nothing is restored on the window
  ssSizing = 5,     // the initial size is being applied during activation
  ssDestroyed = 6,  // the window is gone
};

// A clickable object of the skinned non-client area: a caption button or a
// menu-bar button. `bounds` is in window coordinates.
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* sf) : SF(sf) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Draw() {}

  TWinSkinForm* SF;
  TSkinData* fsd = nullptr;
  TRect bounds;
  bool visible = false;
  int state = 0;  // 1 normal, 2 pressed, 3 hot; 0 just made
  bool enabled = true;
};

// One caption button, drawn from its skin element (not owned).
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* sf, TDataSkinSysButton* element) : TNCObject(sf), data(element) {}
  // While the left button is held (a press that began elsewhere), the
  // button under the mouse does not light up or become the one a release
  // acts on: only the button the press began on can act.
  void MouseEnter() override;
  void Draw() override;
  TDataSkinSysButton* data;
};

class TWinSkinForm : public fw::TComponent, public TFormSkinnerSeam {
  FW_CLASS(TWinSkinForm)
 public:
  explicit TWinSkinForm(fw::TComponent* owner);
  ~TWinSkinForm() override;

  // --- TFormSkinnerSeam ---
  HWND Hwnd() const override { return hwnd; }
  TSkinData* SkinData() const override { return fsd; }
  void InitNestform(fw::TComponent* nested) override;
  void InitControls(fw::TComponent* control) override;
  void InitPopMenu(fw::TComponent* form, bool mainMenu, bool popupMenus) override;
  bool HasMenuBar() const override { return menu != nullptr; }
  void UpdataBtn() override;     // WinSkinMenuBar.cpp
  void DeleteSysbtn() override;  // WinSkinFormButtons.cpp

  // --- attaching and detaching (WinSkinForm.cpp) ---
  void InitTform(TSkinData* afsd, fw::TForm* aform);
  void InitDlg(TSkinData* afsd) { InitWindow(afsd); }
  void InitWindow(TSkinData* afsd);
  // --- control binding and the object list (WinSkinFormControls.cpp) ---
  void InitHwndControls(HWND ahwnd);
  void AddControlh(HWND ahwnd);
  // Decides and makes the object of one framework control; wForm is the
  // form or container the pass runs over (handed on to OnSkinControl).
  void AddComp(fw::TControl* Comp, fw::TWinControl* wForm);
  // The first object of Controllist that skins window h, or nullptr.
  TSkinControl* FindControlByHandle(HWND h) const;
  // The scroll-bar object of window `h` made again (its control's window was
  // made anew): the old one goes and one of the same kind takes its place.
  void RebuildScrollSkin(HWND h);
  bool AddControlList(TSkinControl* acontrol);
  void DeleteControl(TSkinControl* c);
  void UnSubclass();
  void UnSubclass2();
  void UnSubclass3();
  void FreeSkinControls();
  void PurgeDeadControls();
  void SkinChange();
  void Refresh();
  void RePaint(HWND ahwnd);
  void RestoreMDI();
  bool MDIChildMax() const;
  void EnableSysbtn(bool) {}
  void doLog(const std::wstring&) {}
  // The activation sequence run on WM_SKINACTIVATE.
  void Activate();
  void AdjustWindowSize(bool fromClient);
  void ReadWindowState();
  void NotifySkinned();
  // A screen point (signed 16-bit coordinates of an lParam) in window coordinates.
  POINT ScreenToWindowPoint(LPARAM lParam) const;
  POINT ScreenToWindowPoint(POINT screen) const;
  bool Active() const { return FActive; }
  bool IsSubclassed() const { return subclass_ != nullptr; }

  // Frees the skinner now, or, while one of its window's messages is still
  // being handled, when the outermost one returns.
  void Release();

  // --- frame painting (WinSkinFormFrame.cpp) ---
  void InitSkinData();
  void PaintFrame(HDC dc);
  void PaintCaption(HDC dc);
  void PaintTitle(HDC dc, const TRect& r);
  void PaintBorder(int k, const TRect& rect, HDC dc);
  void PaintIcon(HDC dc, const TRect& rect);
  void BuildIconBitmap();
  void getClipMap(TBitmap& fbmp);

  // --- window shape (WinSkinFormShape.cpp) ---
  void Cropwindow();
  void Uncropwindow();

  // --- caption buttons (WinSkinFormButtons.cpp) ---
  // One button object per caption button of the skin (InitSkinData's second half).
  void BuildSysButtons();
  TWinSysButton* FindSysBtn(POINT windowPoint) const;
  bool SysButtonVisible(int index);
  void LayoutSysButtons();
  void PaintSysButtons(HDC dc);
  void PaintSysButton(TWinSysButton* button, int s);
  void SysButtonAction(int x, int y);
  static std::wstring SysButtonHint(int action);

  // --- message handling (WinSkinFormProc.cpp) ---
  // Reached through the window's TWindowSubclass link, which counts the
  // nesting around it (see Release).
  LRESULT SubclassProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The replaced procedure (FPrevWndProc); still valid after UnSubclass3,
  // which runs in the middle of WM_NCDESTROY.
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT MDIClientProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void FormMessageHook(fw::TMessage& message);
  void TimerTick();
  void CancelHint();
  TMenuBtn* FindAccelButton(wchar_t key) const;
  // The handlers of one message each (WinSkinFormMessages.h).
  friend class TFormMessages;

  // --- system menu and window-state commands (WinSkinFormSysMenu.cpp) ---
  void Minimize();
  void Maximize();
  void Restore();
  void SetSysMenuStyle(bool add);
  void PopupSysMenu(POINT screen);
  bool CanClose() const;
  void SendToActiveMDIChild(UINT command);
  void AddSysMenuitem(const std::wstring& acaption, int action);

  // --- owner-drawn menu items (WinSkinFormMenuItems.cpp) ---
  // Owner drawing of the form's main menus (their drop-down items) on or off.
  void InitMainMenu(fw::TComponent* form, bool enable, bool update);
  // The OnMeasureItem handler of main-menu and tool-bar items.
  void MeasureItem(fw::TMenuItem* item, HDC dc, int& width, int& height);
  // The OnMeasureItem handler of popup-menu items (measured by the framework already).
  void MeasurePopupItem(fw::TMenuItem* item, HDC dc, int& width, int& height);
  // The OnDrawItem handler of every owner-drawn framework item.
  void DrawMenuItem(fw::TMenuItem* item, HDC dc, const RECT& rect, bool selected);
  // Owner drawing of a tool bar's menu item and everything under it.
  void OwnerDrawMenuItems(fw::TMenuItem* item, bool enable);
  // WM_MEASUREITEM and WM_DRAWITEM of the window; true when answered.
  bool MeasureItemMessage(MEASUREITEMSTRUCT& mis);
  bool DrawItemMessage(const DRAWITEMSTRUCT& dis);
  // A native item as drawing sees it: its text (a separator's "-"), enabled and checked state.
  static TMenuItemView NativeMenuItem(HMENU menu, UINT id);
  TMenuItemView ItemView(const fw::TMenuItem& item) const;
  void DrawNativeItem(HMENU menu, const TMenuItemView& item, bool selected, const RECT& rect, HDC dc);
  void DrawPlainItem(const TMenuItemView& item, HDC dc, bool selected, const RECT& rect);
  void DrawSeparatorItem(HDC dc, const RECT& rect);
  void DrawItemContent(const TMenuItemView& item, HDC dc, bool selected, const TRect& R);
  // Draws (or with DT_CALCRECT measures into `rect`) one text of the item.
  void DrawItemText(const TMenuItemView& item, HDC dc, UINT flags, bool selected, RECT& rect,
                    std::wstring text);
  // The platform's menu font, made once for this skinner (bold for default items).
  HFONT MenuItemFont(bool bold = false);

  // --- menu bar (WinSkinMenuBar.cpp) ---
  bool CheckMenu(TMenuBtn* button);
  void ClickButton(TMenuBtn* button);
  void UpdateMainMenu();

  // --- state (names as the rest of the engine uses them) ---
  bool done = false;
  bool done2 = false;
  fw::TWndMethod OldWndProc;        // the form's message handler while the hook is in
  WNDPROC FPrevWndProc = nullptr;   // the window procedure the subclassing replaced
  WNDPROC FMDIWndProc = nullptr;    // the MDI client's, likewise
  HFONT CaptionFont = nullptr;      // owned
  bool FActive = false;
  UINT_PTR timer = 0;               // 250 ms hover and hint timer; 0 while stopped
  bool timerEnabled = false;
  std::wstring bstr = L"  ", astr = L" ";
  std::wstring classname;
  bool menuauto = false;
  bool sMainMenu = false;
  RECT fClientRect{};
  DWORD poptime = 0;
  int DoubleTime = 0;
  int charwidth = 0;
  HWND parenthwnd = nullptr;
  HICON DefIcon = nullptr;
  int Iconx = 16;
  TRect FTitleRect;
  std::wstring caption;
  TRect bw;   // border widths
  RECT wTr{}; // last window rectangle (screen)
  TRect ctr;  // title rectangle with its background ends
  TRect oldsize;
  int MenuHeight = 0;
  int BtnCount = 0;
  bool fInMenu = false;
  bool bidileft = false;
  bool fSizeable = false;
  bool isunicode = true;
  bool ismessagebox = false;
  bool ischildform = false;
  HMENU sysmenu = nullptr;          // the system popup built on demand; owned
  HWND ClientHwnd = nullptr;
  HMENU hmenu = nullptr;            // the window's own menu bar; detached while the skinned bar stands in,
                                    // put back (or destroyed with a dying window) when skinning ends
  HMENU hsysmenu = nullptr;
  HMENU activemenu = nullptr;
  COLORREF formcolor = 0;
  DWORD dwstyle = 0;
  int RightBtn = 0;
  TNCObject* ActiveBtn = nullptr;
  bool crop = false;
  HRGN WinRgn = nullptr;            // belongs to the system once SetWindowRgn took it
  fw::TForm* FForm = nullptr;
  HWND hwnd = nullptr;
  TSkinData* fsd = nullptr;
  TWinSkinMenu* menu = nullptr;     // owned
  std::vector<std::unique_ptr<TWinSysButton>> SysBtn;
  TBitmap IconBmp;                  // window icon, magenta where transparent
  TBitmap CaptionBuf;
  std::vector<TSkinControl*> Controllist;
  int fwidth = 0, fheight = 0;
  int crwidth = 0, crheight = 0;
  bool FWindowActive = true;
  TSkinFormStyle FormStyle = sfsNormal;
  TSkinFormBorder FormBorder = sbsSingle;
  TSkinFormIcons FormIcons = 0;
  TSkinWindowState Windowstate = swsNormal;
  int Skinstate = ssAttached;
  TSkinControl* Activeskincontrol = nullptr;
  int mode = 0;
  std::wstring formclass;

 private:
  // Steps of control binding (WinSkinFormControls.cpp).
  TBindingSkin BindingSkin() const;
  void BindOwnedControls(fw::TComponent* wForm);
  void BindChildren(fw::TWinControl* control);
  static std::vector<fw::TWinControl*> TabOrderList(fw::TWinControl* wForm);
  bool IsBound(fw::TControl* control);
  bool IsExcluded(fw::TWinControl* control);
  void DisableGroupChildren(fw::TControl* control);
  bool BindByKind(const std::wstring& N, fw::TControl* Comp);
  // Carries a decision out for a framework control (Comp) or a bare window (ahwnd).
  void CarryOut(const TBindDecision& decision, fw::TControl* Comp, fw::TWinControl* wForm, HWND ahwnd);
  void MakeObject(const TObjectChoice& o, fw::TControl* Comp);
  void MakeWindowObject(const TObjectChoice& o, HWND ahwnd);

  static void CALLBACK TimerThunk(HWND, UINT, UINT_PTR, DWORD);
  void StartTimer();
  void StopTimer();
  // Steps of attaching and activation (WinSkinForm.cpp).
  void DetectMDIForm();
  void SubclassMDIClient();
  void RestoreMDIClient();
  void HideDuringSkinning();
  void ShowAfterSkinning();
  void SaveNonClientSize();
  void ResizeMessageBoxToTitle(int& width);
  void RestoreForm();
  void PutMenuBack();
  // Runs one message of the window (or of the form's handler) with the
  // nesting counted, and frees the skinner afterwards when a Release came
  // in meanwhile.
  template <class Body>
  LRESULT Nested(Body&& body);

  // Items drawn from the skin's MenuItem element onto `dc` at `rect`, over the background under them.
  void DrawSkinnedItem(const TMenuItemView& item, HDC dc, const RECT& rect, bool selected,
                       const TBitmap* background, int32_t dx, int32_t dy);

  HFONT itemFont_ = nullptr;      // owned; made at the first measurement or drawing
  HFONT itemBoldFont_ = nullptr;  // owned
  // The window-procedure link of the adopted window (and of an MDI client).
  TWindowSubclass* subclass_ = nullptr;
  TWindowSubclass* mdiSubclass_ = nullptr;
  // Nesting of the window's messages being handled; a Release while it is
  // above zero frees the skinner when it drops back.
  int nesting_ = 0;
  bool releasePending_ = false;
};

// The form skinner of a window, or nullptr.
TWinSkinForm* FindFormSkinner(HWND hwnd);

}  // namespace skin
