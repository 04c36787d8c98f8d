#include <gtest/gtest.h>

#include "skin/archive/ImgUtil.h"
#include "skin/archive/WinConvert.h"
#include "skin/model/SkinModel.h"
#include "skin/model/SkinTestArchive.h"

namespace skin::test {
namespace {

TSkinFiles IniOnly(const std::string& ini) {
  TSkinFiles files;
  files.ini = ini;
  return files;
}

TEST(SkinLoaderTest, EmptyDefinitionGivesEveryDefault) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(m, IniOnly("")));
  EXPECT_FALSE(m.Empty);
  EXPECT_EQ(m.SkinName, "");
  const char* sides[5] = {"", "Left", "Right", "Top", "Bottom"};
  for (int i = 1; i <= 4; ++i) {
    const TDataSkinBorder& b = m.border[static_cast<size_t>(i)];
    EXPECT_EQ(b.IDName, sides[i]);
    EXPECT_TRUE(b.Map.Empty());
    EXPECT_EQ(b.r, TRect{});
    EXPECT_EQ(b.frame, 1);
    EXPECT_EQ(b.Tile, 1);
    EXPECT_EQ(b.trans, 1);
  }
  const TColor defaults[20] = {SysColor(8),
                               SysColor(9),
                               SysColor(19),
                               SysColor(15),
                               SysColor(18),
                               SysColor(20),
                               SysColor(20),
                               SysColor(16),
                               SysColor(21),
                               0,
                               0,
                               SysColor(14),
                               SysColor(13),
                               SysColor(15),
                               SysColor(7),
                               SysColor(7),
                               SysColor(4),
                               SysColor(15),
                               SysColor(0),
                               0};
  for (size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(m.Colors[i], defaults[i]) << i;
    EXPECT_FALSE(m.hasColors[i]) << i;
  }
  EXPECT_TRUE(m.ColorPreset.empty());
  for (TColor c : m.PresetColors) EXPECT_EQ(c, clWhite);

  ASSERT_EQ(m.SysBtn.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = m.SysBtn[static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.frame, 4);
    EXPECT_TRUE(b.Map.Empty());
  }

  EXPECT_EQ(m.Button.IDName, "Buttons");
  EXPECT_EQ(m.Button.frame, 5);
  EXPECT_EQ(m.Button.radioframe, 4);
  EXPECT_EQ(m.Button.checkframe, 4);
  EXPECT_EQ(m.Button.trans, 0);
  EXPECT_EQ(m.Button.Tile, 0);
  EXPECT_EQ(m.Button.r, TRect{});
  EXPECT_EQ(m.Button.Normalcolor, -1);
  EXPECT_EQ(m.Button.Overcolor, -1);
  EXPECT_EQ(m.Button.Downcolor, -1);
  EXPECT_EQ(m.Button.Normalcolor2, SysColor(18));
  EXPECT_EQ(m.Button.Downcolor2, SysColor(18));
  EXPECT_FALSE(m.Button.newnormal || m.Button.newover || m.Button.newdown);

  EXPECT_EQ(m.Title.frame, 2);
  EXPECT_EQ(m.Title.FontHeight, 14);
  EXPECT_EQ(m.Title.r, TRect{});
  EXPECT_EQ(m.Title.activetext, clNone);
  EXPECT_EQ(m.Title.inactivetext, clNone);
  EXPECT_EQ(m.Title.Aligment, 0);

  for (const auto* p : {&m.tab, &m.HSpin, &m.VSpin, &m.combox, &m.progress}) EXPECT_EQ(p->get(), nullptr);
  for (const auto* p :
       {&m.TabSheet,  &m.Comboxborder, &m.ExtraImages, &m.Box,        &m.Toolbarbtn, &m.progresschunk,
        &m.StatusBar, &m.Header,       &m.Menubar,     &m.MenuItem,   &m.MenuitemBG, &m.SArrow,
        &m.HBar,      &m.VBar,         &m.HSlider,     &m.VSlider,    &m.TrackHorz,  &m.TrackVert,
        &m.TrackLeft, &m.Trackright,   &m.Tracktop,    &m.Trackbottom})
    EXPECT_EQ(p->get(), nullptr);
  EXPECT_EQ(m.boxlabel, nullptr);

