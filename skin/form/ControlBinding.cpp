#include "skin/form/ControlBinding.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace skin {

namespace {

std::wstring Upper(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

template <size_t N>
bool OneOf(const std::wstring& s, const std::array<const wchar_t*, N>& names) {
  return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return s == n; });
}

// The framework's class for each kind of control the class table describes
// by kind rather than by class. Several have no class in our framework yet;
// their rows are kept, in order, for when they come.
constexpr const wchar_t* kToolButton = L"TToolButton";
constexpr const wchar_t* kCoolBar = L"TCoolBar";
constexpr const wchar_t* kHeaderControl = L"THeaderControl";
constexpr std::array<const wchar_t*, 2> kCheckBoxClasses{L"TCustomCheckBox", L"TCheckBox"};
constexpr const wchar_t* kTrackBar = L"TTrackBar";
constexpr std::array<const wchar_t*, 2> kRadioGroupClasses{L"TCustomRadioGroup", L"TRadioGroup"};
constexpr const wchar_t* kRadioButton = L"TRadioButton";
constexpr const wchar_t* kToolBar = L"TToolBar";
constexpr const wchar_t* kProgressBar = L"TProgressBar";
constexpr const wchar_t* kDateTimePicker = L"TDateTimePicker";
constexpr const wchar_t* kBitButton = L"TBitBtn";
constexpr const wchar_t* kSpeedButton = L"TSpeedButton";
constexpr const wchar_t* kListView = L"TCustomListView";
constexpr const wchar_t* kEmbeddedFrame = L"TCustomFrame";

// Classes of other libraries (upper case, as N is compared). Library A's
// classes share the prefix kForeignLibraryAPrefix, library B's
// kForeignLibraryBPrefix.
constexpr std::array<const wchar_t*, 1> kNeverSkinned{L"TXAIMAGEVIEWER"};
constexpr std::array<const wchar_t*, 2> kLibraryACheckBoxes{L"TXADBCHECKBOX", L"TXACHECKBOX"};
constexpr std::array<const wchar_t*, 2> kLibraryARadioButtons{L"TXARADIOBUTTON", L"TXADBRADIOBUTTON"};
constexpr std::array<const wchar_t*, 2> kLibraryBCheckBoxes{L"TXBDBCHECKBOX", L"TXBCHECKBOX"};
constexpr std::array<const wchar_t*, 1> kForeignComboBoxes{L"TXBCOMBOBOX"};
constexpr std::array<const wchar_t*, 2> kForeignRichEditsAndMemos{L"TXADBRICHEDIT", L"TXADBMEMO"};
constexpr std::array<const wchar_t*, 3> kForeignTreeListsAndGrids{L"TXATREELIST", L"TXADBTREELIST",
                                                                  L"TXADBGRID"};
constexpr std::array<const wchar_t*, 2> kForeignButtonEdits{L"TXABUTTONEDIT", L"TXADBBUTTONEDIT"};
// Library B's push button and the value of its "Kind" that makes it a drop-down button.
constexpr const wchar_t* kLibraryBBitButton = L"TXBBITBTN";
constexpr const wchar_t* kLibraryBDropDownKind = L"xbkDropDown";
// Panel window classes of another library's Unicode controls (lower case).
constexpr std::array<const wchar_t*, 2> kForeignPanelWindows{L"txwpanel", L"txwgroupbox"};

bool IsLibraryA(const std::wstring& upperName) {
  return StartsWith(upperName, Upper(kForeignLibraryAPrefix));
}

bool IsAnyOf(const TControlFacts& f, std::initializer_list<const wchar_t*> classes) {
  return std::any_of(classes.begin(), classes.end(), [&](const wchar_t* c) { return f.Is(c); });
}

// The attach call each class takes unless a rule says otherwise.
TAttach DefaultAttach(TSkinClass cls) {
  switch (cls) {
    case TSkinClass::SpeedButton:
      return TAttach::InitGraphicControl;
    case TSkinClass::Scrollbar:
    case TSkinClass::ScControl:
    case TSkinClass::ListView:
    case TSkinClass::CheckList:
      return TAttach::InitScrollbar;
    default:
      return TAttach::Init;
  }
}

TObjectChoice Obj(TSkinClass cls, bool withColour = false) {
  TObjectChoice o;
  o.cls = cls;
  o.withColour = withColour;
  o.attach = DefaultAttach(cls);
  return o;
}

