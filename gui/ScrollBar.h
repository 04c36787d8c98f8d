// A stand-alone scroll bar (the system SCROLLBAR class). The user's arrows,
// shaft clicks and thumb drags move Position within Min..Max (less a page
// when PageSize is set); OnScroll fires for every scroll request, OnChange
// when Position changed, by the user or the program.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
  FW_CLASS(TScrollBar)
 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int PageSize() const { return pageSize_; }
  int SmallChange() const { return smallChange_; }
  int LargeChange() const { return largeChange_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPageSize(int v);
  void SetPosition(int v);
  void SetSmallChange(int v) { smallChange_ = v; }
  void SetLargeChange(int v) { largeChange_ = v; }
  // The furthest Position can go: Max, or the start of the last page.
  int LastPosition() const;

  TEvent OnScroll;
  TEvent OnChange;
  // The request code of the scroll request OnScroll reports.
  int LastScrollCode() const { return lastCode_; }

  std::wstring Automation(const std::wstring& request) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void CNScroll(TMessage& m);
  void ApplyScrollInfo();
  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
  int lastCode_ = -1;
};

}  // namespace fw
