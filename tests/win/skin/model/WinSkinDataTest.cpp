// The skin data component: defaults, the stored skin read from and written
// to a definition, start-up and switching through the manager, and the
// operations that must do nothing for bad input.
#include "skin/model/WinSkinData.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gui/FormReader.h"
#include "skin/archive/WinSkinStore.h"
#include "skin/form/WinPlatform.h"
#include "skin/model/SkinTestArchive.h"

namespace skin {
namespace {

using test::TSkinFiles;

// A small complete skin: a top border strip and a scheme colour.
std::vector<uint8_t> PackedSkin(const std::string& name = "Test") {
  TSkinFiles files;
  files.ini = "[TitlebarSkin]\nSkinName=" + name + "\n[Personality]\nTop=top.bmp\nTopFrame=2\n";
  files.Bitmap("top.bmp", test::Strip(6, 9, 2));
  TMemoryStream packed;
  test::PackInto(files, packed);
  return packed.Bytes();
}

// The stored value of SkinStream: count, then the bytes.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& archive, int32_t count) {
  TMemoryStream s;
  s.WriteInt32(count);
  if (!archive.empty()) s.WriteBuffer(archive.data(), static_cast<int64_t>(archive.size()));
  return s.Bytes();
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// A definition whose root holds one TSkinData with the given property lines.
std::string Definition(const std::string& lines) {
  return "object Holder: TComponent\n  object SkinData1: TSkinData\n" + lines + "  end\nend\n";
}

class SkinDataTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinComponents();
    // Each test starts with a manager that has seen no window yet.
    FreeSkinManager();
  }
  void TearDown() override { root.reset(); }

  TSkinData& Read(const std::string& lines) {
    root = std::make_unique<fw::TComponent>(nullptr);
    fw::ReadDefinition(*root, Definition(lines));
    return static_cast<TSkinData&>(*root->FindComponent(L"SkinData1"));
  }

  // Lets the manager's timer run for `ms` milliseconds.
  static void Pump(int ms) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - GetTickCount()) > 0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
  }

  std::unique_ptr<fw::TComponent> root;
};

TEST_F(SkinDataTest, Defaults) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_FALSE(InSet(d.SkinControls(), xcMenuItem));
  EXPECT_FALSE(InSet(d.SkinControls(), xcForeignForms));
  for (int m = 0; m < kSkinControlTypeCount; ++m)
    if (m != xcMenuItem && m != xcForeignForms) {
      EXPECT_TRUE(InSet(d.SkinControls(), m)) << m;
    }
  EXPECT_EQ(d.Options(), SetOf(xoPreview) | SetOf(xoToolbarBK) | SetOf(xoCaptionButtonHint));
  EXPECT_EQ(d.SkinFormtype(), sfMainform);
  EXPECT_TRUE(d.MenuUpdate());
  EXPECT_FALSE(d.MenuMerge());
  EXPECT_TRUE(d.SkinFile().empty());
  EXPECT_EQ(fw::GetTextProp(d, L"Version"), L"1.00.00.00");
  EXPECT_EQ(fw::GetTextProp(d, L"SkinStore"), L"(none)");
  fw::SetPropText(d, L"Version", L"9.9");
  EXPECT_EQ(fw::GetTextProp(d, L"Version"), L"1.00.00.00");
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.data.Size(), 0);
  EXPECT_TRUE(d.MenuMsg);
  EXPECT_EQ(d.hintcount, 0);
  EXPECT_EQ(d.Button.IDName, "Buttons");
  EXPECT_EQ(d.Title.IDName, "Title");
  ASSERT_NE(d.bmpmenu, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(d.bmpmenu), 4);
  ASSERT_EQ(d.Skin3rd().size(), 20u);
  EXPECT_EQ(d.Skin3rd()[0], L"TCategoryButtons=scrollbar");
  EXPECT_EQ(d.Skin3rd()[2], L"TControlBar=panel");
  EXPECT_EQ(d.Skin3rd()[4], L"TDBLookupCombobox=combobox");
}

