#include "gui/OpenDialog.h"

#include <commdlg.h>

#include <vector>

namespace fw {

const TClassInfo& TOpenDialog::StaticClass() {
  static const TClassInfo info{
      L"TOpenDialog",
      &TComponent::StaticClass(),
      {
          TextProp(
              L"Filter", [](const TComponent& c) { return As<TOpenDialog>(c).Filter(); },
              [](TComponent& c, const std::wstring& v) { As<TOpenDialog>(c).SetFilter(v); }),
          IntProp(
              L"FilterIndex", [](const TComponent& c) { return As<TOpenDialog>(c).FilterIndex(); },
              [](TComponent& c, int v) { As<TOpenDialog>(c).SetFilterIndex(v); }),
      }};
  return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute(HWND owner) {
  // The dialog wants the pairs separated by NULs and ended by two.
  std::wstring filter = filter_;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return false;
  fileName_ = file.data();
  filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  return true;
}

}  // namespace fw
