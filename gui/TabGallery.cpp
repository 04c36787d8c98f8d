#include "gui/TabGallery.h"

#include "gui/GalleryForm.h"

#include <string>

#include "gui/Label.h"

namespace fw {

namespace {

TPageControl* PlacePages(TForm* form, int left, int top, int width, int height,
                         const std::vector<std::wstring>& captions, TTabPosition position, TTabStyle style) {
  auto* pages = new TPageControl(form);
  pages->SetBounds(left, top, width, height);
  pages->SetTabPosition(position);
  pages->SetStyle(style);
  pages->SetParent(form);
  for (const std::wstring& caption : captions) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetParent(pages);
    sheet->SetPageControl(pages);
    auto* label = new TLabel(form);
    label->SetBounds(8, 8, 80, 16);
    label->SetCaption(caption + L" 页");
    label->SetParent(sheet);
  }
  pages->SetActivePage(pages->Page(0));
  return pages;
}

TMPBtnSet Buttons(std::initializer_list<TMPBtnType> buttons) {
  TMPBtnSet set{};
  for (TMPBtnType b : buttons) set[static_cast<size_t>(b)] = true;
  return set;
}

}  // namespace

TTabGallery MakeTabGallery(TComponent* owner) {
  TTabGallery g;
  g.form = NewGalleryForm(owner, L"TabGallery", L"页面", 632, 380, 60, 60);
  TForm* f = g.form;
  const std::vector<std::wstring> three{L"一", L"二", L"三"};
  g.top = PlacePages(f, 8, 8, 200, 110, three, tpTop, tsTabs);
  g.bottom = PlacePages(f, 216, 8, 200, 110, three, tpBottom, tsTabs);
  g.left = PlacePages(f, 424, 8, 200, 110, three, tpLeft, tsTabs);
  g.right = PlacePages(f, 8, 126, 200, 110, three, tpRight, tsTabs);
  g.buttons = PlacePages(f, 216, 126, 200, 110, three, tpTop, tsButtons);
  g.closing = PlacePages(f, 424, 126, 200, 110, {L"甲", L"乙", L"丙"}, tpTop, tsTabs);
  g.closing->SetTag(7777);
  std::vector<std::wstring> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back(L"第" + std::to_wstring(i) + L"页");
  g.many = PlacePages(f, 8, 244, 200, 90, ten, tpTop, tsTabs);

  g.player = new TMediaPlayer(f);
  g.player->SetBounds(216, 250, 270, 30);
  g.player->SetParent(f);
  g.player->SetColoredButtons(Buttons({btPlay, btPause}));
  TMPBtnSet enabled;
  enabled.fill(true);
  enabled[btEject] = false;
  g.player->SetEnabledButtons(enabled);
  g.narrow = new TMediaPlayer(f);
  g.narrow->SetBounds(216, 296, 101, 30);
  g.narrow->SetParent(f);
  g.narrow->SetVisibleButtons(Buttons({btPlay, btStop}));
  f->HandleNeeded();
  return g;
}

}  // namespace fw
