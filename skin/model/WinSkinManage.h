// What the skin data component needs of the process-wide skin manager and of
// the form skinners it keeps, as narrow interfaces, and the manager itself in
// the form the component uses today: it keeps the registered skin data
// components, installs the window hook, and carries out switching on, off and
// skin changes from its timer a short time after they are asked for.
//
// Windows are adopted by form skinners. Until a form skinner class registers
// itself, the manager keeps the windows it is asked to adopt in `Pending`
// and the hook passes every notice on unchanged.
#pragma once

#include <windows.h>

#include <vector>

#include "gui/Component.h"

namespace skin {

class TSkinData;

// The manager's actions, carried out from its timer.
enum TSkinAction : int {
  saNone = 0,
  saSkinAll = 1,     // switch skinning on for every registered window
  saUnskinAll = 2,   // switch it off
  saSkinChange = 3,  // re-skin the windows of UpdateData after a new skin was loaded
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
  virtual void AddForm(HWND hwnd) = 0;
  // Every form skinner of UpdateData drops its caption-button objects.
  virtual void DeleteSysbtn() = 0;
  virtual void InstallThread(DWORD threadId) = 0;
  virtual void UnInstallThread(DWORD threadId) = 0;

  bool active = false;
  int state = 0;
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

class TSkinManage : public TSkinManageSeam {
 public:
  explicit TSkinManage(int mode);
  ~TSkinManage() override;

  void AddSkinData(TSkinData* data) override;
  void RemoveSkinData(TSkinData* data) override;
  void InstallHook() override;
  void SetAction(int code, int interval) override;
  void AddForm(HWND hwnd) override;
  void DeleteSysbtn() override;
  void InstallThread(DWORD threadId) override;
  void UnInstallThread(DWORD threadId) override;

  // Runs the scheduled action now (the timer's tick).
  void TimerTick();

  int Mode() const { return mode_; }
  const std::vector<TSkinData*>& Dlist() const { return dlist_; }
  int PendingAction() const { return action_; }
  bool HookInstalled() const { return hook_ != nullptr; }
  // Windows asked for by AddForm that no form skinner has taken yet.
  std::vector<HWND> Pending;

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void FireSkinChanged();

  struct ThreadHook {
    DWORD threadId;
    HHOOK hook;
  };

  int mode_;
  int action_ = saNone;
  UINT_PTR timer_ = 0;
  HHOOK hook_ = nullptr;
  std::vector<TSkinData*> dlist_;
  std::vector<ThreadHook> threadHooks_;
};

}  // namespace skin