TEST_F(SkinDataTest, StoredSkinIsLoadedWhileReadAndWrittenBackTheSame) {
  std::vector<uint8_t> archive = PackedSkin("Stored");
  std::vector<uint8_t> stored = Stored(archive, static_cast<int32_t>(archive.size()));
  TSkinData& d = Read("    SkinStream = {" + Hex(stored) + "}\n");
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, "Stored");
  EXPECT_EQ(d.border[3].frame, 2);
  EXPECT_EQ(d.data.Bytes(), archive);
  ASSERT_NE(d.BGBrush, nullptr);
  TMemoryStream written;
  d.WriteSkinStream(written);
  EXPECT_EQ(written.Bytes(), stored);
}

TEST_F(SkinDataTest, CountLargerThanTheBytesLeavesItEmpty) {
  std::vector<uint8_t> archive = PackedSkin();
  std::vector<uint8_t> stored = Stored(archive, static_cast<int32_t>(archive.size()) + 1);
  TSkinData* d = nullptr;
  EXPECT_NO_THROW(d = &Read("    Active = True\n    SkinStream = {" + Hex(stored) + "}\n"));
  EXPECT_TRUE(d->Empty);
  EXPECT_EQ(d->data.Size(), 0);
  // No skin: start-up turns Active off.
  EXPECT_FALSE(d->Active());
  // A stored value shorter than its own count field, and a damaged archive, too.
  EXPECT_TRUE(Read("    SkinStream = {0100}\n").Empty);
  archive[archive.size() / 2] ^= 0x5A;
  archive.resize(archive.size() - 3);
  EXPECT_TRUE(
      Read("    SkinStream = {" + Hex(Stored(archive, static_cast<int32_t>(archive.size()))) + "}\n").Empty);
}

TEST_F(SkinDataTest, ZeroOrNegativeCountMeansNoSkin) {
  EXPECT_TRUE(Read("    SkinStream = {00000000}\n").Empty);
  EXPECT_TRUE(Read("    SkinStream = {FFFFFFFF0102}\n").Empty);
  TMemoryStream written;
  static_cast<TSkinData&>(*root->FindComponent(L"SkinData1")).WriteSkinStream(written);
  EXPECT_EQ(written.Bytes(), Stored({}, 0));
}

TEST_F(SkinDataTest, StartUpSwitchesSkinningOnThroughTheManagerTimer) {
  std::vector<uint8_t> archive = PackedSkin();
  int changed = 0;
  TSkinData& d = Read(
      "    Active = True\n    Options = [xoPreview, xoToolbarBK, xoCaptionButtonHint]\n    SkinFormtype = "
      "sfMainform\n"
      "    SkinStore = '(Good)'\n    SkinStream = {" +
      Hex(Stored(archive, static_cast<int32_t>(archive.size()))) + "}\n");
  d.OnSkinChanged.handler = [&](fw::TObject*) { ++changed; };
  EXPECT_TRUE(d.Active());
  EXPECT_FALSE(d.Empty);
  auto* manager = static_cast<TSkinManage*>(SkinManager());
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->HookInstalled());
  // No window has been activated yet: skinning is on at once, and windows
  // are adopted as they are activated; no timer runs.
  EXPECT_EQ(manager->PendingAction(), saSkinAll);
  EXPECT_FALSE(manager->TimerRunning());
  EXPECT_EQ(d.Automation(L"skin"), L"empty=0;active=1;manager=1");
  Pump(400);
  EXPECT_EQ(manager->state, 0);
  EXPECT_EQ(changed, 0);
  // Once running, switching off is scheduled on the timer.
  manager->state = 1;
  d.SetActive(false);
  EXPECT_EQ(manager->UpdateData, &d);
  EXPECT_TRUE(manager->TimerRunning());
  EXPECT_TRUE(manager->active);
  Pump(400);
  EXPECT_FALSE(manager->active);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(manager->UpdateData, nullptr);
  // A component being destroyed is forgotten by the manager.
  d.SetActive(true);
  root.reset();
  EXPECT_EQ(manager->UpdateData, nullptr);
  EXPECT_EQ(manager->PendingAction(), saNone);
  for (TSkinData* registered : manager->Dlist()) EXPECT_NE(registered, &d);
}