  // Always there after loading: the combo arrow (empty here), the tool-bar
  // gradient and the two built-in track channels.
  ASSERT_NE(m.comboxarrow, nullptr);
  EXPECT_EQ(m.comboxarrow->IDName, "ComboxArrow");
  EXPECT_TRUE(m.comboxarrow->Map.Empty());
  ASSERT_NE(m.Toolbar, nullptr);
  EXPECT_EQ(m.Toolbar->Map.Width(), 10);
  EXPECT_EQ(m.Toolbar->Map.Height(), 40);
  EXPECT_EQ(m.Toolbar->frame, 1);
  ASSERT_NE(m.TrackBar, nullptr);
  EXPECT_EQ(m.TrackBar->IDName, "TRACK");
  EXPECT_EQ(m.TrackBar->r, Rect(3, 3, 3, 3));
  EXPECT_EQ(m.TrackBar->frame, 1);
  EXPECT_EQ(m.TrackBar->Tile, 0);
  ASSERT_NE(m.TrackBarVert, nullptr);
  EXPECT_EQ(m.TrackBarVert->Map.Width(), 4);
  EXPECT_EQ(m.TrackBarVert->Map.Height(), 16);
}

TEST(SkinLoaderTest, BuiltInTrackChannels) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(m, IniOnly("[Other]\r\nx=1\r\n")));
  const TPixel S = MakePixel(0xC0, 0xC0, 0xC0), G = MakePixel(0x80, 0x80, 0x80), W = MakePixel(255, 255, 255);
  const TBitmap& track = m.TrackBar->Map;
  ASSERT_EQ(track.Width(), 16);
  ASSERT_EQ(track.Height(), 4);
  for (int32_t x = 0; x < 16; ++x) {
    EXPECT_EQ(track.Pixel(x, 0), x < 2 ? S : x < 14 ? G : W) << x;
    EXPECT_EQ(track.Pixel(x, 1), x < 2 ? S : W) << x;
    EXPECT_EQ(track.Pixel(x, 2), x == 0 ? G : x == 1 ? S : W) << x;
    EXPECT_EQ(track.Pixel(x, 3), x < 2 ? S : W) << x;
  }
  const TBitmap& vert = m.TrackBarVert->Map;
  const TPixel row0[4] = {S, S, G, S};
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(vert.Pixel(x, 0), row0[x]);
    EXPECT_EQ(vert.Pixel(x, 1), S);
    for (int32_t y = 2; y < 14; ++y) EXPECT_EQ(vert.Pixel(x, y), x == 0 ? G : W) << x << "," << y;
    EXPECT_EQ(vert.Pixel(x, 14), W);
    EXPECT_EQ(vert.Pixel(x, 15), W);
  }
}

TEST(SkinLoaderTest, ToolbarGradientFollowsTheCaptionColour) {
  ResetGradientCache();
  TSkinModel m;
  // Top border of two stacked 10-high images; the caption colour pixel is at (4, 3).
  TBitmap top(12, 20, MakePixel(9, 9, 9));
  top.SetPixel(4, 3, MakePixel(255, 0, 0));
  TSkinFiles files =
      IniOnly("[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n[Colours]\r\nButtonFace=200 200 200\r\n");
  files.Bitmap("top.bmp", top);
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.Colors[17], 0x000000FF);
  EXPECT_EQ(m.GetCaptionColor(), 0x000000FF);
  // Pure red is vivid (255): the bottom is red lightened by (5625 - 6375) / 140 + 50 = 45 per cent.
  const TBitmap& bar = m.Toolbar->Map;
  EXPECT_EQ(bar.Pixel(0, 0), ColorToPixel(static_cast<uint32_t>(BlendColors(0x00C8C8C8, clWhite, 150))));
  EXPECT_EQ(PixelToColor(bar.Pixel(9, 39)) & 0xFF, 255u);
  EXPECT_NEAR(static_cast<int>(PixelGreen(bar.Pixel(9, 39))), 140, 1);
}

TEST(SkinLoaderTest, DarkCaptionIsLightenedLikeAVividOne) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(m, IniOnly("[Colours]\r\nButtonFace=100 100 100\r\n")));
  // Caption colour = ButtonFace (no top border). All channels below 160 give
  // saturation 200, so the bottom is the caption lightened to 54 %:
  // (100 * 54 + 255 * 46 + 50) / 100 = 171; the top is (100 * 150 + 255 * 850 + 500) / 1000 = 232.
  EXPECT_EQ(PixelRed(m.Toolbar->Map.Pixel(0, 0)), 232);
  // The falling gradient ends one step short of 171.
  EXPECT_EQ(PixelRed(m.Toolbar->Map.Pixel(0, 39)), 172);
}

