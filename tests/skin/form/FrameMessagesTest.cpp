#include "skin/form/FrameMessages.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

// A 300 x 200 window with a 4-pixel frame, a 24-pixel caption band and a
// 20-pixel menu band: client rows 44..195, columns 4..295.
TFrameGeometry Frame(int32_t menuHeight = 20) {
  return TFrameGeometry{Rect(4, 24, 4, 4), menuHeight, 300, 200};
}

TEST(FrameMessagesTest, HitTestKeepsEverySystemAnswerButNowhereAndCaption) {
  for (int answer : {kHitClient, kHitMenu, kHitBorder, 10 /*left*/, 12 /*top*/, 17 /*bottom right*/})
    EXPECT_EQ(SkinnedHitTest(answer, 50, 10, Frame()), answer) << answer;
}

TEST(FrameMessagesTest, HitTestHasNoSystemCaptionButtons) {
  // Where the system would put its own buttons the skin draws caption or its own buttons.
  for (int answer : {kHitSysMenu, kHitMinButton, kHitMaxButton, kHitClose, kHitHelp}) {
    EXPECT_EQ(SkinnedHitTest(answer, 280, 10, Frame()), kHitCaption) << answer;
    EXPECT_EQ(SkinnedHitTest(answer, 280, 2, Frame()), kHitCaption) << answer;
    EXPECT_EQ(SkinnedHitTest(answer, 10, 30, Frame()), kHitMenu) << answer;
  }
}

TEST(FrameMessagesTest, HitTestGivesTheSkinnedBands) {
  for (int answer : {kHitNowhere, kHitCaption}) {
    // The caption band, a caption button included.
    EXPECT_EQ(SkinnedHitTest(answer, 150, 4, Frame()), kHitCaption);
    EXPECT_EQ(SkinnedHitTest(answer, 280, 23, Frame()), kHitCaption);
    // The menu band starts on the caption band's first row below.
    EXPECT_EQ(SkinnedHitTest(answer, 150, 24, Frame()), kHitMenu);
    EXPECT_EQ(SkinnedHitTest(answer, 150, 43, Frame()), kHitMenu);
    // Side and bottom borders below the bands are border, not a drag handle.
    EXPECT_EQ(SkinnedHitTest(answer, 0, 100, Frame()), kHitBorder);
    EXPECT_EQ(SkinnedHitTest(answer, 3, 100, Frame()), kHitBorder);
    EXPECT_EQ(SkinnedHitTest(answer, 296, 100, Frame()), kHitBorder);
    EXPECT_EQ(SkinnedHitTest(answer, 150, 196, Frame()), kHitBorder);
    EXPECT_EQ(SkinnedHitTest(answer, 150, 100, Frame()), kHitClient);
  }
}

TEST(FrameMessagesTest, HitTestLeavesTheOuterRowsAndOutsideToTheSystem) {
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 150, 0, Frame()), kHitNowhere);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 150, 3, Frame()), kHitNowhere);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 150, 4, Frame()), kHitCaption);
  EXPECT_EQ(SkinnedHitTest(kHitCaption, 150, 2, Frame()), kHitCaption);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, -1, 50, Frame()), kHitNowhere);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 150, 200, Frame()), kHitNowhere);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 300, 50, Frame()), kHitNowhere);
}

TEST(FrameMessagesTest, HitTestWithoutMenuBarHasNoMenuBand) {
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 150, 30, Frame(0)), kHitClient);
  EXPECT_EQ(SkinnedHitTest(kHitNowhere, 2, 30, Frame(0)), kHitBorder);
}

TEST(FrameMessagesTest, ClientRectSitsInsideTheBordersAndTheMenuBand) {
  EXPECT_EQ(SkinnedClientRect(100, 50, 300, 200, Rect(4, 24, 5, 6), 20), Rect(104, 94, 395, 244));
  EXPECT_EQ(SkinnedClientRect(0, 0, 300, 200, Rect(4, 24, 5, 6), 0), Rect(4, 24, 295, 194));
  // Negative positions (a window partly off the screen) shift the same way.
  EXPECT_EQ(SkinnedClientRect(-50, -10, 100, 100, Rect(2, 10, 2, 2), 0), Rect(-48, 0, 48, 88));
}