TEST_F(SkinDataTest, StartUpAdjustsTheMenuKinds) {
  TSkinData& withMain = Read("");
  EXPECT_FALSE(InSet(withMain.SkinControls(), xcMenuItem));
  EXPECT_TRUE(InSet(withMain.SkinControls(), xcSystemMenu));
  TSkinData& withoutMain = Read("    SkinControls = [xcPopupMenu, xcMenuItem, xcSystemMenu]\n");
  EXPECT_EQ(withoutMain.SkinControls(), SetOf(xcPopupMenu) | SetOf(xcMenuItem));
  EXPECT_EQ(fw::GetTextProp(withoutMain, L"SkinControls"), L"[xcPopupMenu, xcMenuItem]");
}

TEST_F(SkinDataTest, WithoutGetScrollBarInfoScrollBarsAreNotSkinned) {
  TWinPlatformFunctions older;
  OverrideWinPlatformFunctions(&older);
  TSkinData& d = Read("");
  OverrideWinPlatformFunctions(nullptr);
  EXPECT_FALSE(InSet(d.SkinControls(), xcScrollbar));
  SCROLLBARINFO info{};
  OverrideWinPlatformFunctions(&older);
  EXPECT_FALSE(d.GetScrollBarInfo(GetDesktopWindow(), OBJID_VSCROLL, info));
  OverrideWinPlatformFunctions(nullptr);
}

TEST_F(SkinDataTest, UnknownSetMembersAreRefusedNamingTheLine) {
  try {
    Read("    Options = [xoPreview, xoNoSuchThing]\n");
    FAIL() << "accepted an unknown option";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("xoNoSuchThing"), std::string::npos);
  }
}

TEST_F(SkinDataTest, LoadFromCollectionIgnoresIndexesOutsideTheStore) {
  TSkinData d(nullptr);
  TSkinStore store(nullptr);
  std::vector<uint8_t> first = PackedSkin("First"), second = PackedSkin("Second");
  store.Store().Add().Data().Assign(first);
  store.Store().Add().Data().Assign(second);
  d.LoadFromCollection(&store, 1);
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, "Second");
  for (int bad : {-1, 2, 100}) {
    d.LoadFromCollection(&store, bad);
    EXPECT_FALSE(d.Empty) << bad;
    EXPECT_EQ(d.SkinName, "Second") << bad;
    EXPECT_EQ(d.data.Bytes(), second) << bad;
  }
  d.LoadFromCollection(nullptr, 0);
  EXPECT_EQ(d.SkinName, "Second");
  // The item's own position is kept.
  store.Store().Item(0).Data().SetPosition(5);
  d.LoadFromCollection(&store, 0);
  EXPECT_EQ(d.SkinName, "First");
  EXPECT_EQ(store.Store().Item(0).Data().Position(), 5);
}

TEST_F(SkinDataTest, LoadFromStreamAndFile) {
  TSkinData d(nullptr);
  TMemoryStream source;
  std::vector<uint8_t> archive = PackedSkin("Streamed");
  source.Assign(archive);
  source.SetPosition(7);  // read from its start whatever the position
  d.LoadFromStream(source);
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, "Streamed");
  // A file that does not exist changes only Empty and the name.
  d.LoadFromFile(L"Z:\\no\\such\\skin.skn");
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.SkinFile(), L"Z:\\no\\such\\skin.skn");
  EXPECT_EQ(d.SkinName, "Streamed");
}