TEST(SkinLoaderTest, ColourTexts) {
  EXPECT_EQ(TSkinModel::ParseColour("1 2 3"), 0x00030201);
  EXPECT_EQ(TSkinModel::ParseColour("  1,2;3  "), 0x00030201);
  EXPECT_EQ(TSkinModel::ParseColour("10 20"), 10);    // the final number is dropped
  EXPECT_EQ(TSkinModel::ParseColour("300 0 0"), 44);  // low byte of each component
  EXPECT_EQ(TSkinModel::ParseColour("1 2 3 4 5"), 0x00030201);
  EXPECT_EQ(TSkinModel::ParseColour("1 2 3,"), 0x00030201);
  EXPECT_EQ(TSkinModel::ParseColour("7"), 0);
  EXPECT_EQ(TSkinModel::ParseColour(""), 0);
  EXPECT_EQ(TSkinModel::ParseColour("   "), 0);
  // A long run of digits cannot overflow: 99999999999999999999 mod 256 = 255.
  EXPECT_EQ(TSkinModel::ParseColour("99999999999999999999 256 257"), 255 + 0 * 256 + 1 * 65536);
}

TEST(SkinLoaderTest, SchemeColoursAndPresets) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(
      m, IniOnly("[Colours]\r\nButtonFace=1 2 3\r\nHilight=4 5 6\r\nScrollbar=7 8 9\r\n"
                 "[Colour1]\r\ncolor=10 11 12\r\n[ColourNone]\r\nx=1\r\n[colours2]\r\ncolor=1 1 1\r\n"
                 "[Customcolors]\r\nColor0=1 0 0\r\nColor9=0 0 1\r\n")));
  EXPECT_EQ(m.Colors[3], 0x00030201);
  EXPECT_TRUE(m.hasColors[3]);
  EXPECT_EQ(m.Colors[13], 0x00030201);  // the menu band falls back on ButtonFace
  EXPECT_FALSE(m.hasColors[13]);
  EXPECT_EQ(m.Colors[12], 0x00060504);
  EXPECT_EQ(m.Colors[18], 0x00090807);
  EXPECT_EQ(m.Colors[17], 0x00030201);
  const std::vector<TColor> presets = {0x000C0B0A, SysColor(8), 0x00010101};
  EXPECT_EQ(m.ColorPreset, presets);
  EXPECT_EQ(m.PresetColors[0], 1);
  EXPECT_EQ(m.PresetColors[5], clWhite);
  EXPECT_EQ(m.PresetColors[9], 0x00010000);
}

TEST(SkinLoaderTest, BordersAndTitle) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[Personality]\r\nLeft=left.bmp\r\nLeftTopHeight=24\r\nLeftBotHeight=4\r\nLeftFrame=2\r\nLeftStretch="
      "7\r\n"
      "LeftTrans=0\r\nTop=top.bmp\r\nTopTopHeight=10\r\nTopBotHeight=11\r\nTopFrame=2\r\nTopStretch=0\r\n"
      "TextBack=tb.bmp\r\nTextShift=28\r\nTextShiftVert=3\r\nTextRightClip=80\r\nTextAlignment=1\r\n"
      "Textbackground=2\r\nTXTBackleft=6\r\nTXTBackRight=7\r\nActiveTextR=1\r\nActiveTextG=258\r\n"
      "ActiveTextB=3\r\nInActiveTextR=1\r\nInActiveTextG=2\r\n[Fonts]\r\nFontHeight=12\r\n"
      "[TitlebarSkin]\r\nSkinName=Test Skin\r\n");
  files.Bitmap("left.bmp", Strip(4, 60, 2))
      .Bitmap("top.bmp", TBitmap(60, 48))
      .Bitmap("tb.bmp", TBitmap(20, 48));
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.SkinName, "Test Skin");
  EXPECT_EQ(m.border[1].r, Rect(0, 24, 0, 4));
  EXPECT_EQ(m.border[1].frame, 2);
  EXPECT_EQ(m.border[1].Tile, 1);
  EXPECT_EQ(m.border[1].trans, 0);
  EXPECT_EQ(m.border[1].Map.Width(), 8);
  EXPECT_EQ(m.border[3].r, Rect(10, 0, 11, 0));
  EXPECT_EQ(m.border[3].Tile, 0);
  EXPECT_EQ(m.border[3].trans, 1);
  EXPECT_TRUE(m.border[2].Map.Empty());
  EXPECT_EQ(m.Title.Map.Width(), 20);
  EXPECT_EQ(m.Title.r, Rect(28, 3, 80, 0));
  EXPECT_EQ(m.Title.Aligment, 1);
  EXPECT_EQ(m.Title.BackGround, 2);
  EXPECT_EQ(m.Title.backleft, 6);
  EXPECT_EQ(m.Title.backright, 7);
  EXPECT_EQ(m.Title.FontHeight, 12);
  EXPECT_EQ(m.Title.activetext, 0x00030201);  // each key's low byte
  EXPECT_EQ(m.Title.inactivetext, clNone);    // blue missing
}