TEST(FrameMessagesTest, ClientRectOfAWindowSmallerThanItsFrameIsEmptyNotInverted) {
  TRect r = SkinnedClientRect(10, 10, 6, 30, Rect(4, 24, 4, 4), 20);
  EXPECT_EQ(r.Width(), 0);
  EXPECT_EQ(r.Height(), 0);
  EXPECT_EQ(r.Left, 14);
  EXPECT_EQ(r.Top, 54);
}

TEST(FrameMessagesTest, KeyMenuRequests) {
  EXPECT_EQ(KeyMenuRequest(0, false), TKeyMenuRequest::MenuBarFirst);
  EXPECT_EQ(KeyMenuRequest(L'f', false), TKeyMenuRequest::MenuBarKey);
  EXPECT_EQ(KeyMenuRequest(L' ', false), TKeyMenuRequest::SystemMenu);
  EXPECT_EQ(KeyMenuRequest(L' ', true), TKeyMenuRequest::SystemMenu);
  EXPECT_EQ(KeyMenuRequest(L'-', false), TKeyMenuRequest::Default);
  // While something holds the mouse, Alt and Alt+letter are the system's.
  EXPECT_EQ(KeyMenuRequest(0, true), TKeyMenuRequest::Default);
  EXPECT_EQ(KeyMenuRequest(L'f', true), TKeyMenuRequest::Default);
}

TEST(FrameMessagesTest, SysCommandCodeDropsTheSystemsLowBits) {
  EXPECT_EQ(SysCommandCode(0xF012), kScMove);
  EXPECT_EQ(SysCommandCode(0xF100), kScKeyMenu);
  EXPECT_EQ(SysCommandCode(0x1F061), kScClose);
}

TEST(FrameMessagesTest, WindowStateBookkeeping) {
  EXPECT_EQ(WindowStateAfterSysCommand(kScMinimize), 2);
  EXPECT_EQ(WindowStateAfterSysCommand(kScMaximize), 1);
  EXPECT_EQ(WindowStateAfterSysCommand(kScRestore), 0);
  EXPECT_EQ(WindowStateAfterSysCommand(kScClose), -1);
  EXPECT_EQ(WindowStateAfterSysCommand(kScMove), -1);
  EXPECT_EQ(WindowStateFromSizeKind(0), 0);
  EXPECT_EQ(WindowStateFromSizeKind(1), 2);
  EXPECT_EQ(WindowStateFromSizeKind(2), 1);
  EXPECT_EQ(WindowStateFromSizeKind(3), -1);  // SIZE_MAXSHOW: another window's news
  EXPECT_EQ(WindowStateFromSizeKind(4), -1);
}

TEST(FrameMessagesTest, OnlyTheWindowCommandsAreForwardedFromWmCommand) {
  for (uint32_t id :
       {kScSize, kScMove, kScMinimize, kScMaximize, kScNextWindow, kScPrevWindow, kScClose, kScRestore})
    EXPECT_TRUE(IsForwardedSysCommand(id)) << id;
  // Menu items of the program have small identifiers; the key menu is not a popup item.
  for (uint32_t id : {0u, 1u, 7u, 4095u, kScKeyMenu, kScContextHelp, 0xF061u})
    EXPECT_FALSE(IsForwardedSysCommand(id)) << id;
}

TEST(FrameMessagesTest, DoubleClickOnTheFrame) {
  EXPECT_EQ(FrameDoubleClick(3, 0, true), TFrameDoubleClick::Close);
  EXPECT_EQ(FrameDoubleClick(11, 1, false), TFrameDoubleClick::Close);
  EXPECT_EQ(FrameDoubleClick(2, 0, true), TFrameDoubleClick::Nothing);
  EXPECT_EQ(FrameDoubleClick(0, 0, true), TFrameDoubleClick::Nothing);
  EXPECT_EQ(FrameDoubleClick(kNoButton, 0, true), TFrameDoubleClick::Maximize);
  EXPECT_EQ(FrameDoubleClick(kNoButton, 0, false), TFrameDoubleClick::Default);
  EXPECT_EQ(FrameDoubleClick(kNoButton, 1, true), TFrameDoubleClick::Restore);
  EXPECT_EQ(FrameDoubleClick(kNoButton, 2, false), TFrameDoubleClick::Restore);
}

TEST(FrameMessagesTest, DoubleClickTimeAcrossTheTickCountWrap) {
  EXPECT_TRUE(WithinDoubleClick(1500, 1000, 500));
  EXPECT_FALSE(WithinDoubleClick(1501, 1000, 500));
  EXPECT_TRUE(WithinDoubleClick(100, 0xFFFFFF00u, 500));
  EXPECT_FALSE(WithinDoubleClick(1000, 0xFFFFFF00u, 500));
}