TEST_F(SkinDataTest, SmallOperations) {
  EXPECT_EQ(TSkinData::GetFileName(L"blue.skin.bak"), L"blue");
  EXPECT_EQ(TSkinData::GetFileName(L".hidden"), L"");
  EXPECT_EQ(TSkinData::GetFileName(L"nodot"), L"");
  TSkinData d(nullptr);
  d.ColorPreset = {0x112233, 0x445566};
  TColor c = 7;
  EXPECT_FALSE(d.GetPrecolor(c, 2));
  EXPECT_FALSE(d.GetPrecolor(c, -1));
  EXPECT_EQ(c, 7);
  EXPECT_TRUE(d.GetPrecolor(c, 1));
  EXPECT_EQ(c, 0x445566);
  std::vector<std::wstring> log;
  d.DoDebug(L"lost");
  d.DebugList = &log;
  d.DoDebug(L"kept");
  EXPECT_EQ(log, std::vector<std::wstring>{L"kept"});
}

TEST_F(SkinDataTest, FormFilterComparesTheForeignPrefixCaseSensitively) {
  TSkinData d(nullptr);
  bool doSkin = true;
  d.DoFormSkin(nullptr, L"SysMonthCal32", doSkin);
  EXPECT_FALSE(doSkin);
  doSkin = true;
  d.DoFormSkin(nullptr, std::wstring(kForeignFormPrefix) + L"Main", doSkin);
  EXPECT_TRUE(doSkin);  // xcForeignForms is not set
  d.SetSkinControls(d.SkinControls() | SetOf(xcForeignForms));
  d.DoFormSkin(nullptr, std::wstring(kForeignFormPrefix) + L"Main", doSkin);
  EXPECT_FALSE(doSkin);
  doSkin = true;
  d.DoFormSkin(nullptr, L"txaformMain", doSkin);
  EXPECT_TRUE(doSkin);
  d.OnFormSkin = [](fw::TObject*, const std::wstring& name, bool& skin) { skin = name == L"Mine"; };
  d.DoFormSkin(nullptr, L"SysMonthCal32", doSkin);
  EXPECT_FALSE(doSkin);
  doSkin = false;
  d.DoFormSkin(nullptr, L"Mine", doSkin);
  EXPECT_TRUE(doSkin);
}

TEST_F(SkinDataTest, HintShowsOnceAndHidesOnce) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.IsHint());
  d.HideHint();
  EXPECT_FALSE(d.IsHint());
  d.ActivateHint(RECT{10, 10, 40, 30}, L"关闭");
  EXPECT_TRUE(d.IsHint());
  d.ActivateHint(RECT{50, 50, 60, 60}, L"最小化");
  EXPECT_TRUE(d.IsHint());
  d.HideHint();
  EXPECT_FALSE(d.IsHint());
  d.SetOptions(SetOf(xoPreview));
  d.ActivateHint(RECT{10, 10, 40, 30}, L"关闭");
  EXPECT_FALSE(d.IsHint());
}

TEST_F(SkinDataTest, CaptionFontAndChangeProperty) {
  TSkinData& d = Read("");
  ASSERT_NE(d.CaptionFont, nullptr);
  LOGFONTW font{};
  EXPECT_GT(GetObjectW(d.CaptionFont, sizeof(font), &font), 0);
  TSkinData target(nullptr);
  TSkinData::ChangeProperty(&target, L"SkinFormtype", L"sfDialog");
  EXPECT_EQ(target.SkinFormtype(), sfDialog);
  TSkinData::ChangeProperty(&target, L"SkinFormtype", L"sfNoSuch");
  EXPECT_EQ(target.SkinFormtype(), sfDialog);
  TSkinData::ChangeProperty(&target, L"DisableTag", L"5");  // not an enumeration
  EXPECT_EQ(target.DisableTag(), 99);
  TSkinData::ChangeProperty(nullptr, L"SkinFormtype", L"sfDLL");
}

}  // namespace
}  // namespace skin
