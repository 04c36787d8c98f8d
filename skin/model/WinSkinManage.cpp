#include "skin/model/WinSkinManage.h"

#include <algorithm>
#include <memory>

#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::unique_ptr<TSkinManage>& Instance() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

}  // namespace

TSkinManageSeam* SkinManager() {
  return Instance().get();
}

TSkinManageSeam* CreateSkinManager(int mode) {
  if (!Instance()) Instance() = std::make_unique<TSkinManage>(mode);
  return Instance().get();
}

TSkinManage::TSkinManage(int mode) : mode_(mode) {}

TSkinManage::~TSkinManage() {
  if (timer_) KillTimer(nullptr, timer_);
  if (hook_) UnhookWindowsHookEx(hook_);
  for (const ThreadHook& h : threadHooks_) UnhookWindowsHookEx(h.hook);
}

void TSkinManage::AddSkinData(TSkinData* data) {
  if (data && std::find(dlist_.begin(), dlist_.end(), data) == dlist_.end()) dlist_.push_back(data);
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  dlist_.erase(std::remove(dlist_.begin(), dlist_.end(), data), dlist_.end());
  if (UpdateData == data) {
    UpdateData = nullptr;
    // An action scheduled for the departing component has nobody to act for.
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
    action_ = saNone;
  }
  Flist.erase(std::remove_if(Flist.begin(), Flist.end(),
                             [data](TFormSkinnerSeam* skinner) { return skinner->SkinData() == data; }),
              Flist.end());
}

void TSkinManage::InstallHook() {
  if (hook_) return;
  hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::SetAction(int code, int interval) {
  action_ = code;
  // One timer per process: the manager is a single object, so the callback finds it through the global.
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = SetTimer(nullptr, 0, static_cast<UINT>(interval > 0 ? interval : 1), TimerProc);
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  TSkinManage* manager = Instance().get();
  if (!manager || manager->timer_ != id) {
    KillTimer(nullptr, id);
    return;
  }
  manager->TimerTick();
}

void TSkinManage::TimerTick() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  int action = action_;
  action_ = saNone;
  switch (action) {
    case saSkinAll:
      active = true;
      state = 1;
      break;
    case saUnskinAll:
      active = false;
      state = 0;
      Pending.clear();
      break;
    case saSkinChange:
    case saReskinForm:
      break;
    default:
      return;
  }
  FireSkinChanged();
}

void TSkinManage::FireSkinChanged() {
  if (UpdateData) {
    UpdateData->DoSkinChanged();
    return;
  }
  // Copied: a handler may free a component and change the list.
  std::vector<TSkinData*> all = dlist_;
  for (TSkinData* data : all)
    if (std::find(dlist_.begin(), dlist_.end(), data) != dlist_.end()) data->DoSkinChanged();
}

void TSkinManage::AddForm(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return;
  for (TFormSkinnerSeam* skinner : Flist)
    if (skinner->Hwnd() == hwnd) return;
  if (std::find(Pending.begin(), Pending.end(), hwnd) == Pending.end()) Pending.push_back(hwnd);
}

void TSkinManage::DeleteSysbtn() {
  for (TFormSkinnerSeam* skinner : Flist)
    if (!UpdateData || skinner->SkinData() == UpdateData) skinner->DeleteSysbtn();
}

void TSkinManage::InstallThread(DWORD threadId) {
  for (const ThreadHook& h : threadHooks_)
    if (h.threadId == threadId) return;
  HHOOK hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, threadId);
  if (hook) threadHooks_.push_back({threadId, hook});
}

void TSkinManage::UnInstallThread(DWORD threadId) {
  for (auto it = threadHooks_.begin(); it != threadHooks_.end(); ++it) {
    if (it->threadId != threadId) continue;
    UnhookWindowsHookEx(it->hook);
    threadHooks_.erase(it);
    return;
  }
}

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Instance().get();
  // A destroyed window can no longer be adopted.
  if (manager && code == HCBT_DESTROYWND) {
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    auto& pending = manager->Pending;
    pending.erase(std::remove(pending.begin(), pending.end(), hwnd), pending.end());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace skin
