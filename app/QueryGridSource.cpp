#include "app/QueryGridSource.h"

#include "db/CellValue.h"
#include "gui/Text.h"
#include "jet/ado/ValueText.h"

int QueryGridSource::FieldCount() const {
  return query_.active() ? static_cast<int>(query_.fields().size()) : 0;
}

std::wstring QueryGridSource::FieldName(int field) const {
  return fw::Wide(query_.fields().at(static_cast<size_t>(field)).name);
}

int64_t QueryGridSource::RowCount() const {
  return query_.active() ? static_cast<int64_t>(query_.rows().size()) : 0;
}

std::wstring QueryGridSource::CellText(int64_t row, int field) const {
  if (!query_.active()) return L"";
  const jet::Row& r = query_.rows().at(static_cast<size_t>(row));
  return fw::Wide(jet::ado::displayText(r.at(static_cast<size_t>(field))));
}

void QueryGridSource::SetCellText(int64_t row, int field, const std::wstring& text) {
  const jet::ado::Field& f = query_.fields().at(static_cast<size_t>(field));
  query_.updateCell(static_cast<size_t>(row), static_cast<size_t>(field),
                    qm::db::cellValue(fw::Utf8(text), f.type, f.name));
}