TBindStep Make(TObjectChoice o) {
  return {TBindAction::MakeObject, std::move(o)};
}
TBindStep Each(TObjectChoice o) {
  return {TBindAction::MakeChildObjects, std::move(o)};
}
TBindStep Do(TBindAction action) {
  return {action, {}};
}

TBindDecision Decision(std::wstring rule, std::vector<TBindStep> steps = {}) {
  return {std::move(rule), std::move(steps)};
}

TBindDecision MakeOne(std::wstring rule, TObjectChoice o) {
  return Decision(std::move(rule), {Make(std::move(o))});
}

}  // namespace

const wchar_t* SkinClassName(TSkinClass cls) {
  switch (cls) {
    case TSkinClass::None:
      return L"none";
    case TSkinClass::Button:
      return L"TSkinButton";
    case TSkinClass::BitButton:
      return L"TSkinBitButton";
    case TSkinClass::SpeedButton:
      return L"TSkinSpeedButton";
    case TSkinClass::MenuButton:
      return L"TSkinMenuButton";
    case TSkinClass::CheckBox:
      return L"TSkinCheckBox";
    case TSkinClass::RadioButton:
      return L"TSkinRadioButton";
    case TSkinClass::GroupBox:
      return L"TSkinGroupBox";
    case TSkinClass::Box:
      return L"TSkinBox";
    case TSkinClass::BoxH:
      return L"TSkinBoxH";
    case TSkinClass::ObjImage:
      return L"TSkinObjImage";
    case TSkinClass::Tab:
      return L"TSkinTab";
    case TSkinClass::TabBtn:
      return L"TSkinTabBtn";
    case TSkinClass::TabSheet:
      return L"TSkinTabSheet";
    case TSkinClass::Tab31:
      return L"TSkinTab31";
    case TSkinClass::AdvPage:
      return L"TSkinAdvPage";
    case TSkinClass::Edit:
      return L"TSkinEdit";
    case TSkinClass::ComBox:
      return L"TSkinComBox";
    case TSkinClass::DateTime:
      return L"TSkinDateTime";
    case TSkinClass::UpDown:
      return L"TSkinUpDown";
    case TSkinClass::Scrollbar:
      return L"TSkinScrollbar";
    case TSkinClass::ScControl:
      return L"TSkinScControl";
    case TSkinClass::ListView:
      return L"TSkinListView";
    case TSkinClass::CheckList:
      return L"TSkinCheckList";
    case TSkinClass::StatusBar:
      return L"TSkinStatusBar";
    case TSkinClass::Progress:
      return L"TSkinProgress";
    case TSkinClass::TrackBar:
      return L"TSkinTrackBar";
    case TSkinClass::Header:
      return L"TSkinHeader";
    case TSkinClass::Sizer:
      return L"TSkinSizer";
    case TSkinClass::MP:
      return L"TSkinMP";
  }
  return L"?";
}

const TObjectChoice* TBindDecision::Object() const {
  for (const TBindStep& s : steps)
    if (s.action == TBindAction::MakeObject) return &s.object;
  return nullptr;
}

namespace {

std::wstring DescribeObject(const TObjectChoice& o) {
  std::wstring s = SkinClassName(o.cls);
  if (o.withColour) s += L"+colour";
  if (o.kind != 0) s += L" kind=" + std::to_wstring(o.kind);
  if (o.glyphKind != 0) s += L" glyphs=" + std::to_wstring(o.glyphKind);
  if (!o.picField.empty()) s += L" pic=" + o.picField;
  if (o.hasButton) s += L" with button";
  if (o.onFirstChild) s += L" on first child";
  if (o.attach != DefaultAttach(o.cls)) {
    switch (o.attach) {
      case TAttach::Init:
        s += L" by Init";
        break;
      case TAttach::Inithwnd:
        s += L" by Inithwnd";
        break;
      case TAttach::InitGraphicControl:
        s += L" by InitGraphicControl";
        break;
      case TAttach::InitScrollbar:
        s += L" by InitScrollbar";
        break;
    }
  }
  return s;
}

std::wstring DescribeStep(const TBindStep& step) {
  switch (step.action) {
    case TBindAction::MakeObject:
      return DescribeObject(step.object);
    case TBindAction::MakeChildObjects:
      return L"each child " + DescribeObject(step.object);
    case TBindAction::ChildScrollObjects:
      return L"children's scroll bars";
    case TBindAction::BindChildren:
      return L"children";
    case TBindAction::AddCompChildren:
      return L"children without form";
    case TBindAction::BindOwnedControls:
      return L"owned controls";
    case TBindAction::SetTransparent:
      return L"transparent";
    case TBindAction::SetFlat:
      return L"flat";
    case TBindAction::ToolbarDrawEvents:
      return L"tool-bar drawing";
    case TBindAction::ToolbarMenuItems:
      return L"tool-bar menu";
    case TBindAction::DropDownMenuItem:
      return L"drop-down menu";
    case TBindAction::BandColours:
      return L"band colours";
    case TBindAction::WindowChildren:
      return L"child windows";
    case TBindAction::OwnerColour:
      return L"owner colour";
  }
  return L"?";
}

}  // namespace