TEST(SkinLoaderTest, CaptionButtonSectionsAndComputedFrames) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[Buttons]\r\nTrans=1\r\n[Button.Radio]\r\nAction=2\r\n[button]\r\nAction=2\r\n"
      "[BUTTON0]\r\nAction=0\r\nButtonImage=wide.bmp\r\n"
      "[Button1]\r\nAction=1\r\nVisibility=2\r\nXcoord=46\r\nYcoord=3\r\nButtonImage=narrow.bmp\r\n"
      "[ButtonSkipped]\r\nAction=-1\r\n"
      "[ButtonKept]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
      "[Button4]\r\nAction=4\r\nXcoord=99\r\nAlign=1\r\nCombineOp=2\r\nVisibility1=10\r\nButtonImage=ratio."
      "bmp\r\n"
      "[ButtonIcon]\r\nAction=3\r\nButtonImage=narrow.bmp\r\n"
      "[ButtonFour]\r\nAction=2\r\nframe=4\r\nButtonImage=wide.bmp\r\n"
      "[ButtonNegative]\r\nAction=2\r\nframe=-3\r\n");
  files.Bitmap("wide.bmp", TBitmap(66, 11))
      .Bitmap("narrow.bmp", TBitmap(33, 11))
      .Bitmap("ratio.bmp", TBitmap(38, 10));
  ASSERT_TRUE(LoadSkin(m, files));
  ASSERT_EQ(m.SysBtn.size(), 7u + 3u);
  EXPECT_EQ(m.SysBtn[0].IDName, "BUTTON0");
  EXPECT_EQ(m.SysBtn[0].frame, 6);  // 66 x 11 is wider than 3.8 : 1
  EXPECT_EQ(m.SysBtn[0].CombineOp, -1);
  EXPECT_EQ(m.SysBtn[1].IDName, "BUTTON1");
  EXPECT_EQ(m.SysBtn[1].frame, 3);  // 33 x 11 = 3.0
  EXPECT_EQ(m.SysBtn[2].IDName, "BUTTONKEPT");
  EXPECT_EQ(m.SysBtn[2].Action, -1);
  EXPECT_EQ(m.SysBtn[2].Visibility1, -1);
  EXPECT_EQ(m.SysBtn[2].frame, 6);  // a negative action always takes 6
  const TDataSkinSysButton& help = m.SysBtn[3];
  EXPECT_EQ(help.frame, 3);    // exactly 3.8 : 1
  EXPECT_EQ(help.XCoord, 46);  // the maximize button's place
  EXPECT_EQ(help.YCoord, 3);
  EXPECT_EQ(help.Align, 1);
  EXPECT_EQ(help.CombineOp, 2);
  EXPECT_EQ(help.Visibility1, 10);
  EXPECT_TRUE(m.SysBtn[4].Map.Empty());  // the window icon is drawn instead
  EXPECT_EQ(m.SysBtn[4].frame, 3);
  EXPECT_EQ(m.SysBtn[5].frame, 4);
  EXPECT_EQ(m.SysBtn[5].Map.Width(), 66);
  EXPECT_EQ(m.SysBtn[6].frame, 1);  // a negative count is made safe
  EXPECT_EQ(m.SysBtn[7].Action, 7);
}

TEST(SkinLoaderTest, MdiControlsAreCutIntoThreeButtons) {
  TSkinModel m;
  TSkinFiles files = IniOnly("[MdiControls]\r\nImage=mdi.bmp\r\n");
  files.Bitmap("mdi.bmp", Strip(16, 14, 12));
  ASSERT_TRUE(LoadSkin(m, files));
  ASSERT_EQ(m.SysBtn.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = m.SysBtn[static_cast<size_t>(i)];
    ASSERT_EQ(b.Map.Width(), 64);
    EXPECT_EQ(b.Map.Height(), 14);
    EXPECT_EQ(PixelRed(b.Map.Pixel(0, 0)), 4 * i + 1);
    EXPECT_EQ(PixelRed(b.Map.Pixel(63, 13)), 4 * i + 4);
    EXPECT_EQ(b.XCoord, 20 * (3 - i));
  }
}

