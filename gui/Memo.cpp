#include "gui/Memo.h"

namespace fw {

const TClassInfo& TCustomMemo::StaticClass() {
  static const TClassInfo info{L"TCustomMemo", &TEdit::StaticClass(), {}};
  return info;
}

const TClassInfo& TMemo::StaticClass() {
  static const TClassInfo info{
      L"TMemo",
      &TCustomMemo::StaticClass(),
      {
          EnumProp(
              L"ScrollBars", {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"},
              [](const TComponent& c) { return static_cast<int>(As<TMemo>(c).ScrollBars()); },
              [](TComponent& c, int v) { As<TMemo>(c).SetScrollBars(static_cast<TScrollStyle>(v)); }),
          TextProp(
              L"Lines.Text", [](const TComponent& c) { return As<TMemo>(c).Text(); },
              [](TComponent& c, const std::wstring& v) { As<TMemo>(c).SetCaption(v); }),
      }};
  return info;
}

TMemo::TMemo(TComponent* owner) : TEdit(owner) {}

void TMemo::CreateParams(TCreateParams& params) {
  TEdit::CreateParams(params);
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (ReadOnly()) params.style |= ES_READONLY;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.style |= WS_VSCROLL;
  // Without a horizontal bar long lines wrap, as a word-wrapping memo does.
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

}  // namespace fw
