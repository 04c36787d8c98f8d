#include "gui/ScrollGallery.h"

#include "gui/GalleryForm.h"

#include <stdexcept>
#include <string>

namespace fw {

std::wstring TNumberGridSource::FieldName(int field) const {
  return L"列 " + std::to_wstring(field + 1);
}

std::wstring TNumberGridSource::CellText(int64_t row, int field) const {
  return L"行 " + std::to_wstring(row + 1) + L"." + std::to_wstring(field + 1);
}

void TNumberGridSource::SetCellText(int64_t, int, const std::wstring&) {
  throw std::runtime_error("这个表格只读");
}

namespace {

TScrollBar* PlaceBar(TForm* form, TScrollBarKind kind, int left, int top, int width, int height, int max,
                     int page) {
  auto* bar = Place<TScrollBar>(form, left, top, width, height);
  bar->SetKind(kind);
  bar->SetMax(max);
  bar->SetPageSize(page);
  return bar;
}

}  // namespace

TScrollGallery MakeScrollGallery(TComponent* owner) {
  TScrollGallery g;
  g.form = NewGalleryForm(owner, L"ScrollGallery", L"滚动条", 440, 300);
  TForm* f = g.form;

  g.memo = Place<TMemo>(f, 8, 8, 200, 130);
  g.memo->SetScrollBars(ssBoth);
  std::wstring text;
  for (int i = 1; i <= 60; ++i)
    text += L"第 " + std::to_wstring(i) + L" 行 SELECT * FROM 表 WHERE 编号 = " + std::to_wstring(i * 7) +
            L"\r\n";
  g.memo->SetCaption(text);

  g.source = std::make_shared<TNumberGridSource>(500, 8);
  g.grid = Place<TDBGrid>(f, 216, 8, 216, 130);
  g.grid->SetSource(g.source.get());

  g.hbar = PlaceBar(f, sbHorizontal, 8, 150, 200, 17, 100, 10);
  g.vbar = PlaceBar(f, sbVertical, 216, 150, 17, 140, 1000, 1);
  g.disabledBar = PlaceBar(f, sbHorizontal, 8, 180, 200, 17, 100, 10);
  g.disabledBar->SetEnabled(false);

  f->HandleNeeded();
  g.grid->DataChanged();
  for (int i = 0; i < g.grid->ColumnCount(); ++i) g.grid->SetColumnWidth(i, 70);
  return g;
}

}  // namespace fw