TEST(SkinLoaderTest, ButtonsSection) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[Colours]\r\nButtonText=9 9 9\r\n[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=check.bmp\r\n"
      "RadioButton=radio.bmp\r\nLeftWidth=3\r\nRightWidth=4\r\nTopHeight=5\r\nBottomHeight=6\r\nTrans=1\r\n"
      "Tile=3\r\nNormalColour=$FF000012\r\nMouseOverColour=255\r\nNormalColour2=0 0 "
      "0\r\nPressedColour2=\r\n");
  files.Bitmap("button.bmp", Strip(30, 22, 5))
      .Bitmap("check.bmp", TBitmap(96, 16))
      .Bitmap("radio.bmp", TBitmap(52, 13));
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.Button.Map.Width(), 150);
  EXPECT_EQ(m.Button.r, Rect(3, 5, 4, 6));
  EXPECT_EQ(m.Button.trans, 1);
  EXPECT_EQ(m.Button.Tile, 0);
  EXPECT_EQ(m.Button.Normalcolor, SysColor(18));  // the 32-bit pattern, a system colour
  EXPECT_EQ(m.Button.Overcolor, 255);
  EXPECT_EQ(m.Button.Downcolor, -1);
  EXPECT_TRUE(m.Button.newnormal);
  EXPECT_EQ(m.Button.Normalcolor2, 0);
  EXPECT_FALSE(m.Button.newover);
  EXPECT_EQ(m.Button.Overcolor2, 0x00090909);
  EXPECT_FALSE(m.Button.newdown);  // nothing after the equals sign counts as absent
  EXPECT_EQ(m.Button.Downcolor2, 0x00090909);
  EXPECT_EQ(m.Button.checkframe, 6);  // 96 / 16
  EXPECT_EQ(m.Button.radioframe, 4);  // 52 / 13
}

TEST(SkinLoaderTest, FrameCountsAreAlwaysAtLeastOne) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[Personality]\r\nLeft=s.bmp\r\nLeftFrame=0\r\nRight=s.bmp\r\nRightFrame=-4\r\n"
      "[Buttons]\r\nCheckButtonFrame=-2\r\nRadioButtonFrame=3\r\n[Progress.Chunk]\r\nImage=s.bmp\r\nFrame=-"
      "3\r\n"
      "[Headerbar]\r\nImage=s.bmp\r\nFrame=-1\r\n[Track]\r\nImage=s.bmp\r\n[TRACKVERT]\r\nImage=s."
      "bmp\r\nFrame=2\r\n"
      "[HorzScrollThumb]\r\nImage=s.bmp\r\nFrameCount=0\r\n[VertScrollThumb]\r\nImage=s.bmp\r\n");
  files.Bitmap("s.bmp", TBitmap(8, 8));
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.border[1].frame, 1);
  EXPECT_EQ(m.border[2].frame, 1);
  EXPECT_EQ(m.Button.checkframe, 1);
  EXPECT_EQ(m.Button.radioframe, 3);
  EXPECT_EQ(m.progresschunk->frame, 1);
  EXPECT_EQ(m.Header->frame, 1);
  EXPECT_EQ(m.TrackBar->frame, 1);
  EXPECT_EQ(m.TrackBar->IDName, "Track");
  EXPECT_EQ(m.TrackBarVert->frame, 2);
  EXPECT_EQ(m.HSlider->frame, 1);
  EXPECT_EQ(m.VSlider->frame, 3);
}

