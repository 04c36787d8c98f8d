// The caption buttons of a skinned frame: the hover and press state machine
// every clickable object of the frame shares, building the buttons from the
// skin, deciding on each caption paint which show and where, drawing them,
// and what a click on one does.
#include <windows.h>

#include <vector>

#include "skin/form/CaptionLayout.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

bool IsIconAction(int action) {
  return action == 3 || action == 11;
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom && inner.Width() > 0 && inner.Height() > 0;
}

}  // namespace

void TNCObject::MouseDown() {
  if (SF->ActiveBtn && SF->ActiveBtn != this) SF->ActiveBtn->MouseLeave();
  if (!visible) return;
  SF->ActiveBtn = this;
  state = 2;
  Draw();
}

void TNCObject::MouseUp() {
  if (!visible) return;
  state = 3;
  Draw();
}

void TNCObject::MouseEnter() {
  if (SF->ActiveBtn == this) return;
  if (SF->ActiveBtn) SF->ActiveBtn->MouseLeave();
  if (!visible) return;
  SF->ActiveBtn = this;
  state = 3;
  Draw();
}

void TNCObject::MouseLeave() {
  if (!visible) return;
  SF->ActiveBtn = nullptr;
  state = 1;
  Draw();
  SF->CancelHint();
}

void TWinSysButton::MouseEnter() {
  if (SF->ActiveBtn == this) return;
  if (GetKeyState(VK_LBUTTON) & 0x8000) {
    if (SF->ActiveBtn) SF->ActiveBtn->MouseLeave();
    return;
  }
  TNCObject::MouseEnter();
}

void TWinSysButton::Draw() {
  SF->PaintSysButton(this, state);
}

void TWinSkinForm::DeleteSysbtn() {
  for (const auto& b : SysBtn)
    if (ActiveBtn == b.get()) ActiveBtn = nullptr;
  SysBtn.clear();
  BtnCount = 0;
}

void TWinSkinForm::BuildSysButtons() {
  DeleteSysbtn();
  if (!fsd || fsd->Empty) return;
  BtnCount = static_cast<int>(fsd->SysBtn.size());
  SysBtn.reserve(fsd->SysBtn.size());
  for (TDataSkinSysButton& element : fsd->SysBtn) {
    auto button = std::make_unique<TWinSysButton>(this, &element);
    button->enabled = true;
    if (IsIconAction(element.Action)) {
      // The window-icon button shows the window's own icon.
      BuildIconBitmap();
      if (element.Map.Empty()) element.Map = IconBmp;
      if (fsd->SysIcon.Empty()) fsd->SysIcon = IconBmp;
      element.frame = 1;
    }
    SysBtn.push_back(std::move(button));
  }
}

bool TWinSkinForm::SysButtonVisible(int index) {
  if (index < 0 || static_cast<size_t>(index) >= SysBtn.size() || !SysBtn[index]->data) return false;
  TWinSysButton& button = *SysBtn[index];
  TCaptionWindowFacts facts;
  facts.maximized = Windowstate == swsMax;
  facts.active = FWindowActive;
  facts.hasMin = HasIcon(FormIcons, sbiMin);
  facts.hasMax = HasIcon(FormIcons, sbiMax);
  facts.hasHelp = HasIcon(FormIcons, sbiHelp);
  facts.hasSystem = HasIcon(FormIcons, sbisystem);
  facts.dialogFrame = FormBorder == sbsDialog;
  facts.messageBox = ismessagebox;
  facts.mdiChildMaximized = menu != nullptr && MDIChildMax();
  facts.ask = [this](int visibility, int action) {
    return static_cast<intptr_t>(
        SendMessageW(hwnd, WM_SKINBUTTONQUERY, static_cast<WPARAM>(visibility), static_cast<LPARAM>(action)));
  };
  TCaptionButtonShow show = CaptionButtonShow(*button.data, facts);
  button.visible = show.visible;
  if (show.enabled) button.enabled = *show.enabled;
  return show.visible;
}