std::wstring Describe(const TBindDecision& decision) {
  std::wstring s;
  for (const TBindStep& step : decision.steps) {
    if (!s.empty()) s += L"; ";
    s += DescribeStep(step);
  }
  return s.empty() ? L"nothing" : s;
}

bool TControlFacts::Is(const std::wstring& cls) const {
  return std::find(classChain.begin(), classChain.end(), cls) != classChain.end();
}

std::wstring TControlFacts::UpperName() const {
  return Upper(className);
}

// ---------------------------------------------------------------- framework controls

TGate GateControl(const TControlFacts& facts, const TBindingSkin& skin) {
  if (facts.tag == skin.disableTag) return TGate::Disabled;
  if (!facts.hasParent) return TGate::NoParent;
  if (facts.bound) return TGate::Bound;
  return TGate::Proceed;
}

bool DisablesGroupChildren(const TControlFacts& facts) {
  if (!facts.windowed || facts.childCount < 1) return false;
  std::wstring lower = Lower(facts.className);
  return lower.find(L"radiogroup") != std::wstring::npos || lower.find(L"checkgroup") != std::wstring::npos;
}

std::optional<std::wstring> Skin3rdKind(const std::wstring& upperName,
                                        const std::vector<std::wstring>& lines) {
  // The key ends with "=", so a line for a longer name that merely begins
  // with this one never matches.
  const std::wstring key = Lower(upperName) + L"=";
  for (const std::wstring& line : lines) {
    std::wstring lower = Lower(line);
    if (!StartsWith(lower, key)) continue;
    return lower.substr(lower.find(L'=') + 1, 50);
  }
  return std::nullopt;
}

