// A data grid over a static result: an owner-data list view, so only the
// rows on screen are ever asked for (a million rows open at once). Columns
// follow the source's fields in order. A double click (or F2) edits a cell
// in place; Enter or leaving the cell writes it back through the source, and
// a refused write is reported and the cell shows the stored value again.
#pragma once

#include <cstdint>
#include <string>

#include "gui/Control.h"

namespace fw {

class TGridSource {
 public:
  virtual ~TGridSource() = default;
  virtual int FieldCount() const = 0;
  virtual std::wstring FieldName(int field) const = 0;
  virtual int64_t RowCount() const = 0;
  virtual std::wstring CellText(int64_t row, int field) const = 0;
  // Throws std::exception with a message for a person when the write is refused.
  virtual void SetCellText(int64_t row, int field, const std::wstring& text) = 0;
};

class TGridEditor;

// Class identity only: every grid.
struct TCustomGrid {
  static const TClassInfo& StaticClass();
};

class TDBGrid : public TWinControl {
  FW_CLASS(TDBGrid)
 public:
  explicit TDBGrid(TComponent* owner);
  void SetSource(TGridSource* source) { source_ = source; }
  // The source opened, closed or changed: columns and row count are read again.
  void DataChanged();
  int ColumnCount() const { return columns_; }
  void SetColumnWidth(int column, int width);
  int ColumnWidth(int column) const;
  void EditCell(int64_t row, int column);

  std::wstring Automation(const std::wstring& request) override;
  // Posted by the editor: wParam is TRUE to write the text back.
  static constexpr UINT kFinishEdit = WM_APP + 0x101;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  friend class TGridEditor;
  void CNNotify(TMessage& m);
  void WMLButtonDblClk(TMessage& m);
  void WMKeyDown(TMessage& m);
  void FinishEdit(bool commit);
  RECT CellRect(int64_t row, int column) const;

  TGridSource* source_ = nullptr;
  int columns_ = 0;
  TGridEditor* editor_ = nullptr;
  int64_t editRow_ = -1;
  int editColumn_ = -1;
  bool finishing_ = false;
  int64_t cellsDrawn_ = 0;  // cell texts asked for since DataChanged
  std::wstring cellBuffer_;
};

}  // namespace fw