TEST(FrameMessagesTest, SysMenuItemsFollowTheWindowNotTheStaleSystemState) {
  TSysMenuWindow normal{0, true, false, false};
  // Our main window: minimisable, not maximisable, not sizeable.
  EXPECT_EQ(SysMenuItemLook(kScRestore, normal, 0), (TSysMenuItemLook{0, false, false}));
  EXPECT_EQ(SysMenuItemLook(kScMove, normal, 0), (TSysMenuItemLook{-1, true, false}));
  EXPECT_EQ(SysMenuItemLook(kScSize, normal, 0), (TSysMenuItemLook{-1, false, false}));
  EXPECT_EQ(SysMenuItemLook(kScMinimize, normal, 3), (TSysMenuItemLook{2, true, false}));
  EXPECT_EQ(SysMenuItemLook(kScMaximize, normal, 0), (TSysMenuItemLook{1, false, false}));
  EXPECT_EQ(SysMenuItemLook(kScClose, normal, 0), (TSysMenuItemLook{3, true, false}));

  TSysMenuWindow maxed{1, true, true, true};
  EXPECT_EQ(SysMenuItemLook(kScRestore, maxed, 3), (TSysMenuItemLook{0, true, false}));
  EXPECT_FALSE(SysMenuItemLook(kScMove, maxed, 0).enabled);
  EXPECT_FALSE(SysMenuItemLook(kScSize, maxed, 0).enabled);
  EXPECT_FALSE(SysMenuItemLook(kScMaximize, maxed, 0).enabled);
  EXPECT_TRUE(SysMenuItemLook(kScMinimize, maxed, 0).enabled);

  TSysMenuWindow minimized{2, true, true, true};
  EXPECT_FALSE(SysMenuItemLook(kScMinimize, minimized, 0).enabled);
  EXPECT_TRUE(SysMenuItemLook(kScMaximize, minimized, 0).enabled);
  EXPECT_FALSE(SysMenuItemLook(kScSize, minimized, 0).enabled);
  EXPECT_TRUE(SysMenuItemLook(kScSize, TSysMenuWindow{0, false, false, true}, 0).enabled);
}

TEST(FrameMessagesTest, CloseAndOtherItemsFollowTheSystemMenu) {
  TSysMenuWindow w{0, true, true, true};
  // MFS_GRAYED and MFS_DISABLED (both 3), and either bit alone, disable.
  for (uint32_t grayed : {3u, 1u, 2u, 3u | 8u}) {
    EXPECT_FALSE(SysMenuItemLook(kScClose, w, grayed).enabled) << grayed;
    EXPECT_FALSE(SysMenuItemLook(0x1234, w, grayed).enabled) << grayed;
  }
  EXPECT_EQ(SysMenuItemLook(0x1234, w, 8), (TSysMenuItemLook{-1, true, true}));
  EXPECT_EQ(SysMenuItemLook(0x1234, w, 0x80 /*hilite*/), (TSysMenuItemLook{-1, true, false}));
  EXPECT_TRUE(SysMenuItemLook(kScMinimize, w, 8).checked);
}

TEST(FrameMessagesTest, SysMenuItemText) {
  EXPECT_EQ(SysMenuItemText(L""), L"-");
  EXPECT_EQ(SysMenuItemText(L"&Close\tAlt+F4"), L"&Close\tAlt+F4");
  EXPECT_EQ(SysMenuItemText(std::wstring(100, L'x')), std::wstring(80, L'x'));
  EXPECT_EQ(SysMenuItemText(std::wstring(80, L'y')), std::wstring(80, L'y'));
}

TEST(FrameMessagesTest, AcceleratorsCompareWithoutCase) {
  EXPECT_TRUE(SameAccelerator(L'f', L'F'));
  EXPECT_TRUE(SameAccelerator(L'F', L'f'));
  EXPECT_TRUE(SameAccelerator(L'7', L'7'));
  EXPECT_FALSE(SameAccelerator(L'f', L'g'));
  // No accelerator matches nothing, not even a zero key.
  EXPECT_FALSE(SameAccelerator(0, 0));
  EXPECT_TRUE(SameAccelerator(L'菜', L'菜'));
}

}  // namespace
}  // namespace skin::test
