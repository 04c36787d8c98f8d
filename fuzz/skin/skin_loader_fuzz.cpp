// The skin definition loader on untrusted skins. The first byte picks what
// the rest is: (0) a packed skin archive as a stored skin holds it, (1) an INI
// definition packed with a few fixed bitmaps, (2) an INI definition up to the
// first NUL followed by the bytes of a bitmap member "x.bmp". A load either
// completes with every frame count at least 1, or fails and leaves the model
// Empty; then every loaded record is drawn, so odd margins and counts reach
// the drawing maths too.
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "skin/archive/SkinArchive.h"
#include "skin/form/SkinImage.h"
#include "skin/model/SkinModel.h"

namespace {

std::vector<uint8_t> FixedBitmap(int32_t width, int32_t height, skin::TPixel fill) {
  skin::TBitmap b(width, height, fill);
  b.SetPixel(0, 0, skin::kMagentaPixel);
  return b.SaveToBmp();
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void Exercise(const skin::TDataSkinObject* record, bool vertical) {
  if (record == nullptr) return;
  Check(record->frame >= 1);
  skin::TBitmap canvas(37, 23);
  const skin::TRect target = skin::Rect(0, 0, 37, 23);
  skin::DrawSkinImage(canvas, target, record->Map, record->r, 2, record->frame, record->trans == 1,
                      record->Tile == 1, vertical);
  skin::DrawTiledStrip(canvas, target, record->Map, record->r, 1, record->frame, true, vertical);
  skin::DrawThreeSliceBar(canvas, target, record->Map, vertical, record->frame, 1, record->r);
  skin::DrawSkinFrameCentered(canvas, target, record->Map, 1, record->frame, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  skin::TSkinModel model;
  const uint8_t mode = data[0] % 3;
  const std::vector<uint8_t> rest(data + 1, data + size);
  if (mode == 0) {
    model.data.Assign(rest);
  } else {
    std::vector<skin::TSkinMember> members;
    std::vector<uint8_t> ini = rest;
    if (mode == 1) {
      members.push_back({"a.bmp", FixedBitmap(12, 6, 0x00336699)});
      members.push_back({"b.bmp", FixedBitmap(68, 21, 0x00808080)});
      members.push_back({"c.bmp", FixedBitmap(4, 40, 0x00FFFFFF)});
    } else {
      size_t nul = 0;
      while (nul < rest.size() && rest[nul] != 0) ++nul;
      ini.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(nul));
      const size_t bmpStart = nul < rest.size() ? nul + 1 : rest.size();
      members.push_back(
          {"x.bmp", std::vector<uint8_t>(rest.begin() + static_cast<std::ptrdiff_t>(bmpStart), rest.end())});
    }
    members.push_back({"skin.ini", ini});
    skin::PackSkinArchive(members, model.data);
  }

  const bool loaded = model.LoadArchive();
  Check(loaded == !model.Empty);
  if (!loaded) return 0;

  for (int i = 1; i <= 4; ++i) Exercise(&model.border[static_cast<size_t>(i)], i >= 3);
  Exercise(&model.Title, true);
  Exercise(&model.Button, false);
  Check(model.Button.checkframe >= 1 && model.Button.radioframe >= 1);
  for (const skin::TDataSkinSysButton& b : model.SysBtn) Exercise(&b, false);
  const std::initializer_list<const skin::TDataSkinObject*> optional = {
      model.tab.get(),           model.HSpin.get(),        model.VSpin.get(),        model.combox.get(),
      model.progress.get(),      model.TabSheet.get(),     model.Comboxborder.get(), model.comboxarrow.get(),
      model.ExtraImages.get(),   model.Box.get(),          model.Toolbar.get(),      model.Toolbarbtn.get(),
      model.progresschunk.get(), model.StatusBar.get(),    model.Header.get(),       model.MenuItem.get(),
      model.MenuitemBG.get(),    model.SArrow.get(),       model.HBar.get(),         model.VBar.get(),
      model.HSlider.get(),       model.VSlider.get(),      model.TrackHorz.get(),    model.TrackVert.get(),
      model.TrackLeft.get(),     model.Trackright.get(),   model.Tracktop.get(),     model.Trackbottom.get(),
      model.TrackBar.get(),      model.TrackBarVert.get(), model.boxlabel.get()};
  for (const skin::TDataSkinObject* p : optional) Exercise(p, false);
  Exercise(model.Menubar.get(), true);
  Check(model.comboxarrow != nullptr && model.Toolbar != nullptr && model.TrackBar != nullptr &&
        model.TrackBarVert != nullptr);
  skin::RegionRectsFromBitmap(model.border[1].Map, 0, 0, 0x00FF00FF, 0, 1, 0);
  model.GetCaptionColor();
  return 0;
}