TEST(SkinLoaderTest, ElementSectionsAndTheirFixedCounts) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[Progress]\r\nBitmap=s.bmp\r\nStyle=1\r\nTile=5\r\nLeftWidth=2\r\nFrame=9\r\nNormalColour=5\r\n"
      "[GroupBox]\r\nImage=s.bmp\r\nBackgroundAlignment=2\r\nBackgroundLeftShift=-3\r\nBackgroundRightShift="
      "4\r\n"
      "[Tabs]\r\nImage=s.bmp\r\nBorder=b.bmp\r\nTile=2\r\nMouseOverColour2=1 2 3\r\n"
      "[Tab.Pane]\r\nImage=s.bmp\r\nLeftWidth=9\r\nTopHeight=4\r\nRightWidth=5\r\nBottomHeight=1\r\n"
      "[Headerbar]\r\nImage=s.bmp\r\nFrame=2\r\n[StatusBarEdges]\r\nImage=s.bmp\r\nFrame=7\r\n"
      "[UpDown.Vert]\r\nImage=s.bmp\r\nGlyphImage=b.bmp\r\n[Scrollbar]\r\nImage=s.bmp\r\n"
      "[MenuItem]\r\nImage=s.bmp\r\nTrans=1\r\n[GroupBoxEdge]\r\nImage=s.bmp\r\n[Personality]\r\nmenuBar=s."
      "bmp\r\n"
      "TileMenu=4\r\nTileLeftMenu=5\r\n[HorzScroll]\r\n[VertScroll]\r\nImage=\r\n");
  files.Bitmap("s.bmp", TBitmap(46, 8)).Bitmap("b.bmp", TBitmap(20, 20, 7));
  ASSERT_TRUE(LoadSkin(m, files));
  ASSERT_NE(m.progress, nullptr);
  EXPECT_EQ(m.progress->style, 1);
  EXPECT_EQ(m.progress->frame, 1);
  EXPECT_EQ(m.progress->Tile, 1);          // bitmap elements turn a large Tile into 1
  EXPECT_EQ(m.progress->Normalcolor, -1);  // and read no colours
  EXPECT_EQ(m.progress->r.Left, 2);
  ASSERT_NE(m.boxlabel, nullptr);
  EXPECT_EQ(m.boxlabel->Alignment, 2);
  EXPECT_EQ(m.boxlabel->LeftShift, -3);
  EXPECT_EQ(m.boxlabel->RightShift, 4);
  EXPECT_EQ(m.boxlabel->frame, 1);
  ASSERT_NE(m.tab, nullptr);
  EXPECT_EQ(m.tab->frame, 5);
  EXPECT_EQ(m.tab->Tile, 0);
  EXPECT_EQ(m.tab->MaskMap.Width(), 20);
  EXPECT_EQ(m.tab->Overcolor2, 0x00030201);
  EXPECT_EQ(m.TabSheet->r, Rect(4, 4, 4, 1));
  EXPECT_EQ(m.Header->frame, 2);
  EXPECT_EQ(m.StatusBar->frame, 3);
  EXPECT_EQ(m.VSpin->frame, 8);
  EXPECT_EQ(m.VSpin->MaskMap.Pixel(0, 0), 7u);
  EXPECT_EQ(m.SArrow->frame, 23);
  EXPECT_EQ(m.MenuItem->frame, 5);
  EXPECT_EQ(m.MenuItem->trans, 1);
  EXPECT_EQ(m.Box->frame, 2);
  ASSERT_NE(m.Menubar, nullptr);
  EXPECT_EQ(m.Menubar->IDName, "Personality");
  EXPECT_EQ(m.Menubar->frame, 2);
  EXPECT_EQ(m.Menubar->Tile, 1);
  EXPECT_EQ(m.Menubar->r, Rect(5, 0, 1, 0));
  EXPECT_EQ(m.HBar, nullptr);  // a section without its image key leaves the element absent
  EXPECT_EQ(m.VBar, nullptr);
}

TEST(SkinLoaderTest, ImageNames) {
  TSkinModel m;
  TSkinFiles files = IniOnly(
      "[MenuItem]\r\nImage=ITEM.BMP\r\n[MenuBackground]\r\nImage=skins\\deep\\item.bmp\r\n"
      "[Scrollbar]\r\nImage=c:item.bmp\r\n[HorzScroll]\r\nImage=missing.bmp\r\n[VertScroll]\r\nImage=item."
      "png\r\n"
      "[Headerbar]\r\nImage=skins/item.bmp\r\n");
  files.Bitmap("item.bmp", TBitmap(5, 5));
  ASSERT_TRUE(LoadSkin(m, files));
  ASSERT_NE(m.MenuItem, nullptr);
  EXPECT_TRUE(m.MenuItem->Map.Empty());  // the extension is compared as written
  EXPECT_EQ(m.MenuitemBG->Map.Width(), 5);
  EXPECT_EQ(m.SArrow->Map.Width(), 5);
  EXPECT_TRUE(m.HBar->Map.Empty());
  EXPECT_TRUE(m.VBar->Map.Empty());
  EXPECT_TRUE(m.Header->Map.Empty());  // '/' is not a directory separator here
}

