#include "skin/model/WinSkinManage.h"

#include <algorithm>
#include <memory>

#include "gui/Control.h"
#include "gui/Form.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinPopMenu.h"

namespace skin {

namespace {

// Two windows of other libraries that must never get a skinned frame: the
// popup of a foreign edit control and the rendering window of a foreign
// effects library. No window of this program has these classes.
constexpr const wchar_t* kForeignEditPopupClass = L"TXaEditPopup";
constexpr const wchar_t* kForeignEffectsClass = L"TXbEffectRender";

// Requests from hooks on other threads, carried out on the manager's thread.
constexpr UINT kAdoptRequest = WM_APP + 0x41;  // wParam: the window to adopt
constexpr UINT kPurgeRequest = WM_APP + 0x42;  // a window of another thread was destroyed
constexpr UINT_PTR kActionTimerId = 1;
constexpr const wchar_t* kWindowClass = L"QuellmarkSkinManager";

std::unique_ptr<TSkinManage>& Instance() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

// Set when the manager is going: the GUI-thread hook then passes everything on.
bool g_hooksOff = false;

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[256] = {};
  int n = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

HWND WindowOf(fw::TComponent* c) {
  auto* control = c && c->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(c) : nullptr;
  return control && control->HandleAllocated() ? control->Handle() : nullptr;
}

TWinSkinForm* AsSkinner(TFormSkinnerSeam* seam) {
  return static_cast<TWinSkinForm*>(seam);
}

}  // namespace

TSkinManageSeam* SkinManager() {
  return Instance().get();
}

TSkinManageSeam* CreateSkinManager(int mode) {
  if (!Instance()) {
    g_hooksOff = false;
    Instance() = std::make_unique<TSkinManage>(mode);
  }
  return Instance().get();
}

void FreeSkinManager() {
  Instance().reset();
}

TSkinManage::TSkinManage(int mode) : mode_(mode), ownerThread_(GetCurrentThreadId()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
  }
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

TSkinManage::~TSkinManage() {
  state = 4;
  active = false;
  if (timer_ && window_) KillTimer(window_, timer_);
  timer_ = 0;
  for (const ThreadHook& h : threadHooks_) UnhookWindowsHookEx(h.hook);
  threadHooks_.clear();
  if (!Flist.empty()) ReleaseAllForms();
  Flist.clear();
  for (TWinSkinPopMenu* popup : Mlist) popup->Release();
  Mlist.clear();
  dlist_.clear();
  MainData = nullptr;
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  g_hooksOff = true;
}

// ---------------------------------------------------------------- registration

void TSkinManage::AddSkinData(TSkinData* data) {
  if (!data || std::find(dlist_.begin(), dlist_.end(), data) != dlist_.end()) return;
  dlist_.push_back(data);
  if (!MainData && data->SkinFormtype() == sfMainform) MainData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  dlist_.erase(std::remove(dlist_.begin(), dlist_.end(), data), dlist_.end());
  if (MainData == data) MainData = nullptr;
  if (UpdateData == data) {
    UpdateData = nullptr;
    // An action scheduled for the departing component has nobody to act for.
    if (timer_ && window_) KillTimer(window_, timer_);
    timer_ = 0;
    action_ = saNone;
  }
  // Its windows are given back: nothing may draw from it any more.
  for (size_t i = Flist.size(); i-- > 0;) {
    if (i >= Flist.size() || Flist[i]->SkinData() != data) continue;
    TWinSkinForm* skinner = AsSkinner(Flist[i]);
    Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
    if (skinner->Skinstate != ssDestroyed) skinner->UnSubclass3();
    skinner->Release();
  }
}

// ---------------------------------------------------------------- hooks

void TSkinManage::InstallHook() {
  if (hook_) return;
  version_ = GetVersion();
  hook_ = SetWindowsHookExW(WH_CBT, MainCbtHook, nullptr, GetCurrentThreadId());
}

void TSkinManage::InstallThread(DWORD threadId) {
  for (const ThreadHook& h : threadHooks_)
    if (h.threadId == threadId) return;
  HHOOK hook = SetWindowsHookExW(WH_CBT, ThreadCbtHook, nullptr, threadId);
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

LRESULT CALLBACK TSkinManage::MainCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Instance().get();
  if (manager && !g_hooksOff && code >= 0) {
    // Nothing may unwind into the system's hook dispatch; a failure here only
    // leaves the window unskinned.
    try {
      HWND hwnd = reinterpret_cast<HWND>(wParam);
      if (code == HCBT_CREATEWND) {
        manager->OnCreateWindow(hwnd, reinterpret_cast<CBT_CREATEWNDW*>(lParam));
      } else if (code == HCBT_DESTROYWND) {
        manager->RemovePopupMenu(hwnd);
      } else if (code == HCBT_ACTIVATE) {
        manager->OnActivate(hwnd);
      }
    } catch (...) {
    }
  }
  // Whatever happened above, the window's creation or activation goes on.
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TSkinManage::ThreadCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Instance().get();
  if (manager && code >= 0 && manager->window_) {
    // The lists live on the manager's thread: hand the request over.
    if (code == HCBT_ACTIVATE) {
      if (manager->state == 0) manager->state = 1;
      PostMessageW(manager->window_, kAdoptRequest, wParam, 0);
    } else if (code == HCBT_DESTROYWND) {
      PostMessageW(manager->window_, kPurgeRequest, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::OnCreateWindow(HWND hwnd, const CBT_CREATEWNDW* create) {
  if (!create || !create->lpcs) return;
  const CREATESTRUCTW& cs = *create->lpcs;
  // The size grip of a skinned window is bound by its form skinner; any
  // other scroll bar is created as usual.
  if ((cs.style & SBS_SIZEGRIP) && ClassNameOf(hwnd) == L"ScrollBar") {
    if (TWinSkinForm* parent = FindSkinForm(cs.hwndParent)) parent->AddControlh(hwnd);
  }
  if (!(cs.style & WS_CHILD) && mode_ == 0 && ClassNameOf(hwnd) == L"#32768") AddPopupMenu(hwnd);
  if (cs.dwExStyle & WS_EX_MDICHILD) AddForm(hwnd);
}

void TSkinManage::OnActivate(HWND hwnd) {
  if (state == 0) state = 1;
  AddForm(hwnd);
}

LRESULT CALLBACK TSkinManage::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Instance().get();
  if (manager && manager->window_ == hwnd) {
    switch (msg) {
      case WM_TIMER:
        if (wParam == kActionTimerId) manager->TimerTick();
        return 0;
      case kAdoptRequest:
        manager->AddForm(reinterpret_cast<HWND>(wParam));
        return 0;
      case kPurgeRequest:
        manager->PurgeForms();
        return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------- adoption

bool TSkinManage::IsPlainChildWindow(HWND hwnd) {
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  LONG_PTR exstyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (!(style & WS_CHILD) || (exstyle & WS_EX_MDICHILD)) return false;
  return Lower(ClassNameOf(GetParent(hwnd))) != L"mdiclient";
}

fw::TComponent* TSkinManage::FindFormByHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (fw::TForm* form : fw::OpenForms())
    if (form->HandleAllocated() && form->Handle() == hwnd) return form;
  return fw::TWinControl::FromHandle(hwnd);
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (TFormSkinnerSeam* skinner : Flist)
    if (skinner->Hwnd() == hwnd) return AsSkinner(skinner);
  return nullptr;
}

bool TSkinManage::ShouldSkinWindow(HWND hwnd, const std::wstring& cls) const {
  bool result = true;
  if (!MainData) return result;
  std::wstring lower = Lower(cls);
  if (!InSet(MainData->Options(), xoPreview) && lower.find(L"preview") != std::wstring::npos) return false;
  if (cls == L"#32770" && (GetWindowLongPtrW(hwnd, GWL_STYLE) & DS_SETFOREGROUND)) return false;
  if (lower == L"tpopupdbtreeview") return false;
  MainData->DoFormSkin(hwnd, cls, result);
  return result;
}

TSkinData* TSkinManage::SelectSkinData(HWND hwnd) const {
  TSkinData* found = nullptr;
  for (TSkinData* d : dlist_)
    if (d->SkinFormtype() == sfOnlyThisForm && WindowOf(d->Owner()) == hwnd) found = d;
  if (found) return found;
  std::wstring cls = Lower(ClassNameOf(hwnd));
  if (cls == L"tmessageform" || cls == L"#32770") {
    for (TSkinData* d : dlist_)
      if (d->SkinFormtype() == sfDialog) found = d;
    if (found) return found;
  }
  for (TSkinData* d : dlist_)
    if (d->SkinFormtype() == sfMainform) found = d;
  if (found) return found;
  return dlist_.empty() ? nullptr : dlist_.front();
}

bool TSkinManage::AddForm(HWND hwnd) {
  if (!OnOwnerThread()) {
    if (window_) PostMessageW(window_, kAdoptRequest, reinterpret_cast<WPARAM>(hwnd), 0);
    return false;
  }
  if (!active || state == 4 || !hwnd || !IsWindow(hwnd)) return false;
  PurgeForms();
  // A window of another thread may be busy: do not wait on it for long.
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(hwnd, WM_ISSKINNED, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &answer) &&
      answer == 1)
    return false;
  if (FindSkinForm(hwnd) || FindFormSkinner(hwnd)) return false;
  fw::TComponent* form = FindFormByHandle(hwnd);
  if (!skinchildform && IsPlainChildWindow(hwnd)) return false;
  std::wstring cls = ClassNameOf(hwnd);
  bool ours =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)) == GetModuleHandleW(nullptr);
  if (!form && !ours && cls != L"#32770") return false;
  RECT r{};
  GetWindowRect(hwnd, &r);
  bool mdiChild = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
  if (form && form->Tag() == 99) return false;
  if (cls.find(kForeignEditPopupClass) != std::wstring::npos ||
      cls.find(kForeignEffectsClass) != std::wstring::npos || cls == L"TApplication")
    return false;
  if (!ShouldSkinWindow(hwnd, cls)) return false;
  TSkinData* data = SelectSkinData(hwnd);
  if (!data || data->Empty) return false;

  auto* skinner = new TWinSkinForm(form);
  skinner->hwnd = hwnd;
  skinner->mode = mode_;
  skinner->formclass = cls;
  if (form && form->Is(fw::TForm::StaticClass()))
    skinner->InitTform(data, static_cast<fw::TForm*>(form));
  else
    skinner->InitDlg(data);
  if (!skinner->IsSubclassed()) {
    // The window would not take our procedure (gone meanwhile, or no slot).
    delete skinner;
    return false;
  }
  Flist.push_back(skinner);
  PostMessageW(hwnd, WM_SKINACTIVATE, 0, 1000);
  return true;
}

void TSkinManage::AddVisibleForm(fw::TForm* form) {
  if (!form || !form->HandleAllocated()) return;
  HWND hwnd = form->Handle();
  if (IsWindowVisible(hwnd) && !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) AddForm(hwnd);
}

// ---------------------------------------------------------------- forgetting

bool TSkinManage::Forget(TWinSkinForm* skinner) {
  auto it = std::find(Flist.begin(), Flist.end(), static_cast<TFormSkinnerSeam*>(skinner));
  if (it == Flist.end()) return false;
  Flist.erase(it);
  return true;
}

bool TSkinManage::DeleteForm(HWND hwnd) {
  if (state == 4) return false;
  TWinSkinForm* skinner = FindSkinForm(hwnd);
  if (!skinner || !skinner->FForm) return false;
  skinner->Skinstate = ssDestroying;
  skinner->UnSubclass();
  Forget(skinner);
  skinner->Release();
  return true;
}

void TSkinManage::DeleteForm2(TWinSkinForm* skinner) {
  if (state == 4 || !OnOwnerThread()) return;
  Forget(skinner);
}

void TSkinManage::DeleteForm3() {
  if (state == 4) return;
  for (size_t i = Flist.size(); i-- > 0;) {
    if (i >= Flist.size()) continue;
    TWinSkinForm* skinner = AsSkinner(Flist[i]);
    if (skinner->Skinstate != ssDestroyed) continue;
    Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
    skinner->Release();
  }
}

void TSkinManage::PurgeForms() {
  if (state == 4 || !OnOwnerThread()) return;
  for (size_t i = Flist.size(); i-- > 0;) {
    if (i >= Flist.size()) continue;
    TWinSkinForm* skinner = AsSkinner(Flist[i]);
    if (skinner->Skinstate != ssDestroyed || skinner->mode != mode_) continue;
    Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
    skinner->Release();
  }
}

void TSkinManage::ReleaseAllForms() {
  active = false;
  for (size_t i = Flist.size(); i-- > 0;) {
    if (i >= Flist.size()) continue;
    TWinSkinForm* skinner = AsSkinner(Flist[i]);
    if (skinner->mode != mode_) continue;
    Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
    if (skinner->Skinstate != ssDestroyed) skinner->UnSubclass3();
    skinner->Release();
  }
}

void TSkinManage::DeleteSysbtn() {
  for (TFormSkinnerSeam* skinner : std::vector<TFormSkinnerSeam*>(Flist))
    if (!UpdateData || skinner->SkinData() == UpdateData) skinner->DeleteSysbtn();
}

void TSkinManage::SetMDIMax(bool b) {
  if (b == MDIMax) return;
  MDIMax = b;
  if (MainData && InSet(MainData->Options(), xoMDIChildBorder)) return;
  for (TFormSkinnerSeam* seam : std::vector<TFormSkinnerSeam*>(Flist)) {
    TWinSkinForm* skinner = AsSkinner(seam);
    if (skinner->FormStyle != sfsMDIChild) continue;
    if (b) {
      if (skinner->crop) skinner->Uncropwindow();
    } else if (skinner->Windowstate != swsMin) {
      skinner->Windowstate = swsNormal;
      skinner->Cropwindow();
      if (!skinner->crop) skinner->Refresh();
    }
  }
}

// ---------------------------------------------------------------- popup menus

TWinSkinPopMenu* TSkinManage::FindPopup(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (TWinSkinPopMenu* popup : Mlist)
    if (popup->hwnd == hwnd) return popup;
  return nullptr;
}

bool TSkinManage::IsPopupSkinned(HWND hwnd) const {
  return FindPopup(hwnd) != nullptr;
}

void TSkinManage::AddPopupMenu(HWND hwnd) {
  if (!active || state == 4 || !hwnd || !OnOwnerThread()) return;
  if (SendMessageW(hwnd, WM_ISSKINNED, 0, 0) == 1 || FindPopup(hwnd)) return;
  TSkinData* data = SelectSkinData(hwnd);
  if (!data || data->Empty) return;
  const TSkinSet kinds = data->SkinControls();
  bool allowed = false;
  switch (menutype) {
    case 0:
      allowed = InSet(kinds, xcPopupMenu);
      break;
    case 1:
      allowed = InSet(kinds, xcMainMenu) || InSet(kinds, xcMenuItem);
      break;
    case 2:
      allowed = InSet(kinds, xcSystemMenu);
      break;
    default:
      break;
  }
  if (!allowed) return;
  auto* popup = new TWinSkinPopMenu();
  popup->InitSkin(hwnd, data, nullptr);
  if (!popup->Subclassed()) {
    delete popup;
    return;
  }
  Mlist.push_back(popup);
  if (menuactive) popup->ownerdraw = true;
}

void TSkinManage::RemovePopupMenu(HWND hwnd) {
  if (!OnOwnerThread()) return;
  if (TWinSkinPopMenu* popup = FindPopup(hwnd)) {
    Mlist.erase(std::find(Mlist.begin(), Mlist.end(), popup));
    popup->UnSubClass();
    popup->Release();
  }
  if (Mlist.empty()) {
    menuactive = false;
    menutype = 0;
  }
}

void TSkinManage::SetPopMenu() {
  for (TWinSkinPopMenu* popup : Mlist) popup->ownerdraw = true;
}

void TSkinManage::SetHMenu(HMENU menu) {
  if (!menu) return;
  for (TWinSkinPopMenu* popup : Mlist)
    if (popup->hmenu == menu) return;
  // A window that tells which menu it shows is taken at its word; else the
  // newest window without a menu is the one being filled.
  for (TWinSkinPopMenu* popup : Mlist)
    if (!popup->hmenu && reinterpret_cast<HMENU>(SendMessageW(popup->hwnd, MN_GETHMENU, 0, 0)) == menu) {
      popup->hmenu = menu;
      return;
    }
  for (size_t i = Mlist.size(); i-- > 0;)
    if (!Mlist[i]->hmenu) {
      Mlist[i]->hmenu = menu;
      return;
    }
}

const TBitmap* TSkinManage::GetMenuBg(HMENU menu) {
  if (!menu) return nullptr;
  // Items may be drawn before the frame was: the picture is made on demand.
  for (TWinSkinPopMenu* popup : Mlist)
    if (popup->hmenu == menu) return popup->Background();
  return nullptr;
}

// ---------------------------------------------------------------- actions

void TSkinManage::SetAction(int code, int interval) {
  action_ = code;
  if (state == 0) {
    // No window activated yet: windows are adopted as they are activated.
    if (code == saSkinAll) active = true;
    if (code == saUnskinAll) active = false;
    return;
  }
  // A later request replaces an earlier one that has not run yet.
  if (timer_ && window_) KillTimer(window_, timer_);
  timer_ = window_
               ? SetTimer(window_, kActionTimerId, static_cast<UINT>(interval > 0 ? interval : 1), nullptr)
               : 0;
}

void TSkinManage::TimerTick() {
  if (timer_ && window_) KillTimer(window_, timer_);
  timer_ = 0;
  int action = action_;
  action_ = saNone;
  TSkinData* d = UpdateData;
  if (!d || action == saNone) return;
  if (d->SkinFormtype() == sfOnlyThisForm)
    TickOnlyThisForm(d, action);
  else
    TickAll(d, action);
  if (action == saReskinForm) return;
  // Cleared first: a handler of the event may schedule the next action.
  if (UpdateData == d) UpdateData = nullptr;
  if (std::find(dlist_.begin(), dlist_.end(), d) != dlist_.end()) d->DoSkinChanged();
}

void TSkinManage::TickOnlyThisForm(TSkinData* d, int action) {
  switch (action) {
    case saSkinAll: {
      active = true;
      skinchildform = true;
      const std::vector<fw::TForm*>& forms = fw::OpenForms();
      for (size_t i = forms.size(); i-- > 0;) {
        if (forms[i] != d->Owner()) continue;
        AddVisibleForm(forms[i]);
        break;
      }
      skinchildform = false;
      break;
    }
    case saUnskinAll:
      active = false;
      PurgeForms();
      for (size_t i = Flist.size(); i-- > 0;) {
        TWinSkinForm* skinner = AsSkinner(Flist[i]);
        if (skinner->fsd != d) continue;
        HWND window = skinner->hwnd;
        Flist.erase(Flist.begin() + static_cast<std::ptrdiff_t>(i));
        skinner->UnSubclass();
        skinner->RePaint(window);
        skinner->Release();
        break;
      }
      break;
    case saSkinChange:
      PurgeForms();
      for (TFormSkinnerSeam* seam : Flist) {
        TWinSkinForm* skinner = AsSkinner(seam);
        if (skinner->fsd != d) continue;
        skinner->DeleteSysbtn();
        skinner->InitSkinData();
        skinner->SkinChange();
        skinner->RePaint(skinner->hwnd);
        break;
      }
      break;
    case saPurge:
      DeleteForm3();
      break;
    case saReskinForm:
      ReskinForm();
      break;
  }
}

void TSkinManage::TickAll(TSkinData* d, int action) {
  switch (action) {
    case saSkinAll: {
      active = true;
      WMSetDraw = false;
      skinchildform = true;
      PurgeForms();
      std::vector<fw::TForm*> forms = fw::OpenForms();
      for (size_t i = forms.size(); i-- > 0;) {
        // A form freed by an earlier adoption's events is not touched.
        const std::vector<fw::TForm*>& now = fw::OpenForms();
        if (std::find(now.begin(), now.end(), forms[i]) != now.end()) AddVisibleForm(forms[i]);
      }
      skinchildform = false;
      break;
    }
    case saUnskinAll:
      active = false;
      PurgeForms();
      while (!Flist.empty()) {
        TWinSkinForm* skinner = AsSkinner(Flist.front());
        HWND window = skinner->hwnd;
        Flist.erase(Flist.begin());
        skinner->UnSubclass();
        skinner->RePaint(window);
        skinner->Release();
      }
      break;
    case saSkinChange: {
      PurgeForms();
      std::vector<TWinSkinForm*> changing;
      for (TFormSkinnerSeam* seam : Flist)
        if (seam->SkinData() == d) changing.push_back(AsSkinner(seam));
      for (TWinSkinForm* skinner : changing) {
        skinner->DeleteSysbtn();
        skinner->InitSkinData();
      }
      for (TWinSkinForm* skinner : changing) {
        skinner->SkinChange();
        skinner->RePaint(skinner->hwnd);
      }
      break;
    }
    case saPurge:
      DeleteForm3();
      break;
    case saReskinForm:
      ReskinForm();
      break;
  }
}

void TSkinManage::ReskinForm() {
  HWND window = lpara;
  TWinSkinForm* skinner = FindSkinForm(window);
  if (!skinner) return;
  skinner->UnSubclass();
  skinner->Skinstate = ssDestroyed;
  PurgeForms();
  AddForm(window);
}

}  // namespace skin
