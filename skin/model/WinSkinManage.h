// What the skin data component needs of the process-wide skin manager and of
// the form skinners it keeps, as narrow interfaces, and the manager itself:
// it keeps the registered skin data components and the form skinners of the
// adopted windows, watches window creation, activation and destruction
// through a WH_CBT hook, decides which windows to adopt, and carries out
// switching on, off and skin changes from its timer a short time after they
// are asked for.
//
// The lists belong to the thread that made the manager (the GUI thread) and
// are touched only there: hooks on further threads hand their requests to it
// through the manager's own message window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui/Component.h"

namespace fw {
class TForm;
}

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
class TBitmap;

// The manager's actions, carried out from its timer.
enum TSkinAction : int {
  saNone = 0,
  saSkinAll = 1,     // switch skinning on for every registered window
  saUnskinAll = 2,   // switch it off
  saSkinChange = 3,  // re-skin the windows of UpdateData after a new skin was loaded
  saPurge = 6,       // drop the form skinners of windows that have gone
  saReskinForm = 7,  // re-skin the one window in lpara
};

// One adopted window, as the skin data component reaches it.
class TFormSkinnerSeam {
 public:
  virtual ~TFormSkinnerSeam() = default;
  virtual HWND Hwnd() const = 0;
  virtual TSkinData* SkinData() const = 0;
  // A framework form placed inside the adopted one.
  virtual void InitNestform(fw::TComponent* nested) = 0;
  // Binds skinned-control objects to `control` and everything inside it.
  virtual void InitControls(fw::TComponent* control) = 0;
  virtual void InitPopMenu(fw::TComponent* form, bool mainMenu, bool popupMenus) = 0;
  // The menu-bar skinner, when the window has one, rebuilds its buttons.
  virtual bool HasMenuBar() const = 0;
  virtual void UpdataBtn() = 0;
  // Drops the caption-button objects made from the previous skin.
  virtual void DeleteSysbtn() = 0;
};

class TSkinManageSeam {
 public:
  virtual ~TSkinManageSeam() = default;

  virtual void AddSkinData(TSkinData* data) = 0;
  // Forgets `data` everywhere: the registration, UpdateData, and every form
  // skinner that draws from it.
  virtual void RemoveSkinData(TSkinData* data) = 0;
  virtual void InstallHook() = 0;
  // Carries out `code` after `interval` milliseconds on the GUI thread.
  virtual void SetAction(int code, int interval) = 0;
  // Adopts the window when it passes every check; true when it did.
  virtual bool AddForm(HWND hwnd) = 0;
  // Every form skinner of UpdateData drops its caption-button objects.
  virtual void DeleteSysbtn() = 0;
  virtual void InstallThread(DWORD threadId) = 0;
  virtual void UnInstallThread(DWORD threadId) = 0;

  bool active = false;
  int state = 0;  // 0 started, no window activated yet; 1 running; 4 shutting down
  TSkinData* UpdateData = nullptr;
  HWND lpara = nullptr;
  bool skinchildform = false;
  std::vector<TFormSkinnerSeam*> Flist;
};

// A watcher owned by a framework form nested inside an adopted window: it
// records which form skinner skinned that form and dies with it.
class TWinSkinSpy : public fw::TComponent {
 public:
  TWinSkinSpy(fw::TComponent* owner, TFormSkinnerSeam* skinner) : fw::TComponent(owner), sf(skinner) {}
  TFormSkinnerSeam* sf;
};

// The manager of the process: created on demand, alive until the program ends.
TSkinManageSeam* SkinManager();
TSkinManageSeam* CreateSkinManager(int mode);
// Frees the manager (its hooks, timer and every form skinner it holds).
void FreeSkinManager();

class TSkinManage : public TSkinManageSeam {
 public:
  explicit TSkinManage(int mode);
  ~TSkinManage() override;

