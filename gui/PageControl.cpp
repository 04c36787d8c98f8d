#include "gui/PageControl.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "gui/Text.h"

namespace fw {

// ---------------------------------------------------------------- TTabSheet

const TClassInfo& TTabSheet::StaticClass() {
  static const TClassInfo info{L"TTabSheet", &TWinControl::StaticClass(), {}};
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet() {
  SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
  if (pc == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = pc;
  if (pc) {
    SetAlign(alClient);
    SetVisible(false);
    pc->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetCaption(const std::wstring& text) {
  TControl::SetCaption(text);
  if (pageControl_) pageControl_->UpdateTab(this);
}

// ---------------------------------------------------------------- TPageControl

const TClassInfo& TCustomTabControl::StaticClass() {
  static const TClassInfo info{L"TCustomTabControl", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TPageControl::StaticClass() {
  static const TClassInfo info{
      L"TPageControl",
      &TCustomTabControl::StaticClass(),
      {
          EnumProp(
              L"Style", {L"tsTabs", L"tsButtons", L"tsFlatButtons"},
              [](const TComponent& c) { return static_cast<int>(As<TPageControl>(c).Style()); },
              [](TComponent& c, int v) { As<TPageControl>(c).SetStyle(static_cast<TTabStyle>(v)); }),
          EnumProp(
              L"TabPosition", {L"tpTop", L"tpBottom", L"tpLeft", L"tpRight"},
              [](const TComponent& c) { return static_cast<int>(As<TPageControl>(c).TabPosition()); },
              [](TComponent& c, int v) { As<TPageControl>(c).SetTabPosition(static_cast<TTabPosition>(v)); }),
          TextProp(
              L"ActivePage", [](const TComponent& c) { return As<TPageControl>(c).ActivePageName(); },
              [](TComponent& c, const std::wstring& v) { As<TPageControl>(c).SetActivePageName(v); }),
      }};
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TPageControl::CreateParams(TCreateParams& params) {
  params.className = WC_TABCONTROLW;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (style_ == tsButtons) params.style |= TCS_BUTTONS;
  if (style_ == tsFlatButtons) params.style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  // Side tabs are always several rows: the control draws them only so.
  switch (tabPosition_) {
    case tpTop:
      break;
    case tpBottom:
      params.style |= TCS_BOTTOM;
      break;
    case tpLeft:
      params.style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case tpRight:
      params.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
  }
  params.exStyle = WS_EX_CONTROLPARENT;
}

void TPageControl::CreateWnd() {
  for (TTabSheet* page : pages_) UpdateTab(page);
  if (active_) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(active_->PageIndex()), 0);
}

void TPageControl::ReadChild(TComponent* child) {
  if (child->Is(TTabSheet::StaticClass())) {
    auto* page = static_cast<TTabSheet*>(child);
    page->SetParent(this);
    page->SetPageControl(this);
    return;
  }
  TWinControl::ReadChild(child);
}

void TPageControl::Loaded() {
  TTabSheet* page = nullptr;
  if (!activeName_.empty()) {
    for (TTabSheet* p : pages_)
      if (SameTextIgnoreCase(p->Name(), activeName_)) page = p;
    if (!page) throw std::runtime_error(Utf8(L"找不到页面 " + activeName_));
  } else if (!pages_.empty()) {
    page = pages_.front();
  }
  SetActivePage(page);
}

std::wstring TPageControl::ActivePageName() const {
  return active_ ? active_->Name() : activeName_;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  UpdateTab(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  int i = page->PageIndex();
  if (i < 0 || i >= PageCount()) return;
  pages_.erase(pages_.begin() + i);
  if (HandleAllocated()) SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
  if (active_ != page) return;
  active_ = nullptr;
  // A page freed while shown (a close box) hands over to its neighbour.
  if (!pages_.empty() && HandleAllocated() && !(ComponentState() & csDestroying))
    SetActivePage(pages_[static_cast<size_t>(std::min(i, PageCount() - 1))]);
}

void TPageControl::SelectNextPage(bool forward) {
  if (pages_.empty()) return;
  int i = active_ ? active_->PageIndex() : -1;
  int n = PageCount();
  i = forward ? (i + 1) % n : (i <= 0 ? n - 1 : i - 1);
  HWND focus = GetFocus();
  SetActivePage(pages_[static_cast<size_t>(i)]);
  // The focus must not stay on a page now hidden.
  if (HandleAllocated() && focus && focus != Handle() && !IsWindowVisible(focus)) SetFocus();
}

void TPageControl::UpdateTab(TTabSheet* page) {
  if (!HandleAllocated()) return;
  int i = page->PageIndex();
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring text = page->Caption();
  item.pszText = text.data();
  if (SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0) <= i)
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  else
    SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

void TPageControl::SetActivePage(TTabSheet* page) {
  active_ = page;
  for (TTabSheet* p : pages_) p->SetVisible(p == page);
  if (page && HandleAllocated()) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(page->PageIndex()), 0);
    AlignControls();
  }
}

std::wstring TPageControl::Automation(const std::wstring& request) {
  if (request == L"active") return active_ ? active_->Name() : L"";
  if (request.rfind(L"tab:", 0) == 0 && HandleAllocated()) {
    RECT r{};
    if (!SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(_wtoi(request.c_str() + 4)),
                      reinterpret_cast<LPARAM>(&r)))
      return L"";
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
  }
  return TWinControl::Automation(request);
}

RECT TPageControl::ClientArea() const {
  RECT r = TWinControl::ClientArea();
  if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && !IsHeaderlessNotify(m)) return CNNotify(m);
  if (m.Msg == CM_DIALOGKEY) return CMDialogKey(m);
  TWinControl::WndProc(m);
}

void TPageControl::CMDialogKey(TMessage& m) {
  if (m.WParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0 || !HandleAllocated() || pages_.empty())
    return TWinControl::WndProc(m);
  // Only the page control nearest the focus turns its pages.
  TPageControl* nearest = nullptr;
  for (HWND h = GetFocus(); h && !nearest; h = GetParent(h)) {
    TWinControl* c = FromHandle(h);
    if (c && c->Is(TPageControl::StaticClass())) nearest = static_cast<TPageControl*>(c);
  }
  if (nearest != this) return TWinControl::WndProc(m);
  SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
  m.Result = 1;
}

void TPageControl::CNNotify(TMessage& m) {
  if (reinterpret_cast<NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
    LRESULT i = SendMessageW(Handle(), TCM_GETCURSEL, 0, 0);
    if (i >= 0 && i < PageCount()) SetActivePage(Page(static_cast<int>(i)));
  }
}

}  // namespace fw