namespace {

// The children of a radio or check group: library A's take glyph strips
// (whose kind tells check from radio), everyone else's are drawn by the skin.
TObjectChoice GroupChild(const std::wstring& upperName, TSkinClass own, int32_t glyphKind) {
  if (!IsLibraryA(upperName)) return Obj(own);
  TObjectChoice o = Obj(TSkinClass::ObjImage, true);
  o.glyphKind = glyphKind;
  return o;
}

TBindDecision KindDecision(const std::wstring& word, const TControlFacts& f, const TBindingSkin& skin) {
  const std::wstring rule = L"kind " + word;
  auto when = [&](bool condition, std::vector<TBindStep> steps) {
    return condition ? Decision(rule, std::move(steps)) : Decision(rule);
  };
  if (word == L"nil") return Decision(rule);
  if (word == L"combobox") return when(skin.Has(xcCombo), {Make(Obj(TSkinClass::ComBox))});
  if (word == L"comboboxex") {
    TObjectChoice o = Obj(TSkinClass::ComBox);
    o.hasButton = true;
    return when(skin.Has(xcCombo), {Make(o)});
  }
  if (word == L"edit") return when(skin.Has(xcEdit) && f.framed, {Make(Obj(TSkinClass::Edit))});
  if (word == L"radiobutton") return when(skin.Has(xcRadioButton), {Make(Obj(TSkinClass::RadioButton))});
  if (word == L"panel")
    return when(skin.Has(xcPanel), {Do(TBindAction::SetTransparent), Make(Obj(TSkinClass::Box, true))});
  if (word == L"trackbar")
    return when(skin.Has(xcButton), {Do(TBindAction::SetTransparent), Make(Obj(TSkinClass::TrackBar))});
  if (word == L"button") return when(skin.Has(xcButton), {Make(Obj(TSkinClass::Button))});
  if (word == L"datetimepicker") return when(skin.Has(xcCombo), {Make(Obj(TSkinClass::DateTime))});
  if (word == L"mediaplayer") return when(skin.Has(xcButton), {Make(Obj(TSkinClass::MP))});
  if (word == L"bitbtn") {
    bool dropDown = f.UpperName() == kLibraryBBitButton && f.kindText == kLibraryBDropDownKind;
    return when(skin.Has(xcButton), {Make(Obj(dropDown ? TSkinClass::MenuButton : TSkinClass::BitButton))});
  }
  if (word == L"pngbitbtn" || word == L"pngspeedbutton") {
    TObjectChoice o = Obj(word == L"pngbitbtn" ? TSkinClass::BitButton : TSkinClass::SpeedButton);
    o.picField = L"PngImage";
    return when(skin.Has(xcButton), {Make(o)});
  }
  if (word == L"menubtn") return when(skin.Has(xcButton), {Make(Obj(TSkinClass::MenuButton))});
  if (word == L"speedbutton") return when(skin.Has(xcSpeedButton), {Make(Obj(TSkinClass::SpeedButton))});
  if (word == L"tab") return when(skin.TabSkin(), {Make(Obj(TSkinClass::Tab))});
  if (word == L"progress") return when(skin.Has(xcProgress), {Make(Obj(TSkinClass::Progress))});
  if (word == L"scrollbar")
    return when(skin.Has(xcScrollbar), {Make(Obj(TSkinClass::Scrollbar)), Do(TBindAction::BindChildren)});
  if (word == L"singlescrollbar") {
    TObjectChoice o = Obj(TSkinClass::Scrollbar);
    o.kind = 1;
    return when(skin.Has(xcScrollbar), {Make(o)});
  }
  if (word == L"embedscrollbar") return when(skin.Has(xcScrollbar), {Do(TBindAction::ChildScrollObjects)});
  if (word == L"container") return Decision(rule, {Do(TBindAction::BindChildren)});
  if (word == L"groupbox") return when(skin.Has(xcGroupBox), {Make(Obj(TSkinClass::GroupBox, true))});
  if (word == L"advpagecontrol") {
    TObjectChoice o = Obj(TSkinClass::AdvPage, true);
    o.kind = 4;
    return when(skin.Has(xcTab), {Make(o)});
  }
  if (word == L"radiogroup") {
    if (!skin.Has(xcGroupBox)) return Decision(rule);
    std::vector<TBindStep> steps;
    if (skin.Has(xcRadioButton)) steps.push_back(Each(GroupChild(f.UpperName(), TSkinClass::RadioButton, 2)));
    steps.push_back(Make(Obj(TSkinClass::GroupBox, true)));
    return Decision(rule, std::move(steps));
  }
  if (word == L"checkgroup") {
    // Governed by xcPanel, and its check boxes by xcRadioButton, as the
    // skins written for this rule expect.
    if (!skin.Has(xcPanel)) return Decision(rule);
    std::vector<TBindStep> steps;
    if (skin.Has(xcRadioButton)) steps.push_back(Each(GroupChild(f.UpperName(), TSkinClass::CheckBox, 1)));
    if (skin.Has(xcGroupBox)) steps.push_back(Make(Obj(TSkinClass::GroupBox, true)));
    return Decision(rule, std::move(steps));
  }
  if (word == L"checkbox") return when(skin.Has(xcCheckBox), {Make(Obj(TSkinClass::CheckBox))});
  return Decision(rule);
}

}  // namespace

std::optional<TBindDecision> DecideByKind(const TControlFacts& facts, const TBindingSkin& skin) {
  std::optional<std::wstring> word = Skin3rdKind(facts.UpperName(), skin.skin3rd);
  if (!word) return std::nullopt;
  return KindDecision(*word, facts, skin);
}

bool IsNeverSkinned(const std::wstring& upperName) {
  return OneOf(upperName, kNeverSkinned);
}

bool NeedsScrollSkin(const TControlFacts& f) {
  if (f.windowed && (f.style & (kStyleHScroll | kStyleVScroll)) != 0) return true;
  return f.Is(L"TMemo") || f.Is(L"TCustomListBox");
}