void TWinSkinForm::LayoutSysButtons() {
  TCaptionGeometry geometry;
  geometry.windowWidth = fwidth;
  geometry.title = ctr;
  geometry.bw = bw;
  geometry.menuHeight = MenuHeight;
  geometry.menuBarLeftMargin = fsd && fsd->Menubar ? fsd->Menubar->r.Left : 0;
  for (size_t i = 0; i < SysBtn.size(); ++i) {
    TWinSysButton& button = *SysBtn[i];
    // Hidden buttons and those without an image keep their old bounds; they
    // cannot be hit while hidden.
    if (SysButtonVisible(static_cast<int>(i)) && !button.data->Map.Empty())
      button.bounds = PlaceCaptionButton(*button.data, geometry);
  }
}

void TWinSkinForm::PaintSysButtons(HDC dc) {
  for (const auto& b : SysBtn) {
    const TDataSkinSysButton& e = *b->data;
    // Buttons of the menu bar are drawn with it.
    if (!b->visible || e.Map.Empty() || e.Visibility == 100) continue;
    if (IsIconAction(e.Action))
      PaintIcon(dc, b->bounds);
    else
      DrawSkinFrame(dc, b->bounds, e.Map, CaptionButtonImage(e.frame, FWindowActive, b->enabled), e.frame,
                    true);
  }
}

void TWinSkinForm::PaintSysButton(TWinSysButton* button, int s) {
  if (!button || !button->data || !hwnd || button->data->Map.Empty()) return;
  const TDataSkinSysButton& e = *button->data;
  const int image = CaptionButtonStateImage(s, button->enabled, e.frame, e.Visibility);
  const TRect bounds = button->bounds;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  const TRect caption = Rect(0, 0, CaptionBuf.Width(), CaptionBuf.Height());
  if (e.Visibility != 100 && Inside(bounds, caption)) {
    // Drawn over the caption as last composed without its buttons, so the
    // magenta parts show the caption, never the button's previous image;
    // only the button's own rectangle reaches the screen.
    TDibSection buffer(CaptionBuf);
    if (buffer.Valid()) {
      if (IsIconAction(e.Action)) {
        PaintIcon(buffer.DC(), bounds);
        BitBlt(dc, 0, 0, buffer.Width(), buffer.Height(), buffer.DC(), 0, 0, SRCCOPY);
      } else {
        DrawSkinFrame(buffer.DC(), bounds, e.Map, image, e.frame, true);
        BitBlt(dc, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), buffer.DC(), bounds.Left,
               bounds.Top, SRCCOPY);
      }
    }
  } else if (IsIconAction(e.Action)) {
    PaintIcon(dc, bounds);
  } else {
    DrawSkinFrame(dc, bounds, e.Map, image, e.frame, true);
  }
  ReleaseDC(hwnd, dc);
}

TWinSysButton* TWinSkinForm::FindSysBtn(POINT windowPoint) const {
  std::vector<TCaptionButtonHit> hits;
  hits.reserve(SysBtn.size());
  for (const auto& b : SysBtn) hits.push_back({b->bounds, b->visible, b->data ? b->data->Action : -1});
  int i = HitCaptionButton(hits, windowPoint.x, windowPoint.y);
  return i < 0 ? nullptr : SysBtn[static_cast<size_t>(i)].get();
}

void TWinSkinForm::SysButtonAction(int x, int y) {
  TWinSysButton* button = FindSysBtn(ScreenToWindowPoint(POINT{x, y}));
  if (!button) return;
  switch (button->data->Action) {
    case 0:
      if (CanClose()) {
        StopTimer();
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case 1:
    case 22:
      if (button->enabled) Maximize();
      break;
    case 2:
    case 23:
      if (button->enabled) Minimize();
      break;
    case 3:
    case 11:
    case 12:
      PopupSysMenu(POINT{x + 1, y + 1});
      break;
    case 4:
      PostMessageW(hwnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      break;
    case 7:
    case 60:
      SendToActiveMDIChild(SC_MINIMIZE);
      break;
    case 8:
    case 61:
      SendToActiveMDIChild(SC_RESTORE);
      break;
    case 9:
    case 62:
      SendToActiveMDIChild(SC_CLOSE);
      break;
    default:
      PostMessageW(hwnd, WM_SKINBUTTONACTION, static_cast<WPARAM>(button->data->Action), 0);
      break;
  }
}

std::wstring TWinSkinForm::SysButtonHint(int action) {
  return CaptionButtonHint(action);
}

}  // namespace skin
