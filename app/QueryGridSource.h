// The grid's view of the grid query: field names, cell texts, and edits
// written back through the query (typed as the field's column type).
#pragma once

#include "gui/DBGrid.h"
#include "jet/ado/Query.h"

class QueryGridSource : public fw::TGridSource {
 public:
  explicit QueryGridSource(jet::ado::Query& query) : query_(query) {}
  int FieldCount() const override;
  std::wstring FieldName(int field) const override;
  int64_t RowCount() const override;
  std::wstring CellText(int64_t row, int field) const override;
  void SetCellText(int64_t row, int field, const std::wstring& text) override;

 private:
  jet::ado::Query& query_;
};
