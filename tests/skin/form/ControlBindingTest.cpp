#include "skin/form/ControlBinding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skin {
namespace {

constexpr TSkinSet kAll = (SetOf(kSkinControlTypeCount) - 1) & ~SetOf(xcMenuItem) & ~SetOf(xcForeignForms);

TBindingSkin Skin(TSkinSet controls = kAll, std::vector<std::wstring> skin3rd = {}) {
  TBindingSkin s;
  s.skinControls = controls;
  s.skin3rd = std::move(skin3rd);
  s.hasTabElement = true;
  return s;
}

// A windowed control of class `cls` whose ancestors are `chain` (the class
// itself need not be repeated).
TControlFacts Control(const std::wstring& cls, std::vector<std::wstring> chain = {}) {
  TControlFacts f;
  f.className = cls;
  f.classChain = {cls};
  for (auto& c : chain) f.classChain.push_back(c);
  f.classChain.push_back(L"TWinControl");
  f.classChain.push_back(L"TControl");
  f.windowed = true;
  return f;
}

std::wstring Decide(const TControlFacts& f, const TBindingSkin& s = Skin()) {
  return Describe(DecideControl(f, s));
}

std::wstring Rule(const TControlFacts& f, const TBindingSkin& s = Skin()) {
  return DecideControl(f, s).rule;
}

// ---------------------------------------------------------------- gate

TEST(ControlBindingGate, DisableTagWinsOverEverything) {
  TControlFacts f = Control(L"TButton");
  f.tag = 99;
  f.hasParent = false;
  EXPECT_EQ(GateControl(f, Skin()), TGate::Disabled);
  TBindingSkin other = Skin();
  other.disableTag = 7;
  EXPECT_EQ(GateControl(f, other), TGate::NoParent);
  f.hasParent = true;
  EXPECT_EQ(GateControl(f, other), TGate::Proceed);
  f.bound = true;
  EXPECT_EQ(GateControl(f, other), TGate::Bound);
}

TEST(ControlBindingGate, DisabledRadioAndCheckGroupsPassTheirTagOn) {
  TControlFacts group = Control(L"TRadioGroup", {L"TCustomGroupBox"});
  group.childCount = 3;
  EXPECT_TRUE(DisablesGroupChildren(group));
  TControlFacts foreign = Control(L"TXaCheckGroup");
  foreign.childCount = 1;
  EXPECT_TRUE(DisablesGroupChildren(foreign));
  // No children, no window, or another kind of container: nothing to pass on.
  group.childCount = 0;
  EXPECT_FALSE(DisablesGroupChildren(group));
  foreign.windowed = false;
  EXPECT_FALSE(DisablesGroupChildren(foreign));
  TControlFacts box = Control(L"TGroupBox", {L"TCustomGroupBox"});
  box.childCount = 4;
  EXPECT_FALSE(DisablesGroupChildren(box));
}

// ---------------------------------------------------------------- Skin3rd

TEST(ControlBindingSkin3rd, KindComesFromTheFirstLineOfTheClassIgnoringCase) {
  std::vector<std::wstring> lines{L"TFoo=Panel", L"tfoo=button", L"TBar=Edit"};
  EXPECT_EQ(Skin3rdKind(L"TFOO", lines), L"panel");
  EXPECT_EQ(Skin3rdKind(L"TBAR", lines), L"edit");
  EXPECT_FALSE(Skin3rdKind(L"TBAZ", lines).has_value());
  EXPECT_FALSE(Skin3rdKind(L"TFOO", {}).has_value());
}

TEST(ControlBindingSkin3rd, ALongerClassNameThatBeginsWithTheNameDoesNotMatch) {
  std::vector<std::wstring> lines{L"TXEDITDBLookup=combobox", L"TXEDIT=edit"};
  EXPECT_EQ(Skin3rdKind(L"TXEDIT", lines), L"edit");
  EXPECT_EQ(Skin3rdKind(L"TXEDITDBLOOKUP", lines), L"combobox");
  EXPECT_FALSE(Skin3rdKind(L"TXED", lines).has_value());
}

TEST(ControlBindingSkin3rd, KindWordIsCutAtFiftyCharactersAndKeepsLaterEquals) {
  std::wstring longWord(60, L'a');
  EXPECT_EQ(Skin3rdKind(L"TX", {L"TX=" + longWord}), std::wstring(50, L'a'));
  EXPECT_EQ(Skin3rdKind(L"TX", {L"TX=a=b"}), L"a=b");
  EXPECT_EQ(Skin3rdKind(L"TX", {L"TX="}), L"");
}

TEST(ControlBindingSkin3rd, NilLeavesPlainButtonsUnskinnedThoughTheClassTableWouldMatch) {
  TControlFacts button = Control(L"TButton");
  EXPECT_EQ(Rule(button), L"row 38");
  EXPECT_EQ(Decide(button, Skin(kAll, {L"TButton=nil"})), L"nothing");
  EXPECT_EQ(Rule(button, Skin(kAll, {L"TButton=nil"})), L"kind nil");
}

TEST(ControlBindingSkin3rd, UnknownWordOrUnmetConditionStopsTheSearch) {
  TControlFacts memo = Control(L"TMemo", {L"TCustomMemo", L"TCustomEdit"});
  EXPECT_EQ(Decide(memo, Skin(kAll, {L"TMemo=whatever"})), L"nothing");
  EXPECT_EQ(Decide(memo, Skin(kAll & ~SetOf(xcCombo), {L"TMemo=combobox"})), L"nothing");
  EXPECT_EQ(Decide(memo, Skin(kAll, {L"TMemo=combobox"})), L"TSkinComBox");
}

struct KindRow {
  const wchar_t* word;
  TSkinControlType member;  // the member the word needs; xcForeignForms: none
  const wchar_t* with;      // the decision with every member
};

TEST(ControlBindingSkin3rd, EveryKindWordWithAndWithoutItsMember) {
  const KindRow rows[] = {
      {L"combobox", xcCombo, L"TSkinComBox"},
      {L"comboboxex", xcCombo, L"TSkinComBox with button"},
      {L"radiobutton", xcRadioButton, L"TSkinRadioButton"},
      {L"panel", xcPanel, L"transparent; TSkinBox+colour"},
      {L"trackbar", xcButton, L"transparent; TSkinTrackBar"},
      {L"button", xcButton, L"TSkinButton"},
      {L"datetimepicker", xcCombo, L"TSkinDateTime"},
      {L"mediaplayer", xcButton, L"TSkinMP"},
      {L"bitbtn", xcButton, L"TSkinBitButton"},
      {L"pngbitbtn", xcButton, L"TSkinBitButton pic=PngImage"},
      {L"pngspeedbutton", xcButton, L"TSkinSpeedButton pic=PngImage"},
      {L"menubtn", xcButton, L"TSkinMenuButton"},
      {L"speedbutton", xcSpeedButton, L"TSkinSpeedButton"},
      {L"tab", xcTab, L"TSkinTab"},
      {L"progress", xcProgress, L"TSkinProgress"},
      {L"scrollbar", xcScrollbar, L"TSkinScrollbar; children"},
      {L"singlescrollbar", xcScrollbar, L"TSkinScrollbar kind=1"},
      {L"embedscrollbar", xcScrollbar, L"children's scroll bars"},
      {L"container", xcForeignForms, L"children"},
      {L"groupbox", xcGroupBox, L"TSkinGroupBox+colour"},
      {L"advpagecontrol", xcTab, L"TSkinAdvPage+colour kind=4"},
      {L"checkbox", xcCheckBox, L"TSkinCheckBox"},
  };
  for (const KindRow& r : rows) {
    TControlFacts f = Control(L"TThing");
    std::vector<std::wstring> lines{std::wstring(L"TThing=") + r.word};
    EXPECT_EQ(Decide(f, Skin(kAll, lines)), r.with) << r.word;
    TSkinSet without = kAll & ~SetOf(r.member);
    std::wstring expected = r.member == xcForeignForms ? r.with : L"nothing";
    EXPECT_EQ(Decide(f, Skin(without, lines)), expected) << r.word;
    EXPECT_EQ(Rule(f, Skin(without, lines)), std::wstring(L"kind ") + r.word);
  }
}

TEST(ControlBindingSkin3rd, TabNeedsTheSkinsTabElementToo) {
  TBindingSkin s = Skin(kAll, {L"TThing=tab"});
  s.hasTabElement = false;
  EXPECT_EQ(Decide(Control(L"TThing"), s), L"nothing");
}

TEST(ControlBindingSkin3rd, SpeedButtonsAttachAsGraphicControlsAndScrollBarsAsScrollBars) {
  TBindDecision d = DecideControl(Control(L"TThing"), Skin(kAll, {L"TThing=pngspeedbutton"}));
  ASSERT_NE(d.Object(), nullptr);
  EXPECT_EQ(d.Object()->attach, TAttach::InitGraphicControl);
  d = DecideControl(Control(L"TThing"), Skin(kAll, {L"TThing=singlescrollbar"}));
  ASSERT_NE(d.Object(), nullptr);
  EXPECT_EQ(d.Object()->attach, TAttach::InitScrollbar);
  d = DecideControl(Control(L"TThing"), Skin(kAll, {L"TThing=button"}));
  EXPECT_EQ(d.Object()->attach, TAttach::Init);
}

TEST(ControlBindingSkin3rd, EditOnlyWhenTheControlDrawsABorder) {
  TControlFacts f = Control(L"TXaEdit");
  TBindingSkin s = Skin(kAll, {L"TXaEdit=edit"});
  EXPECT_EQ(Decide(f, s), L"nothing");
  f.framed = true;
  EXPECT_EQ(Decide(f, s), L"TSkinEdit");
  EXPECT_EQ(Decide(f, Skin(kAll & ~SetOf(xcEdit), {L"TXaEdit=edit"})), L"nothing");
}

TEST(ControlBindingSkin3rd, LibraryBsBitButtonWithTheDropDownKindIsAMenuButton) {
  TControlFacts f = Control(L"TXbBitBtn");
  TBindingSkin s = Skin(kAll, {L"TXbBitBtn=bitbtn"});
  EXPECT_EQ(Decide(f, s), L"TSkinBitButton");
  f.kindText = L"xbkDropDown";
  EXPECT_EQ(Decide(f, s), L"TSkinMenuButton");
  f.kindText = L"XBKDROPDOWN";  // the value name is compared exactly
  EXPECT_EQ(Decide(f, s), L"TSkinBitButton");
  // Another class with the same kind text stays a bit button.
  TControlFacts other = Control(L"TOtherBtn");
  other.kindText = L"xbkDropDown";
  EXPECT_EQ(Decide(other, Skin(kAll, {L"TOtherBtn=bitbtn"})), L"TSkinBitButton");
}

TEST(ControlBindingSkin3rd, RadioGroupChildrenByLibrary) {
  TBindingSkin s = Skin(kAll, {L"TXaRadioGroup=radiogroup", L"TMyRadioGroup=radiogroup"});
  EXPECT_EQ(Decide(Control(L"TXaRadioGroup"), s),
            L"each child TSkinObjImage+colour glyphs=2; TSkinGroupBox+colour");
  EXPECT_EQ(Decide(Control(L"TMyRadioGroup"), s), L"each child TSkinRadioButton; TSkinGroupBox+colour");
  s.skinControls = kAll & ~SetOf(xcRadioButton);
  EXPECT_EQ(Decide(Control(L"TMyRadioGroup"), s), L"TSkinGroupBox+colour");
  s.skinControls = kAll & ~SetOf(xcGroupBox);
  EXPECT_EQ(Decide(Control(L"TMyRadioGroup"), s), L"nothing");
}

TEST(ControlBindingSkin3rd, CheckGroupIsGovernedByPanelItsBoxesByRadioButton) {
  TBindingSkin s = Skin(kAll, {L"TXaCheckGroup=checkgroup", L"TMyCheckGroup=checkgroup"});
  EXPECT_EQ(Decide(Control(L"TXaCheckGroup"), s),
            L"each child TSkinObjImage+colour glyphs=1; TSkinGroupBox+colour");
  EXPECT_EQ(Decide(Control(L"TMyCheckGroup"), s), L"each child TSkinCheckBox; TSkinGroupBox+colour");
  // Without xcPanel nothing at all, neither the group nor its children.
  s.skinControls = kAll & ~SetOf(xcPanel);
  EXPECT_EQ(Decide(Control(L"TMyCheckGroup"), s), L"nothing");
  // Without xcCheckBox the boxes are still skinned; without xcRadioButton they are not.
  s.skinControls = kAll & ~SetOf(xcCheckBox);
  EXPECT_EQ(Decide(Control(L"TMyCheckGroup"), s), L"each child TSkinCheckBox; TSkinGroupBox+colour");
  s.skinControls = kAll & ~SetOf(xcRadioButton);
  EXPECT_EQ(Decide(Control(L"TMyCheckGroup"), s), L"TSkinGroupBox+colour");
  s.skinControls = kAll & ~SetOf(xcGroupBox);
  EXPECT_EQ(Decide(Control(L"TMyCheckGroup"), s), L"each child TSkinCheckBox");
}

TEST(ControlBindingSkin3rd, DefaultListDecidesTheForeignClassesBeforeTheirRows) {
  // Library A's check box is both in the default list and in row 15: the list wins.
  TBindingSkin s = Skin(kAll, {L"TXaCheckBox=checkbox"});
  EXPECT_EQ(Decide(Control(L"TXaCheckBox"), s), L"TSkinCheckBox");
  EXPECT_EQ(Decide(Control(L"TXaCheckBox"), Skin()), L"TSkinObjImage+colour glyphs=1");
}

// ---------------------------------------------------------------- class table

struct TableRow {
  int row;
  TControlFacts facts;
  TSkinControlType member;  // xcForeignForms: the row has no condition
  const wchar_t* decision;
};

TControlFacts With(TControlFacts f, void (*adjust)(TControlFacts&)) {
  adjust(f);
  return f;
}

TEST(ControlBindingClassTable, EveryRowWithAndWithoutItsCondition) {
  const TableRow rows[] = {
      {1, Control(L"TPageControl", {L"TCustomTabControl"}), xcTab, L"TSkinTab"},
      {1,
       With(Control(L"TPageControl", {L"TCustomTabControl"}),
            [](TControlFacts& f) { f.tabStyle = L"tsButtons"; }),
       xcTab, L"TSkinTabBtn"},
      {1, Control(L"TTabControl", {L"TCustomTabControl"}), xcTab, L"TSkinTab kind=2"},
      {3, Control(L"TCoolBar"), xcToolbar, L"band colours"},
      {4, Control(L"TTabSet"), xcTab, L"TSkinTab31"},
      {5, Control(L"TTabSheet"), xcTab, L"TSkinTabSheet"},
      {6, Control(L"TTabbedNotebook"), xcTab, L"TSkinTab"},
      {7, Control(L"TMvcPanel"), xcForeignForms, L"children"},
      {8, Control(L"THeaderControl"), xcPanel, L"TSkinHeader"},
      {9, Control(L"TCheckBox", {L"TCustomCheckBox"}), xcCheckBox, L"TSkinCheckBox"},
      {10, Control(L"TTrackBar"), xcTrackBar, L"TSkinTrackBar"},
      {11, Control(L"TUpDown"), xcSpin, L"TSkinUpDown"},
      {11, Control(L"TSpinButton"), xcSpin, L"TSkinUpDown"},
      {12, Control(L"TMediaPlayer"), xcButton, L"TSkinMP"},
      {13, Control(L"TRadioGroup", {L"TCustomGroupBox"}), xcRadioButton,
       L"each child TSkinRadioButton; TSkinGroupBox+colour"},
      {14, Control(L"TDBNavigator"), xcPanel, L"TSkinBox+colour; children without form"},
      {15, Control(L"TXaDBCheckBox"), xcCheckBox, L"TSkinObjImage+colour glyphs=1"},
      {16, Control(L"TXaDBRadioButton"), xcRadioButton, L"TSkinObjImage+colour glyphs=2"},
      {17, Control(L"TXbCheckBox"), xcCheckBox, L"TSkinObjImage+colour glyphs=3"},
      {18, Control(L"TGroupBox", {L"TCustomGroupBox"}), xcPanel, L"children; TSkinGroupBox"},
      {19, Control(L"TRadioButton"), xcRadioButton, L"TSkinRadioButton"},
      {20, Control(L"TToolBar"), xcToolbar, L"flat; tool-bar drawing; TSkinBox; tool-bar menu"},
      {21, Control(L"TStatusBar", {L"TCustomStatusBar"}), xcStatusBar, L"TSkinStatusBar"},
      {22, Control(L"TProgressBar"), xcProgress, L"TSkinProgress"},
      {23, Control(L"TScrollBar"), xcScrollbar, L"TSkinScControl"},
      {24, Control(L"TXbComboBox"), xcCombo, L"TSkinComBox"},
      {25, Control(L"TComboBox", {L"TCustomComboBox"}), xcCombo, L"TSkinComBox"},
      {26, Control(L"TDateTimePicker"), xcEdit, L"TSkinDateTime"},
      {26, With(Control(L"TDateTimePicker"), [](TControlFacts& f) { f.kindText = L"dtkTime"; }), xcEdit,
       L"TSkinEdit"},
      {26, With(Control(L"TDateTimePicker"), [](TControlFacts& f) { f.dateMode = L"dmUpDown"; }), xcEdit,
       L"TSkinEdit"},
      {27, Control(L"TRichEdit", {L"TCustomMemo", L"TCustomEdit"}), xcScrollbar, L"TSkinScrollbar"},
      {28, Control(L"TXaDBMemo"), xcScrollbar, L"TSkinScrollbar"},
      {29, Control(L"TBitBtn", {L"TButton"}), xcBitBtn, L"TSkinBitButton"},
      {30, With(Control(L"TSpeedButton", {L"TGraphicControl"}), [](TControlFacts& f) { f.windowed = false; }),
       xcSpeedButton, L"TSkinSpeedButton"},
      {31, Control(L"TPanel", {L"TCustomPanel"}), xcPanel, L"children; TSkinBox+colour"},
      {32, Control(L"TXaDBGrid"), xcScrollbar, L"TSkinScrollbar"},
      {33, Control(L"TListView", {L"TCustomListView"}), xcScrollbar, L"TSkinListView"},
      {34, Control(L"TCheckListBox", {L"TCustomListBox"}), xcScrollbar, L"TSkinCheckList"},
      {35, Control(L"TMemo", {L"TCustomMemo", L"TCustomEdit"}), xcScrollbar, L"TSkinScrollbar"},
      {36, Control(L"TDBGrid", {L"TCustomGrid"}), xcScrollbar, L"TSkinScrollbar"},
      {37, With(Control(L"TScrollBox"), [](TControlFacts& f) { f.style = kStyleVScroll; }), xcScrollbar,
       L"TSkinScrollbar"},
      {38, Control(L"TButton"), xcButton, L"TSkinButton"},
      {39, Control(L"TEdit", {L"TCustomEdit"}), xcEdit, L"TSkinEdit"},
      {41, Control(L"TFrame", {L"TCustomFrame"}), xcForeignForms, L"owned controls"},
      {42, Control(L"TForm", {L"TCustomForm"}), xcForeignForms, L"TSkinBox+colour; owned controls"},
  };
  for (const TableRow& r : rows) {
    std::wstring label = r.facts.className + L" row " + std::to_wstring(r.row);
    TBindDecision d = DecideControl(r.facts, Skin());
    EXPECT_EQ(Describe(d), r.decision) << label;
    EXPECT_EQ(d.rule, L"row " + std::to_wstring(r.row)) << label;
    if (r.member == xcForeignForms) continue;
    TBindDecision without = DecideControl(r.facts, Skin(kAll & ~SetOf(r.member)));
    // Without its member a row is passed over, or (rows 29 and 40) stops with nothing.
    if (without.rule == d.rule) {
      EXPECT_EQ(Describe(without), L"nothing") << label << " without its member";
    } else {
      EXPECT_NE(Describe(without), r.decision) << label << " without its member";
    }
  }
}

TEST(ControlBindingClassTable, ToolButtonWithDropDownItemOnlyWithTheMenuBar) {
  TControlFacts f = Control(L"TToolButton", {L"TGraphicControl"});
  f.windowed = false;
  EXPECT_EQ(Decide(f), L"nothing");
  f.hasDropDownItem = true;
  EXPECT_EQ(Decide(f), L"nothing");
  TBindingSkin s = Skin();
  s.menuBar = true;
  EXPECT_EQ(Decide(f, s), L"drop-down menu");
  EXPECT_EQ(Rule(f, s), L"row 2");
}

TEST(ControlBindingClassTable, RowsAreTriedInOrder) {
  // A memo is skinned by its scroll bars, never as an edit.
  TControlFacts memo = Control(L"TMemo", {L"TCustomMemo", L"TCustomEdit"});
  EXPECT_EQ(Rule(memo), L"row 35");
  EXPECT_EQ(Rule(memo, Skin(kAll & ~SetOf(xcScrollbar))), L"row 39");
  // A radio group is decided as a radio group before it is a group box.
  TControlFacts radios = Control(L"TRadioGroup", {L"TCustomGroupBox"});
  EXPECT_EQ(Rule(radios), L"row 13");
  EXPECT_EQ(Rule(radios, Skin(kAll & ~SetOf(xcRadioButton))), L"row 18");
  // A page control is decided by row 1, never as a container further down.
  EXPECT_EQ(Rule(Control(L"TPageControl", {L"TCustomTabControl"})), L"row 1");
}

TEST(ControlBindingClassTable, BitButtonWithoutBitBtnStaysUnskinnedEvenWithButton) {
  TControlFacts f = Control(L"TBitBtn", {L"TButton"});
  TBindDecision d = DecideControl(f, Skin(kAll & ~SetOf(xcBitBtn)));
  EXPECT_EQ(d.rule, L"row 29");
  EXPECT_EQ(Describe(d), L"nothing");
}

TEST(ControlBindingClassTable, ButtonEditByItsNumberOfButtons) {
  TControlFacts f = Control(L"TXaButtonEdit");
  f.numButtons = 1;
  EXPECT_EQ(Decide(f), L"TSkinComBox");
  f.numButtons = 0;
  EXPECT_EQ(Decide(f), L"TSkinEdit by Inithwnd");
  EXPECT_EQ(Decide(f, Skin(kAll & ~SetOf(xcEdit))), L"nothing");
  for (int n : {-1, 2, 5}) {
    f.numButtons = n;
    TBindDecision d = DecideControl(f, Skin());
    EXPECT_EQ(d.rule, L"row 40") << n;
    EXPECT_EQ(Describe(d), L"nothing") << n;
  }
}

TEST(ControlBindingClassTable, NeverSkinnedForeignClassStopsBeforeTheTable) {
  TControlFacts f = Control(L"TXaImageViewer", {L"TCustomPanel"});
  EXPECT_EQ(Rule(f), L"never skinned");
  EXPECT_EQ(Decide(f), L"nothing");
  EXPECT_EQ(Decide(f, Skin(kAll, {L"TXaImageViewer=panel"})), L"transparent; TSkinBox+colour");
}

TEST(ControlBindingClassTable, ForeignComboThatIsAFrameworkComboFallsToRow25) {
  TControlFacts f = Control(L"TXbComboBox", {L"TCustomComboBox"});
  EXPECT_EQ(Rule(f), L"row 25");
}

TEST(ControlBindingClassTable, TabRowsNeedTheSkinsTabElement) {
  TBindingSkin s = Skin();
  s.hasTabElement = false;
  EXPECT_EQ(Decide(Control(L"TPageControl", {L"TCustomTabControl"}), s), L"nothing");
  EXPECT_EQ(Decide(Control(L"TTabSheet"), s), L"nothing");
}

TEST(ControlBindingClassTable, TheMainWindowsControls) {
  TBindingSkin s = Skin(kAll, {L"TCategoryButtons=scrollbar", L"TComboboxex=combobox"});
  EXPECT_EQ(Decide(Control(L"TButton"), s), L"TSkinButton");
  EXPECT_EQ(Decide(Control(L"TEdit", {L"TCustomEdit"}), s), L"TSkinEdit");
  EXPECT_EQ(Decide(Control(L"TMemo", {L"TEdit", L"TCustomMemo", L"TCustomEdit"}), s), L"TSkinScrollbar");
  EXPECT_EQ(Decide(Control(L"TDBGrid", {L"TCustomGrid"}), s), L"TSkinScrollbar");
  EXPECT_EQ(Decide(Control(L"TComboBox", {L"TCustomComboBox"}), s), L"TSkinComBox");
  EXPECT_EQ(Decide(Control(L"TGroupBox", {L"TCustomGroupBox"}), s), L"children; TSkinGroupBox");
  EXPECT_EQ(Decide(Control(L"TPageControl", {L"TCustomTabControl"}), s), L"TSkinTab");
  EXPECT_EQ(Decide(Control(L"TTabSheet"), s), L"TSkinTabSheet");
  EXPECT_EQ(Decide(Control(L"TStatusBar", {L"TCustomStatusBar"}), s), L"TSkinStatusBar");
  TControlFacts label = Control(L"TLabel", {L"TGraphicControl"});
  label.windowed = false;
  EXPECT_EQ(Decide(label, s), L"nothing");
  EXPECT_FALSE(DecideControl(label, s).Decided());
  TControlFacts image = Control(L"TImage", {L"TGraphicControl"});
  image.windowed = false;
  EXPECT_EQ(Decide(image, s), L"nothing");
}

TEST(ControlBindingClassTable, NeedsScrollSkin) {
  TControlFacts f = Control(L"TPanel");
  EXPECT_FALSE(NeedsScrollSkin(f));
  f.style = kStyleHScroll;
  EXPECT_TRUE(NeedsScrollSkin(f));
  f.windowed = false;  // a style only counts for a windowed control
  EXPECT_FALSE(NeedsScrollSkin(f));
  EXPECT_TRUE(NeedsScrollSkin(Control(L"TMemo")));
  EXPECT_TRUE(NeedsScrollSkin(Control(L"TListBox", {L"TCustomListBox"})));
  EXPECT_FALSE(NeedsScrollSkin(Control(L"TEdit", {L"TCustomEdit"})));
}

TEST(ControlBindingClassTable, ChildrenOfAnEmbeddedScrollContainer) {
  EXPECT_EQ(Describe(DecideEmbeddedChild(Control(L"TScrollBar"))), L"TSkinScControl");
  TControlFacts scrolled = Control(L"TPanel");
  scrolled.style = kStyleVScroll;
  EXPECT_EQ(Describe(DecideEmbeddedChild(scrolled)), L"TSkinScrollbar");
  EXPECT_FALSE(DecideEmbeddedChild(Control(L"TButton")).Decided());
}

// ---------------------------------------------------------------- bare windows

std::wstring Window(const std::wstring& cls, uint32_t style, const TBindingSkin& s = Skin(),
                    bool child = false) {
  return Describe(DecideWindow({cls, style, child}, s));
}

TEST(ControlBindingWindows, ButtonStyles) {
  const std::pair<uint32_t, const wchar_t*> styles[] = {
      {0x0, L"TSkinButton by Inithwnd"},       // push button
      {0x1, L"TSkinButton by Inithwnd"},       // default push button
      {0x8, L"TSkinButton by Inithwnd"},       // user button
      {0x2, L"TSkinCheckBox by Inithwnd"},     // check box
      {0x3, L"TSkinCheckBox by Inithwnd"},     // automatic check box
      {0x5, L"TSkinCheckBox by Inithwnd"},     // three-state
      {0x6, L"TSkinCheckBox by Inithwnd"},     // automatic three-state
      {0xA, L"TSkinCheckBox by Inithwnd"},     // push box
      {0x4, L"TSkinRadioButton by Inithwnd"},  // radio button
      {0x9, L"TSkinRadioButton by Inithwnd"},  // automatic radio button
      {0x7, L"nothing"},                       // group box
      {0xB, L"nothing"},                       // owner-drawn
      {0x0 | kButtonBitmap, L"nothing"},
      {0x50010000, L"TSkinButton by Inithwnd"},  // child, visible, tab stop: only the type counts
  };
  for (auto [style, expected] : styles) EXPECT_EQ(Window(L"Button", style), expected) << std::hex << style;
}

TEST(ControlBindingWindows, ButtonRulesFollowTheirMembers) {
  TBindingSkin s = Skin(kAll & ~SetOf(xcButton) & ~SetOf(xcCheckBox) & ~SetOf(xcRadioButton));
  for (uint32_t style : {0x0u, 0x2u, 0x4u}) EXPECT_EQ(Window(L"BUTTON", style, s), L"nothing");
  EXPECT_EQ(DecideWindow({L"button", 0x4, false}, s).rule, L"button rule 3");
}

TEST(ControlBindingWindows, ComboBoxes) {
  EXPECT_EQ(Window(L"ComboBox", 0x2), L"TSkinComBox by Inithwnd");
  EXPECT_EQ(Window(L"ComboBox", 0x3), L"TSkinComBox by Inithwnd");
  EXPECT_EQ(Window(L"ComboBox", 0x1), L"nothing");  // CBS_SIMPLE
  EXPECT_EQ(Window(L"ComboBox", 0x2, Skin(kAll & ~SetOf(xcCombo))), L"nothing");
  EXPECT_EQ(Window(L"ComboBoxEx32", 0x2, Skin(), false), L"nothing");
  EXPECT_EQ(Window(L"ComboBoxEx32", 0x2, Skin(), true), L"TSkinComBox on first child by Inithwnd");
}

TEST(ControlBindingWindows, ContainersBindTheirChildren) {
  EXPECT_EQ(Window(L"#32770", 0x40000000), L"child windows; TSkinBoxH by Inithwnd");
  EXPECT_EQ(Window(L"#32770", 0x40000000 | kStyleTabStop), L"nothing");
  EXPECT_EQ(Window(L"TPanel", 0), L"child windows; owner colour");
  EXPECT_EQ(Window(L"TXwPanel", 0), L"child windows; owner colour");
  EXPECT_EQ(Window(L"TSilentPaintPanel", 0), L"owner colour");
  EXPECT_EQ(Window(L"ToolbarWindow32", 0), L"TSkinBoxH by Inithwnd");
}

TEST(ControlBindingWindows, OtherClasses) {
  EXPECT_EQ(Window(L"ScrollBar", 0x3), L"TSkinSizer by Inithwnd");
  EXPECT_EQ(Window(L"ScrollBar", kStyleTabStop), L"nothing");
  EXPECT_EQ(Window(L"SysTreeView32", 0), L"nothing");
  EXPECT_EQ(DecideWindow({L"SysTreeView32", 0, false}, Skin()).rule, L"systreeview32");
  EXPECT_EQ(Window(L"TCheckBox", 0), L"TSkinCheckBox by Inithwnd");
  EXPECT_EQ(Window(L"TComboBox", 0), L"TSkinComBox by Inithwnd");
  EXPECT_EQ(Window(L"TButton", 0), L"TSkinButton by Inithwnd");
  EXPECT_EQ(Window(L"TButton", 0, Skin(kAll & ~SetOf(xcButton))), L"nothing");
  EXPECT_EQ(Window(L"TProgressBar", 0, Skin(0)), L"TSkinProgress by Inithwnd");
  EXPECT_EQ(Window(L"SysTabControl32", 0), L"TSkinTab by Inithwnd");
  EXPECT_EQ(Window(L"SysTabControl32", kTabOwnerDrawFixed), L"nothing");
  EXPECT_EQ(Window(L"Edit", 0x50810080), L"TSkinEdit by Inithwnd");
  EXPECT_EQ(Window(L"Edit", 0, Skin(kAll & ~SetOf(xcEdit))), L"nothing");
  EXPECT_FALSE(DecideWindow({L"Static", 0, false}, Skin()).Decided());
  EXPECT_FALSE(DecideWindow({L"", 0, false}, Skin()).Decided());
}

TEST(ControlBindingDescribe, NamesEveryClass) {
  for (int c = static_cast<int>(TSkinClass::None); c <= static_cast<int>(TSkinClass::MP); ++c) {
    std::wstring name = SkinClassName(static_cast<TSkinClass>(c));
    EXPECT_NE(name, L"?");
    if (c != 0) {
      EXPECT_EQ(name.rfind(L"TSkin", 0), 0u) << name;
    }
  }
}

}  // namespace
}  // namespace skin