TEST(SkinLoaderTest, ComboImagesAreBuiltFromSunkEdgeAndComboButton) {
  TSkinModel m;
  TBitmap button = Strip(17, 21, 4, 50);
  button.SetPixel(0, 0, kMagentaPixel);
  TSkinFiles files = IniOnly(
      "[ComboButton]\r\nImage=button.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
      "[SunkEdge]\r\nImage=edge.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
      "[ExtraImages]\r\nImage=extra.bmp\r\n");
  files.Bitmap("button.bmp", button)
      .Bitmap("edge.bmp", Strip(10, 10, 4, 90))
      .Bitmap("extra.bmp", Strip(4, 4, 5, 200));
  ASSERT_TRUE(LoadSkin(m, files));
  const int32_t b = SkinPlatform().HorzScrollArrowWidth() + 2;
  ASSERT_NE(m.combox, nullptr);
  EXPECT_EQ(m.combox->style, 2);
  EXPECT_EQ(m.combox->frame, 4);
  EXPECT_EQ(m.combox->r, Rect(2, 2, b + 2, 2));
  ASSERT_EQ(m.combox->Map.Width(), 200);
  ASSERT_EQ(m.combox->Map.Height(), 21);
  // MaskMap keeps the drop button as the skin gives it, mirrored.
  EXPECT_EQ(m.combox->MaskMap.Width(), 68);
  EXPECT_EQ(m.combox->MaskMap.Pixel(67, 0), kMagentaPixel);
  for (int k = 0; k < 4; ++k) {
    const int32_t x0 = 50 * k;
    EXPECT_EQ(m.combox->Map.Pixel(x0, 0), MakePixel(static_cast<uint8_t>(k + 1), 90, 0))
        << k;                                                         // frame face k
    EXPECT_EQ(m.combox->Map.Pixel(x0 + 10, 10), kMagentaPixel) << k;  // edit area
    EXPECT_EQ(m.combox->Map.Pixel(x0 + 49 - b + 1, 1), MakePixel(static_cast<uint8_t>(k + 1), 50, 0)) << k;
    EXPECT_EQ(m.combox->Map.Pixel(x0 + 50 - b / 2 - 1, 10), MakePixel(static_cast<uint8_t>(k + 1), 200, 0))
        << k;
  }
  ASSERT_NE(m.Comboxborder, nullptr);
  EXPECT_EQ(m.Comboxborder->r, Rect(b + 2, 2, 2, 2));
  TBitmap mirrored = m.combox->Map;
  MirrorBitmap(mirrored);
  EXPECT_EQ(m.Comboxborder->Map, mirrored);
  ASSERT_NE(m.comboxarrow, nullptr);
  EXPECT_EQ(m.comboxarrow->frame, 4);
  ASSERT_EQ(m.comboxarrow->Map.Width(), 68);
  EXPECT_EQ(m.comboxarrow->Map.Height(), 17);
  EXPECT_EQ(m.comboxarrow->Map.Pixel(17 * 2 + 3, 3), m.combox->Map.Pixel(150 - 19 + 3, 2 + 3));
}

TEST(SkinLoaderTest, ComboArrowWithoutSunkEdgeIsTheButtonOnTheFaceColour) {
  TSkinModel m;
  TSkinFiles files = IniOnly("[Colours]\r\nButtonFace=1 2 3\r\n[ComboButton]\r\nImage=button.bmp\r\n");
  files.Bitmap("button.bmp", TBitmap(68, 17, kMagentaPixel));
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.combox->style, 0);
  EXPECT_EQ(m.comboxarrow->frame, 4);
  EXPECT_EQ(m.comboxarrow->Map.Pixel(5, 5), MakePixel(1, 2, 3));
  EXPECT_EQ(m.combox->Map.Pixel(5, 5), kMagentaPixel);
}

TEST(SkinLoaderTest, ReloadReplacesRecordsAndKeepsTheBuiltOnes) {
  TSkinModel m;
  TSkinFiles first = IniOnly("[MenuItem]\r\nImage=s.bmp\r\n[ComboButton]\r\nImage=s.bmp\r\n");
  first.Bitmap("s.bmp", TBitmap(8, 8, 3));
  ASSERT_TRUE(LoadSkin(m, first));
  ASSERT_NE(m.MenuItem, nullptr);
  EXPECT_FALSE(m.comboxarrow->Map.Empty());
  ASSERT_TRUE(LoadSkin(m, IniOnly("[Other]\r\n")));
  EXPECT_EQ(m.MenuItem, nullptr);
  EXPECT_EQ(m.combox, nullptr);
  EXPECT_FALSE(m.comboxarrow->Map.Empty());  // keeps the image it had
}