TBindDecision DecideClassTable(const TControlFacts& f, const TBindingSkin& skin) {
  const std::wstring n = f.UpperName();
  auto row = [](int number) { return L"row " + std::to_wstring(number); };

  if (f.Is(L"TCustomTabControl") && skin.TabSkin()) {
    if (!f.Is(L"TPageControl")) {
      TObjectChoice o = Obj(TSkinClass::Tab);
      o.kind = 2;
      return MakeOne(row(1), o);
    }
    // A page control that does not publish its style has the default one, tabs.
    bool tabs = f.tabStyle.empty() || f.tabStyle == L"tsTabs";
    return MakeOne(row(1), Obj(tabs ? TSkinClass::Tab : TSkinClass::TabBtn));
  }
  if (f.Is(kToolButton) && f.hasDropDownItem && skin.menuBar)
    return Decision(row(2), {Do(TBindAction::DropDownMenuItem)});
  if (f.Is(kCoolBar) && skin.Has(xcToolbar)) return Decision(row(3), {Do(TBindAction::BandColours)});
  if (n == L"TTABSET" && skin.TabSkin()) return MakeOne(row(4), Obj(TSkinClass::Tab31));
  if (f.Is(L"TTabSheet") && skin.TabSkin()) return MakeOne(row(5), Obj(TSkinClass::TabSheet));
  if (n == L"TTABBEDNOTEBOOK" && skin.TabSkin()) return MakeOne(row(6), Obj(TSkinClass::Tab));
  if (n == L"TMVCPANEL") return Decision(row(7), {Do(TBindAction::BindChildren)});
  if (f.Is(kHeaderControl) && skin.Has(xcPanel)) return MakeOne(row(8), Obj(TSkinClass::Header));
  if (IsAnyOf(f, {kCheckBoxClasses[0], kCheckBoxClasses[1]}) && skin.Has(xcCheckBox))
    return MakeOne(row(9), Obj(TSkinClass::CheckBox));
  if (f.Is(kTrackBar) && skin.Has(xcTrackBar)) return MakeOne(row(10), Obj(TSkinClass::TrackBar));
  if ((n == L"TUPDOWN" || n == L"TSPINBUTTON") && skin.Has(xcSpin))
    return MakeOne(row(11), Obj(TSkinClass::UpDown));
  if (n == L"TMEDIAPLAYER" && skin.Has(xcButton)) return MakeOne(row(12), Obj(TSkinClass::MP));
  if (IsAnyOf(f, {kRadioGroupClasses[0], kRadioGroupClasses[1]}) && skin.Has(xcRadioButton))
    return Decision(row(13), {Each(Obj(TSkinClass::RadioButton)), Make(Obj(TSkinClass::GroupBox, true))});
  if (n == L"TDBNAVIGATOR" && skin.Has(xcPanel))
    return Decision(row(14), {Make(Obj(TSkinClass::Box, true)), Do(TBindAction::AddCompChildren)});
  if (OneOf(n, kLibraryACheckBoxes) && skin.Has(xcCheckBox)) {
    TObjectChoice o = Obj(TSkinClass::ObjImage, true);
    o.glyphKind = 1;
    return MakeOne(row(15), o);
  }
  if (OneOf(n, kLibraryARadioButtons) && skin.Has(xcRadioButton)) {
    TObjectChoice o = Obj(TSkinClass::ObjImage, true);
    o.glyphKind = 2;
    return MakeOne(row(16), o);
  }
  if (OneOf(n, kLibraryBCheckBoxes) && skin.Has(xcCheckBox)) {
    TObjectChoice o = Obj(TSkinClass::ObjImage, true);
    o.glyphKind = 3;
    return MakeOne(row(17), o);
  }
  if (f.Is(L"TCustomGroupBox") && skin.Has(xcPanel))
    return Decision(row(18), {Do(TBindAction::BindChildren), Make(Obj(TSkinClass::GroupBox))});
  if (f.Is(kRadioButton) && skin.Has(xcRadioButton)) return MakeOne(row(19), Obj(TSkinClass::RadioButton));
  if (f.Is(kToolBar) && skin.Has(xcToolbar))
    return Decision(row(20), {Do(TBindAction::SetFlat), Do(TBindAction::ToolbarDrawEvents),
                              Make(Obj(TSkinClass::Box)), Do(TBindAction::ToolbarMenuItems)});
  if (f.Is(L"TCustomStatusBar") && skin.Has(xcStatusBar)) return MakeOne(row(21), Obj(TSkinClass::StatusBar));
  if (f.Is(kProgressBar) && skin.Has(xcProgress)) return MakeOne(row(22), Obj(TSkinClass::Progress));
  if (f.Is(L"TScrollBar") && skin.Has(xcScrollbar)) return MakeOne(row(23), Obj(TSkinClass::ScControl));
  if (OneOf(n, kForeignComboBoxes) && !f.Is(L"TCustomComboBox") && skin.Has(xcCombo))
    return MakeOne(row(24), Obj(TSkinClass::ComBox));
  if (f.Is(L"TCustomComboBox") && skin.Has(xcCombo)) return MakeOne(row(25), Obj(TSkinClass::ComBox));
  if (f.Is(kDateTimePicker) && skin.Has(xcEdit)) {
    bool asEdit = f.dateMode == L"dmUpDown" || f.kindText == L"dtkTime";
    return MakeOne(row(26), Obj(asEdit ? TSkinClass::Edit : TSkinClass::DateTime));
  }
  if (n == L"TRICHEDIT" && skin.Has(xcScrollbar)) return MakeOne(row(27), Obj(TSkinClass::Scrollbar));
  if (OneOf(n, kForeignRichEditsAndMemos) && skin.Has(xcScrollbar))
    return MakeOne(row(28), Obj(TSkinClass::Scrollbar));
  if (f.Is(kBitButton)) {
    // The search stops here either way: a bit button is never a plain button.
    if (!skin.Has(xcBitBtn)) return Decision(row(29));
    return MakeOne(row(29), Obj(TSkinClass::BitButton));
  }
  if (f.Is(kSpeedButton) && skin.Has(xcSpeedButton)) return MakeOne(row(30), Obj(TSkinClass::SpeedButton));
  if (f.Is(L"TCustomPanel") && skin.Has(xcPanel))
    return Decision(row(31), {Do(TBindAction::BindChildren), Make(Obj(TSkinClass::Box, true))});
  if (OneOf(n, kForeignTreeListsAndGrids) && skin.Has(xcScrollbar))
    return MakeOne(row(32), Obj(TSkinClass::Scrollbar));
  if (f.Is(kListView) && skin.Has(xcScrollbar)) return MakeOne(row(33), Obj(TSkinClass::ListView));
  if (n == L"TCHECKLISTBOX" && skin.Has(xcScrollbar)) return MakeOne(row(34), Obj(TSkinClass::CheckList));
  if (f.Is(L"TCustomMemo") && skin.Has(xcScrollbar)) return MakeOne(row(35), Obj(TSkinClass::Scrollbar));
  if (f.Is(L"TCustomGrid") && skin.Has(xcScrollbar)) return MakeOne(row(36), Obj(TSkinClass::Scrollbar));
  if (NeedsScrollSkin(f) && skin.Has(xcScrollbar)) return MakeOne(row(37), Obj(TSkinClass::Scrollbar));
  if (f.Is(L"TButton") && skin.Has(xcButton)) return MakeOne(row(38), Obj(TSkinClass::Button));
  if (f.Is(L"TCustomEdit") && skin.Has(xcEdit)) return MakeOne(row(39), Obj(TSkinClass::Edit));
  if (OneOf(n, kForeignButtonEdits)) {
    // The search stops here whatever the count of buttons says.
    if (f.numButtons == 1 && skin.Has(xcCombo)) return MakeOne(row(40), Obj(TSkinClass::ComBox));
    if (f.numButtons == 0 && skin.Has(xcEdit)) {
      TObjectChoice o = Obj(TSkinClass::Edit);
      o.attach = TAttach::Inithwnd;
      return MakeOne(row(40), o);
    }
    return Decision(row(40));
  }
  if (f.Is(kEmbeddedFrame)) return Decision(row(41), {Do(TBindAction::BindOwnedControls)});
  if (f.Is(L"TCustomForm"))
    return Decision(row(42), {Make(Obj(TSkinClass::Box, true)), Do(TBindAction::BindOwnedControls)});
  return {};
}

