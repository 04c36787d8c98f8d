// A window with scrollable controls and stand-alone scroll bars, for tests
// that look at how scroll bars are drawn (plain or skinned) and work them
// with real input: a memo and a grid with both bars, a horizontal and a
// vertical scroll bar, and a disabled one. Positions are fixed so
// screenshots compare.
#pragma once

#include <memory>

#include "gui/DBGrid.h"
#include "gui/Form.h"
#include "gui/Memo.h"
#include "gui/ScrollBar.h"

namespace fw {

// Rows "行 N", columns "列 K": enough of both for the grid to scroll each way.
class TNumberGridSource : public TGridSource {
 public:
  TNumberGridSource(int64_t rows, int fields) : rows_(rows), fields_(fields) {}
  int FieldCount() const override { return fields_; }
  std::wstring FieldName(int field) const override;
  int64_t RowCount() const override { return rows_; }
  std::wstring CellText(int64_t row, int field) const override;
  void SetCellText(int64_t row, int field, const std::wstring& text) override;

 private:
  int64_t rows_;
  int fields_;
};

struct TScrollGallery {
  TForm* form = nullptr;
  TMemo* memo = nullptr;    // both bars, 60 long lines
  TDBGrid* grid = nullptr;  // both bars
  std::shared_ptr<TNumberGridSource> source;
  TScrollBar* hbar = nullptr;  // 0..100, page 10
  TScrollBar* vbar = nullptr;  // 0..1000, page 1
  TScrollBar* disabledBar = nullptr;
};

// Builds the gallery form, owned by `owner` (null: the caller deletes
// gallery.form), its window made but not shown.
TScrollGallery MakeScrollGallery(TComponent* owner);

}  // namespace fw
