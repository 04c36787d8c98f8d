// Which skinned-control object a control or a bare window gets, portable.
//
// The form skinner describes each framework control (TControlFacts) or bare
// child window (TWindowFacts) together with the skin's settings
// (TBindingSkin); the functions here decide and return the decision as a
// short list of steps (make this object, bind the children first, ...),
// which the skinner then carries out on the real windows. Keeping the rules
// here, away from any window, lets every row be checked on its own.
//
// Framework controls are decided in this order: the Tag that switches
// skinning off and controls already bound (GateControl), then, after the
// application's own event has had its say, the Skin3rd list of classes of
// other libraries (DecideByKind), the classes of other libraries that are
// never skinned, and finally the class table (DecideClassTable). The first
// rule that applies decides, even when its decision is "nothing".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/model/SkinSets.h"

namespace skin {

// The skinned-control classes a decision can name. Not all of them exist
// yet; a control decided for one that does not keeps its own look.
enum class TSkinClass {
  None,
  Button,
  BitButton,
  SpeedButton,
  MenuButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Box,
  BoxH,
  ObjImage,
  Tab,
  TabBtn,
  TabSheet,
  Tab31,
  AdvPage,
  Edit,
  ComBox,
  DateTime,
  UpDown,
  Scrollbar,
  ScControl,
  ListView,
  CheckList,
  StatusBar,
  Progress,
  TrackBar,
  Header,
  Sizer,
  MP,
};
// "TSkinButton" and so on.
const wchar_t* SkinClassName(TSkinClass cls);

// How an object is attached to what it skins.
enum class TAttach {
  Init,                // a framework control, through its message handler
  Inithwnd,            // a window, through its window procedure
  InitGraphicControl,  // a windowless framework control (speed buttons)
  InitScrollbar,       // the scroll-bar family
};

struct TObjectChoice {
  TSkinClass cls = TSkinClass::None;
  bool withColour = false;  // the control's colour becomes ButtonFace while skinned
  TAttach attach = TAttach::Init;
  int32_t kind = 0;           // the object's kind, set before attaching
  int32_t glyphKind = 0;      // TSkinObjImage: which glyph strip it hands over
  std::wstring picField;      // a picture property drawn instead of the glyph
  bool hasButton = false;     // a combo box drawn with its drop button
  bool onFirstChild = false;  // attached to the window's first child window instead
  bool operator==(const TObjectChoice&) const = default;
};

enum class TBindAction {
  MakeObject,          // `object` for the control (or window) itself
  MakeChildObjects,    // `object` for every child control
  ChildScrollObjects,  // every child: a scroll-bar control or a scrollable one gets its scroll skin
  BindChildren,        // the binding of every child control
  AddCompChildren,     // the binding of every child control, with no form handed on
  BindOwnedControls,   // the binding of every control the control owns
  SetTransparent,      // published "Transparent" := "True"
  SetFlat,             // published "Flat" := "True"
  ToolbarDrawEvents,   // the tool bar's custom-draw events, unless the application set its own
  ToolbarMenuItems,    // the top-level items of the tool bar's menu drawn by the skin
  DropDownMenuItem,    // the tool-bar button's drop-down menu item drawn by the skin
  BandColours,         // every band of a cool bar gets ButtonFace
  WindowChildren,      // the binding of the bare window's child windows
  OwnerColour,         // the framework control behind the window gets Color := ButtonFace
};

struct TBindStep {
  TBindAction action;
  TObjectChoice object;  // for MakeObject and MakeChildObjects
  bool operator==(const TBindStep&) const = default;
};

struct TBindDecision {
  std::wstring rule;  // what decided, for tests and diagnostics: "row 38", "kind button", "button rule 4"
  std::vector<TBindStep> steps;
  bool Decided() const { return !rule.empty(); }
  // The object made for the control itself, if any.
  const TObjectChoice* Object() const;
};

// Steps in a few words, "children; TSkinGroupBox", for tests and logs.
std::wstring Describe(const TBindDecision& decision);

// Window styles the rules test (the platform's values).
inline constexpr uint32_t kStyleHScroll = 0x00100000;
inline constexpr uint32_t kStyleVScroll = 0x00200000;
inline constexpr uint32_t kStyleTabStop = 0x00010000;
inline constexpr uint32_t kStyleChild = 0x40000000;
inline constexpr uint32_t kTabOwnerDrawFixed = 0x2000;
inline constexpr uint32_t kButtonBitmap = 0x80;

// A framework control as the rules see it.
struct TControlFacts {
  std::wstring className;                // N is its upper case
  std::vector<std::wstring> classChain;  // the class and every ancestor, for "is X"
  intptr_t tag = 0;
  bool windowed = false;
  bool hasParent = true;
  bool bound = false;  // answers WM_ISSKINNED, or an object of the skinner already skins it
  int childCount = 0;
  uint32_t style = 0;   // window style of a windowed control
  bool framed = false;  // its window and client rectangles differ: it draws a border
  // Published properties some rows read, as GetIntProp / GetEnumText give them.
  int numButtons = -1;           // "NumButtons"; -1 absent
  std::wstring tabStyle;         // "Style" of a page control; empty: absent, the default tabs
  std::wstring kindText;         // "Kind"
  std::wstring dateMode;         // "DateMode"
  bool hasDropDownItem = false;  // a tool-bar button with a drop-down menu item