TBindDecision DecideControl(const TControlFacts& facts, const TBindingSkin& skin) {
  if (std::optional<TBindDecision> byKind = DecideByKind(facts, skin)) return *byKind;
  if (IsNeverSkinned(facts.UpperName())) return Decision(L"never skinned");
  return DecideClassTable(facts, skin);
}

TBindDecision DecideEmbeddedChild(const TControlFacts& child) {
  if (child.Is(L"TScrollBar")) return MakeOne(L"embedded scroll bar", Obj(TSkinClass::ScControl));
  if (NeedsScrollSkin(child)) return MakeOne(L"embedded scrollable", Obj(TSkinClass::Scrollbar));
  return {};
}

// ---------------------------------------------------------------- bare windows

namespace {

TObjectChoice ByWindow(TSkinClass cls) {
  TObjectChoice o = Obj(cls);
  o.attach = TAttach::Inithwnd;
  return o;
}

}  // namespace

TBindDecision DecideButtonWindow(uint32_t s, const TBindingSkin& skin) {
  auto rule = [](int number) { return L"button rule " + std::to_wstring(number); };
  auto when = [](bool condition, std::wstring r, TSkinClass cls) {
    return condition ? MakeOne(std::move(r), ByWindow(cls)) : Decision(std::move(r));
  };
  // Group boxes (and anything drawn as a bitmap) keep their own look.
  if ((s & 7) == 7 || (s & kButtonBitmap) != 0) return Decision(rule(1));
  if ((s & 3) == 3 || (s & 2) != 0 || (s & 5) == 5)
    return when(skin.Has(xcCheckBox), rule(2), TSkinClass::CheckBox);
  if ((s & 9) == 9 || (s & 4) != 0) return when(skin.Has(xcRadioButton), rule(3), TSkinClass::RadioButton);
  return when(skin.Has(xcButton), rule(4), TSkinClass::Button);
}