TEST(SkinLoaderTest, UnreadableSkinsLeaveTheModelEmpty) {
  TSkinModel m;
  TSkinFiles good = IniOnly("[MenuItem]\r\nImage=s.bmp\r\n[TitlebarSkin]\r\nSkinName=Good\r\n");
  good.Bitmap("s.bmp", TBitmap(8, 8, 3));
  ASSERT_TRUE(LoadSkin(m, good));

  // Not an archive at all: Empty, records as they were.
  m.data.Assign({1, 2, 3, 4, 5, 6, 7});
  EXPECT_FALSE(m.LoadArchive());
  EXPECT_TRUE(m.Empty);
  EXPECT_NE(m.MenuItem, nullptr);

  // No INI member: Empty and every record cleared.
  TSkinFiles noIni = good;
  noIni.withIni = false;
  EXPECT_FALSE(LoadSkin(m, noIni));
  EXPECT_TRUE(m.Empty);
  EXPECT_EQ(m.MenuItem, nullptr);
  EXPECT_EQ(m.SkinName, "");

  // A bitmap member cut short.
  ASSERT_TRUE(LoadSkin(m, good));
  TSkinFiles truncated = IniOnly(good.ini);
  std::vector<uint8_t> bmp = TBitmap(8, 8).SaveToBmp();
  bmp.resize(bmp.size() - 10);
  truncated.extra.push_back({"s.bmp", bmp});
  EXPECT_FALSE(LoadSkin(m, truncated));
  EXPECT_TRUE(m.Empty);
  EXPECT_EQ(m.MenuItem, nullptr);
  EXPECT_EQ(m.SysBtn.size(), 0u);

  // An empty data stream.
  m.data.Clear();
  EXPECT_FALSE(m.LoadArchive());
  EXPECT_TRUE(m.Empty);
}

TEST(SkinLoaderTest, AnArchiveOfAnUnknownVersionIsReportedAndLeavesTheModelEmpty) {
  std::vector<uint8_t> archive = BuildSkinArchive({{"skin.ini", Bytes("[TitlebarSkin]\r\nSkinName=x\r\n")}});
  archive[0] = 0x39;  // version 12345
  archive[1] = 0x30;
  archive[2] = 0;
  archive[3] = 0;
  TMemoryStream plain;
  plain.Assign(archive);
  TSkinModel m;
  std::vector<std::string> log;
  m.doLog = [&log](const std::string& line) { log.push_back(line); };
  TLZH().PackBlock(plain, m.data);
  EXPECT_FALSE(m.LoadArchive());
  EXPECT_TRUE(m.Empty);
  EXPECT_EQ(m.SkinName, "");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "This is Older Skin File\rPlease update to new version !");
}

TEST(SkinLoaderTest, ReadbmpOutsideALoadClearsTheBitmap) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(m, IniOnly("")));
  TBitmap b(4, 4);
  m.Readbmp(b, "s.bmp");
  EXPECT_TRUE(b.Empty());
}

TEST(SkinLoaderTest, CaptionColourNeverDividesByZero) {
  TSkinModel m;
  m.border[3].Map = TBitmap(9, 6, MakePixel(1, 2, 3));
  m.border[3].frame = 0;
  EXPECT_EQ(m.GetCaptionColor(), 0x00030201);
  m.border[3].frame = 100;  // images 0 pixels high: the top row
  EXPECT_EQ(m.GetCaptionColor(), 0x00030201);
  m.border[3].Map.Clear();
  m.Colors[3] = 0x00445566;
  EXPECT_EQ(m.GetCaptionColor(), 0x00445566);
}

TEST(SkinLoaderTest, DesignTimeLoadsNothing) {
  class TDesigning : public TSkinModel {
   protected:
    bool IsDesigning() const override { return true; }
  };
  TDesigning m;
  EXPECT_FALSE(LoadSkin(m, IniOnly("")));
  EXPECT_TRUE(m.Empty);
}

TEST(SkinLoaderTest, SchemeColoursHookRunsBeforeTheSkinIsUsable) {
  class TWatching : public TSkinModel {
   public:
    bool sawEmpty = false;
    TColor face = 0;

   protected:
    void SchemeColorsLoaded() override {
      sawEmpty = Empty;
      face = Colors[3];
    }
  };
  TWatching m;
  ASSERT_TRUE(LoadSkin(m, IniOnly("[Colours]\r\nButtonFace=1 2 3\r\n")));
  EXPECT_TRUE(m.sawEmpty);
  EXPECT_EQ(m.face, 0x00030201);
}

}  // namespace
}  // namespace skin::test