  bool Is(const std::wstring& cls) const;
  std::wstring UpperName() const;
};

// The skin settings the rules read.
struct TBindingSkin {
  TSkinSet skinControls = 0;
  int32_t disableTag = 99;
  std::vector<std::wstring> skin3rd;
  bool hasTabElement = false;
  bool menuBar = false;  // the skinner draws the window's menu bar

  bool Has(TSkinControlType member) const { return InSet(skinControls, member); }
  // xcTab and a skin with a tab element.
  bool TabSkin() const { return Has(xcTab) && hasTabElement; }
};

// --- framework controls ---

enum class TGate {
  Proceed,
  Disabled,  // Tag equals DisableTag: never skinned
  NoParent,
  Bound,  // already has an object
};
TGate GateControl(const TControlFacts& facts, const TBindingSkin& skin);
// A disabled radio or check group passes its Tag on to its buttons, so that
// they stay unskinned in this and every later pass.
bool DisablesGroupChildren(const TControlFacts& facts);

// The kind word Skin3rd gives the class named upperName: the lower-case text
// after the first "=" of the first line that begins, ignoring case, with the
// class name and "=" (at most 50 characters). None: the class is not listed.
std::optional<std::wstring> Skin3rdKind(const std::wstring& upperName,
                                        const std::vector<std::wstring>& lines);
// The decision of a class listed in Skin3rd, or none when it is not listed. A
// listed class is decided here whatever the kind word says: an unknown word
// or an unmet condition leaves it unskinned.
std::optional<TBindDecision> DecideByKind(const TControlFacts& facts, const TBindingSkin& skin);
// Classes of other libraries that are never skinned.
bool IsNeverSkinned(const std::wstring& upperName);
// The class table; no row: an undecided (empty) decision.
TBindDecision DecideClassTable(const TControlFacts& facts, const TBindingSkin& skin);
// DecideByKind, then the never-skinned classes, then the class table.
TBindDecision DecideControl(const TControlFacts& facts, const TBindingSkin& skin);

// A windowed control with a scroll-bar style, or a memo or list box.
bool NeedsScrollSkin(const TControlFacts& facts);
// A child of an "embedscrollbar" container.
TBindDecision DecideEmbeddedChild(const TControlFacts& child);

// --- bare windows ---

struct TWindowFacts {
  std::wstring className;  // as the window class reports it, any case
  uint32_t style = 0;
  bool hasChild = false;  // it has at least one child window
};
// The bare-window table; no row: an undecided decision.
TBindDecision DecideWindow(const TWindowFacts& window, const TBindingSkin& skin);
// The rules for a "button" window that is not owner-drawn.
TBindDecision DecideButtonWindow(uint32_t style, const TBindingSkin& skin);

}  // namespace skin
