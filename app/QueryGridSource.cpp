#include "app/QueryGridSource.h"

#include "db/CellValue.h"
#include "gui/Text.h"
#include "jet/ado/ValueText.h"
#include "jet/core/Error.h"

int QueryGridSource::FieldCount() const {
  return query_.active() ? static_cast<int>(query_.fields().size()) : 0;
}

std::wstring QueryGridSource::FieldName(int field) const {
  return fw::Wide(query_.fields().at(static_cast<size_t>(field)).name);
}

int64_t QueryGridSource::RowCount() const {
  return query_.active() ? query_.recordCount() : 0;
}

std::wstring QueryGridSource::CellText(int64_t row, int field) const {
  if (!query_.active() || row < 0 || field < 0 || static_cast<size_t>(field) >= query_.fields().size())
    return L"";
  std::string failure;
  try {
    const jet::Row& r = query_.row(static_cast<size_t>(row));
    return fw::Wide(jet::ado::displayText(r.at(static_cast<size_t>(field))));
  } catch (const jet::Error& e) {
    failure = e.what();
  }
  // The rows are read as they are drawn: a row the table no longer has (it
  // shrank underneath) is blank, a row that cannot be read says why.
  try {
    if (row >= query_.recordCount()) return L"";
  } catch (const jet::Error&) {
  }
  return fw::Wide(failure);
}

void QueryGridSource::SetCellText(int64_t row, int field, const std::wstring& text) {
  const jet::ado::Field& f = query_.fields().at(static_cast<size_t>(field));
  query_.updateCell(static_cast<size_t>(row), static_cast<size_t>(field),
                    qm::db::cellValue(fw::Utf8(text), f.type, f.name));
}
