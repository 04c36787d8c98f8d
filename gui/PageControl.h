// Pages on a native tab control: each TTabSheet is a container window that
// fills the tab control's display area; choosing a tab shows its sheet.
#pragma once

#include <vector>

#include "gui/Control.h"

namespace fw {

class TPageControl;

class TTabSheet : public TWinControl {
  FW_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pc);
  int PageIndex() const;
  void SetCaption(const std::wstring& text) override;

 private:
  TPageControl* pageControl_ = nullptr;
};

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// Class identity only: every tab control.
struct TCustomTabControl {
  static const TClassInfo& StaticClass();
};

class TPageControl : public TWinControl {
  FW_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Page(int i) const { return pages_[static_cast<size_t>(i)]; }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle s) { style_ = s; }
  // Which side the tabs are on; taken when the window is made.
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition p) { tabPosition_ = p; }
  // The page after (or before) the active one, round the end, becomes active.
  void SelectNextPage(bool forward);
  void SetActivePageName(const std::wstring& name) { activeName_ = name; }
  std::wstring ActivePageName() const;

  RECT ClientArea() const override;
  // "active": the shown page's name; "tab:<i>": tab i's rectangle on the
  // screen, "left,top,right,bottom" ("" for a tab not shown).
  std::wstring Automation(const std::wstring& request) override;
  void ReadChild(TComponent* child) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTab(TTabSheet* page);
  void CNNotify(TMessage& m);
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the innermost page control holding the focus.
  void CMDialogKey(TMessage& m);

  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  TTabStyle style_ = tsTabs;
  TTabPosition tabPosition_ = tpTop;
  std::wstring activeName_;
};

}  // namespace fw