TBindDecision DecideWindow(const TWindowFacts& w, const TBindingSkin& skin) {
  const std::wstring c = Lower(w.className);
  const uint32_t s = w.style;
  const bool tabStop = (s & kStyleTabStop) != 0;
  if (c == L"button") {
    if ((s & 0xB) == 0xB) return Decision(L"owner-drawn button");
    return DecideButtonWindow(s, skin);
  }
  if (c == L"combobox" && skin.Has(xcCombo)) {
    if ((s & 3) == 1) return Decision(L"simple combo box");  // no drop-down part to draw
    return MakeOne(L"combobox", ByWindow(TSkinClass::ComBox));
  }
  if (c == L"comboboxex32" && skin.Has(xcCombo)) {
    if (!w.hasChild) return Decision(L"comboboxex32");
    TObjectChoice o = ByWindow(TSkinClass::ComBox);
    o.onFirstChild = true;
    return MakeOne(L"comboboxex32", o);
  }
  if (c == L"scrollbar" && !tabStop) return MakeOne(L"size grip", ByWindow(TSkinClass::Sizer));
  if (c == L"systreeview32") return Decision(L"systreeview32");
  if (c == L"#32770" && !tabStop)
    return Decision(L"dialog", {Do(TBindAction::WindowChildren), Make(ByWindow(TSkinClass::BoxH))});
  if (c == L"tpanel" || OneOf(c, kForeignPanelWindows))
    return Decision(L"panel window", {Do(TBindAction::WindowChildren), Do(TBindAction::OwnerColour)});
  if (c == L"tcheckbox" && skin.Has(xcCheckBox)) return MakeOne(c, ByWindow(TSkinClass::CheckBox));
  if (c == L"tcombobox" && skin.Has(xcCombo)) return MakeOne(c, ByWindow(TSkinClass::ComBox));
  if (c == L"tbutton" && skin.Has(xcButton)) return MakeOne(c, ByWindow(TSkinClass::Button));
  if (c == L"tprogressbar") return MakeOne(c, ByWindow(TSkinClass::Progress));
  if (c == L"tsilentpaintpanel") return Decision(c, {Do(TBindAction::OwnerColour)});
  if (c == L"systabcontrol32" && skin.Has(xcTab) && (s & kTabOwnerDrawFixed) == 0)
    return MakeOne(c, ByWindow(TSkinClass::Tab));
  if (c == L"toolbarwindow32") return MakeOne(c, ByWindow(TSkinClass::BoxH));
  if (c == L"edit" && skin.Has(xcEdit)) return MakeOne(c, ByWindow(TSkinClass::Edit));
  return {};
}

}  // namespace skin
