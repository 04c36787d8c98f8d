// The common open-file dialog, owned by a form.
#pragma once

#include <windows.h>

#include "gui/Component.h"

namespace fw {

class TOpenDialog : public TComponent {
  FW_CLASS(TOpenDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  // "ALL files|*.*|*.mdb|*.mdb": description and pattern pairs.
  const std::wstring& Filter() const { return filter_; }
  void SetFilter(const std::wstring& f) { filter_ = f; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int i) { filterIndex_ = i; }
  const std::wstring& FileName() const { return fileName_; }
  // True when the user confirmed a file; FileName is then its full path.
  bool Execute(HWND owner);

 private:
  std::wstring filter_;
  int filterIndex_ = 1;
  std::wstring fileName_;
};

}  // namespace fw
