#include "gui/BarGallery.h"

#include "gui/GalleryForm.h"

namespace fw {

namespace {

TProgressBar* Progress(TForm* form, int top, int min, int max, int position) {
  auto* bar = Place<TProgressBar>(form, 8, top, 220, 18);
  bar->SetRange(min, max);
  bar->SetPosition(position);
  return bar;
}

TProgressBar* Standing(TForm* form, int left, int min, int max, int position) {
  auto* bar = new TProgressBar(form);
  bar->SetOrientation(pbVertical);
  bar->SetBounds(left, 8, 18, 150);
  bar->SetParent(form);
  bar->SetRange(min, max);
  bar->SetPosition(position);
  return bar;
}

}  // namespace

TBarGallery MakeBarGallery(TComponent* owner) {
  TBarGallery g;
  g.form = NewGalleryForm(owner, L"BarGallery", L"状态栏与进度条", 440, 320);
  TForm* f = g.form;

  g.half = Progress(f, 8, 0, 100, 50);
  g.offset = Progress(f, 32, 20, 120, 70);
  g.negative = Progress(f, 56, -50, 50, 25);
  g.empty = Progress(f, 80, 0, 100, 0);
  g.full = Progress(f, 104, 0, 100, 100);
  g.standing = Standing(f, 240, 0, 100, 30);
  g.standingFull = Standing(f, 266, -10, 10, 10);

  g.track = Place<TTrackBar>(f, 8, 130, 220, 32);
  g.track->SetRange(0, 10);
  g.track->SetPosition(3);
  g.trackVertical = new TTrackBar(f);
  g.trackVertical->SetOrientation(trVertical);
  g.trackVertical->SetBounds(296, 8, 32, 150);
  g.trackVertical->SetParent(f);
  g.trackVertical->SetRange(0, 20);
  g.trackVertical->SetPosition(15);

  g.panels = Place<TStatusBar>(f, 0, 176, 440, 22);
  g.panels->SetPanelWidths(L"120,140,100");
  g.panels->SetPanelText(0, L"面板一");
  g.panels->SetPanelText(1, L"居中");
  g.panels->SetPanelBevel(1, pbRaised);
  g.panels->SetPanelAlignment(1, TAlignment::taCenter);
  g.panels->SetPanelText(2, L"右对齐");
  g.panels->SetPanelBevel(2, pbNone);
  g.panels->SetPanelAlignment(2, TAlignment::taRightJustify);

  g.rightToLeft = Place<TStatusBar>(f, 0, 204, 440, 22);
  g.rightToLeft->SetPanelWidths(L"200,240");
  g.rightToLeft->SetPanelText(0, L"从右到左");
  g.rightToLeft->SetPanelBiDiMode(0, bdRightToLeft);
  g.rightToLeft->SetPanelText(1, L"居中");
  g.rightToLeft->SetPanelBiDiMode(1, bdRightToLeft);
  g.rightToLeft->SetPanelAlignment(1, TAlignment::taCenter);

  g.simple = new TStatusBar(f);
  g.simple->SetSizeGrip(true);
  g.simple->SetBounds(0, 232, 440, 22);
  g.simple->SetParent(f);
  g.simple->SetSimplePanel(true);
  g.simple->SetSimpleText(L"简单文字");

  g.blank = Place<TStatusBar>(f, 0, 260, 440, 22);
  g.blank->SetPanelWidths(L"100,100");
  g.blank->SetSimplePanel(true);

  g.form->HandleNeeded();
  return g;
}

}  // namespace fw
