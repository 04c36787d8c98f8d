#include "gui/RadioGroup.h"

#include <algorithm>

namespace fw {

const TClassInfo& TCustomRadioGroup::StaticClass() {
  static const TClassInfo info{L"TCustomRadioGroup", &TCustomGroupBox::StaticClass(), {}};
  return info;
}

const TClassInfo& TRadioGroup::StaticClass() {
  static const TClassInfo info{
      L"TRadioGroup",
      &TCustomRadioGroup::StaticClass(),
      {
          TextProp(
              L"Items.Text", [](const TComponent& c) { return As<TRadioGroup>(c).ItemsText(); },
              [](TComponent& c, const std::wstring& v) { As<TRadioGroup>(c).SetItemsText(v); }),
          IntProp(
              L"ItemIndex", [](const TComponent& c) { return As<TRadioGroup>(c).ItemIndex(); },
              [](TComponent& c, int v) { As<TRadioGroup>(c).SetItemIndex(v); }),
          IntProp(
              L"Columns", [](const TComponent& c) { return As<TRadioGroup>(c).Columns(); },
              [](TComponent& c, int v) { As<TRadioGroup>(c).SetColumns(v); }),
      }};
  return info;
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {}

void TRadioGroup::SetItems(const std::vector<std::wstring>& items) {
  items_ = items;
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  RebuildButtons();
}

std::wstring TRadioGroup::ItemsText() const {
  std::wstring text;
  for (size_t i = 0; i < items_.size(); ++i) text += (i ? L"\r\n" : L"") + items_[i];
  return text;
}

void TRadioGroup::SetItemsText(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(line);
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  SetItems(lines);
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  updating_ = true;
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(static_cast<int>(i) == index);
  updating_ = false;
  if (!Loading()) Click();
}

void TRadioGroup::SetColumns(int columns) {
  columns_ = std::clamp(columns, 1, 16);
  ArrangeButtons();
}

void TRadioGroup::RebuildButtons() {
  // The buttons belong to the group: they go with it.
  while (buttons_.size() > items_.size()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (buttons_.size() < items_.size()) {
    auto* button = new TRadioButton(this);
    button->OnClick = TEvent{[this](TObject* sender) { ButtonClicked(sender); }, L""};
    button->SetParent(this);
    buttons_.push_back(button);
  }
  updating_ = true;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->SetCaption(items_[i]);
    buttons_[i]->SetChecked(static_cast<int>(i) == itemIndex_);
  }
  updating_ = false;
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  RECT area = ClientArea();
  int columns = std::min(columns_, static_cast<int>(buttons_.size()));
  int rows = (static_cast<int>(buttons_.size()) + columns - 1) / columns;
  int columnWidth = (area.right - area.left - 8) / columns;
  int rowHeight = std::max(1, static_cast<int>(area.bottom - area.top - 4) / rows);
  int buttonHeight = std::min(rowHeight, std::abs(Font().Height()) + 8);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    int column = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    int x = area.left + 8 + column * columnWidth;
    int y = area.top + 2 + row * rowHeight + (rowHeight - buttonHeight) / 2;
    buttons_[i]->SetBounds(x, y, std::max(1, columnWidth - 4), buttonHeight);
  }
}

void TRadioGroup::BoundsChanged() {
  ArrangeButtons();
}

void TRadioGroup::CreateWnd() {
  TGroupBox::CreateWnd();
  ArrangeButtons();
}

void TRadioGroup::ButtonClicked(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  int index = static_cast<int>(it - buttons_.begin());
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Click();
}

}  // namespace fw
