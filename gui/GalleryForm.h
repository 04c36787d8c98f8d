// The test windows that each show one family of controls: a form of a fixed
// size at a known place on the screen, and controls placed on it, owned by it.
#pragma once

#include "gui/Form.h"

namespace fw {

inline TForm* NewGalleryForm(TComponent* owner, const wchar_t* name, const wchar_t* caption, int clientWidth,
                             int clientHeight, int left = 100, int top = 100) {
  auto* form = new TForm(owner);
  form->SetName(name);
  form->SetCaption(caption);
  form->SetBorderStyle(bsSingle);
  form->SetClientSize(clientWidth, clientHeight);
  form->SetBounds(left, top, 0, 0);
  return form;
}

// A control owned by `form`, shown inside `parent`.
template <class T>
T* Place(TForm* form, TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(form);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}

template <class T>
T* Place(TForm* form, int left, int top, int width, int height) {
  return Place<T>(form, form, left, top, width, height);
}

}  // namespace fw