  void AddSkinData(TSkinData* data) override;
  void RemoveSkinData(TSkinData* data) override;
  void InstallHook() override;
  void SetAction(int code, int interval) override;
  bool AddForm(HWND hwnd) override;
  void DeleteSysbtn() override;
  void InstallThread(DWORD threadId) override;
  void UnInstallThread(DWORD threadId) override;

  // Frees the skinner of a framework form's window (not of a bare window).
  bool DeleteForm(HWND hwnd);
  // Forgets a skinner without freeing it (its destructor calls this).
  void DeleteForm2(TWinSkinForm* skinner);
  // Frees every skinner whose window is gone.
  void DeleteForm3();
  // An MDI child was maximised (true) or restored.
  void SetMDIMax(bool b);
  // Runs the scheduled action now (the timer's tick).
  void TimerTick();

  // --- popup menu windows ("#32768") ---
  // Skins a new popup menu window when skinning is on and the skin data
  // allows the kind of menu being opened (menutype).
  void AddPopupMenu(HWND hwnd);
  // Frees the skinner of a window that goes; once none is left, no menu is open.
  void RemovePopupMenu(HWND hwnd);
  bool IsPopupSkinned(HWND hwnd) const;
  // A menu of the menu bar is being drawn: every popup skinner draws for it.
  void SetPopMenu();
  // The newest popup skinner that does not know its menu yet shows `menu`.
  void SetHMenu(HMENU menu);
  // The background picture of the popup window showing `menu`, or nullptr.
  const TBitmap* GetMenuBg(HMENU menu);
  // The skinner of a popup window, or nullptr.
  TWinSkinPopMenu* FindPopup(HWND hwnd) const;

  // The adoption rules, on their own.
  bool ShouldSkinWindow(HWND hwnd, const std::wstring& cls) const;
  TSkinData* SelectSkinData(HWND hwnd) const;
  static bool IsPlainChildWindow(HWND hwnd);
  TWinSkinForm* FindSkinForm(HWND hwnd) const;
  // The framework form of the window, else any framework control it is, else nullptr.
  static fw::TComponent* FindFormByHandle(HWND hwnd);

  int Mode() const { return mode_; }
  const std::vector<TSkinData*>& Dlist() const { return dlist_; }
  int PendingAction() const { return action_; }
  bool TimerRunning() const { return timer_ != 0; }
  bool HookInstalled() const { return hook_ != nullptr; }
  size_t ThreadHookCount() const { return threadHooks_.size(); }
  DWORD OwnerThread() const { return ownerThread_; }

  // Shared with the form skinners.
  TSkinData* MainData = nullptr;  // the first registered sfMainform component
  int menutype = 0;               // 0 free popup, 1 menu-bar menu, 2 window menu
  bool menuactive = false;
  bool MDIMax = false;
  bool WMSetDraw = false;
  HWND clienthwnd = nullptr;
  fw::TForm* MDIForm = nullptr;
  std::vector<TWinSkinPopMenu*> Mlist;  // popup skinners, in creation order; owned

 private:
  static LRESULT CALLBACK MainCbtHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ThreadCbtHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCreateWindow(HWND hwnd, const CBT_CREATEWNDW* create);
  void OnActivate(HWND hwnd);
  void PurgeForms();
  void ReleaseAllForms();
  void AddVisibleForm(fw::TForm* form);
  void TickOnlyThisForm(TSkinData* d, int action);
  void TickAll(TSkinData* d, int action);
  void ReskinForm();
  bool OnOwnerThread() const { return GetCurrentThreadId() == ownerThread_; }
  // Removes `skinner` from Flist; true when it was there.
  bool Forget(TWinSkinForm* skinner);

  struct ThreadHook {
    DWORD threadId;
    HHOOK hook;
  };

  int mode_;
  int action_ = saNone;
  UINT_PTR timer_ = 0;
  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;  // message-only: the action timer and requests from other threads
  DWORD ownerThread_;
  DWORD version_ = 0;
  std::vector<TSkinData*> dlist_;
  std::vector<ThreadHook> threadHooks_;
};

}  // namespace skin
