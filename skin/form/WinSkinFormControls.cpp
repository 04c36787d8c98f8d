// Control binding: every control inside an adopted window gets the
// skinned-control object that draws it, or none. The rules that choose live
// in ControlBinding (portable); this file describes the real controls and
// windows to them, carries their decisions out, and keeps the form
// skinner's list of objects.
//
// Two roads lead here. Framework controls are reached through the form's
// owned components, its tab order and the children of containers
// (InitControls, AddComp); bare child windows of dialogs are reached through
// the window tree (InitHwndControls, AddControlh). A pass can run any number
// of times over the same window: a control that already answers
// WM_ISSKINNED, or that an object in Controllist already skins, is passed
// over, so no control ever gets a second object.
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/Control.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/controls/WinSkinControl.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinMediaPlayer.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/ControlBinding.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[101] = {};
  int n = GetClassNameW(hwnd, name, 101);
  return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

bool AnswersSkinned(HWND hwnd) {
  return hwnd && SendMessageW(hwnd, WM_ISSKINNED, 0, 0) == 1;
}

// Sets a published property the control may not have; one it lacks, or that
// refuses the text, is left alone.
void SetPropIfPublished(fw::TComponent& c, const wchar_t* name, const std::wstring& value) {
  if (!c.ClassInfo().FindProp(name)) return;
  try {
    fw::SetPropText(c, name, value);
  } catch (const std::invalid_argument&) {
  }
}

// A window whose client area is smaller than the window draws a border.
bool DrawsBorder(HWND hwnd) {
  RECT window{}, client{};
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return false;
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

fw::TWinControl* AsWinControl(fw::TControl* c) {
  return c && c->IsWindowed() ? static_cast<fw::TWinControl*>(c) : nullptr;
}

TControlFacts FactsOf(fw::TControl* c) {
  TControlFacts f;
  f.className = c->ClassName();
  for (const fw::TClassInfo* info = &c->ClassInfo(); info; info = info->parent)
    f.classChain.push_back(info->name);
  f.tag = c->Tag();
  f.windowed = c->IsWindowed();
  f.hasParent = c->Parent() != nullptr;
  if (fw::TWinControl* w = AsWinControl(c)) {
    f.childCount = static_cast<int>(w->Controls().size());
    if (w->HandleAllocated()) {
      f.style = static_cast<uint32_t>(GetWindowLongPtrW(w->Handle(), GWL_STYLE));
      f.framed = DrawsBorder(w->Handle());
    }
  }
  f.numButtons = fw::GetIntProp(*c, L"NumButtons");
  f.tabStyle = fw::GetEnumText(c, L"Style");
  f.kindText = fw::GetEnumText(c, L"Kind");
  f.dateMode = fw::GetEnumText(c, L"DateMode");
  return f;
}

bool IsListViewWindow(fw::TComponent* owner) {
  if (!owner || !owner->Is(fw::TWinControl::StaticClass())) return false;
  auto* w = static_cast<fw::TWinControl*>(owner);
  return w->HandleAllocated() && ClassNameOf(w->Handle()) == WC_LISTVIEWW;
}

// The object of a chosen class, or nullptr for the classes that are not
// built yet (an old-style tab set, a page control of another library,
// a check list). Those controls keep their own look.
TSkinControl* NewSkinObject(TSkinClass cls, fw::TComponent* owner) {
  switch (cls) {
    case TSkinClass::Button:
      return new TSkinButton(owner);
    case TSkinClass::BitButton:
      return new TSkinBitButton(owner);
    case TSkinClass::SpeedButton:
      return new TSkinSpeedButton(owner);
    case TSkinClass::MenuButton:
      return new TSkinMenuButton(owner);
    case TSkinClass::CheckBox:
      return new TSkinCheckBox(owner);
    case TSkinClass::RadioButton:
      return new TSkinRadioButton(owner);
    case TSkinClass::GroupBox:
      return new TSkinGroupBox(owner);
    case TSkinClass::Box:
      return new TSkinBox(owner);
    case TSkinClass::BoxH:
      return new TSkinBoxH(owner);
    case TSkinClass::ObjImage:
      return new TSkinObjImage(owner);
    case TSkinClass::UpDown:
      return new TSkinUpDown(owner);
    case TSkinClass::StatusBar:
      return new TSkinStatusBar(owner);
    case TSkinClass::Progress:
      return new TSkinProgress(owner);
    case TSkinClass::TrackBar:
      return new TSkinTrackBar(owner);
    case TSkinClass::Header:
      return new TSkinHeader(owner);
    case TSkinClass::Sizer:
      return new TSkinSizer(owner);
    case TSkinClass::Edit:
      return new TSkinEdit(owner);
    case TSkinClass::ComBox:
      return new TSkinComBox(owner);
    case TSkinClass::DateTime:
      return new TSkinDateTime(owner);
    case TSkinClass::Tab:
      return new TSkinTab(owner);
    case TSkinClass::TabBtn:
      return new TSkinTabBtn(owner);
    case TSkinClass::TabSheet:
      return new TSkinTabSheet(owner);
    case TSkinClass::MP:
      return new TSkinMP(owner);
    case TSkinClass::Scrollbar:
      // Our grid is a list view window: it gets the list view's object, which
      // also skins its column header.
      if (IsListViewWindow(owner)) return new TSkinListView(owner);
      return new TSkinScrollbar(owner);
    case TSkinClass::ListView:
      return new TSkinListView(owner);
    case TSkinClass::ScControl:
      return new TSkinScControl(owner);
    default:
      return nullptr;
  }
}

// Settings a choice gives the object before it is attached.
void Prepare(TSkinControl* obj, const TObjectChoice& o) {
  if (o.kind != 0) obj->kind = o.kind;
  if (o.cls == TSkinClass::ObjImage) static_cast<TSkinObjImage*>(obj)->glyphKind = o.glyphKind;
  if (o.cls == TSkinClass::ComBox) static_cast<TSkinComBox*>(obj)->HasButton = o.hasButton;
  if (o.picField.empty()) return;
  if (o.cls == TSkinClass::SpeedButton || o.cls == TSkinClass::BitButton)
    static_cast<TSkinBitButton*>(obj)->PicField = o.picField;
}

}  // namespace

// ---------------------------------------------------------------- the object list

bool TWinSkinForm::AddControlList(TSkinControl* acontrol) {
  if (std::find(Controllist.begin(), Controllist.end(), acontrol) != Controllist.end()) return true;
  Controllist.push_back(acontrol);
  return false;
}

void TWinSkinForm::DeleteControl(TSkinControl* c) {
  auto it = std::find(Controllist.rbegin(), Controllist.rend(), c);
  if (it != Controllist.rend()) Controllist.erase(std::next(it).base());
  if (Activeskincontrol == c) Activeskincontrol = nullptr;
}

void TWinSkinForm::FreeSkinControls() {
  while (!Controllist.empty()) {
    TSkinControl* c = Controllist.front();
    Controllist.erase(Controllist.begin());
    if (Skinstate != ssDestroying && c->skinstate != ssDestroyed) c->Unsubclass();
    // Owned by its control (or by this skinner): freeing it takes it off
    // its owner's list, so the owner never frees it a second time.
    delete c;
  }
  Activeskincontrol = nullptr;
}

void TWinSkinForm::PurgeDeadControls() {
  for (size_t i = Controllist.size(); i-- > 0;) {
    TSkinControl* c = Controllist[i];
    if (c->skinstate != ssDestroyed) continue;
    Controllist.erase(Controllist.begin() + static_cast<std::ptrdiff_t>(i));
    if (Activeskincontrol == c) Activeskincontrol = nullptr;
    delete c;
  }
}

TSkinControl* TWinSkinForm::FindControlByHandle(HWND h) const {
  for (TSkinControl* c : Controllist)
    if (c->hwnd == h) return c;
  return nullptr;
}

void TWinSkinForm::RebuildScrollSkin(HWND h) {
  auto it =
      std::find_if(Controllist.rbegin(), Controllist.rend(), [h](TSkinControl* c) { return c->hwnd == h; });
  if (it == Controllist.rend() || !fsd) return;
  TSkinControl* old = *it;
  if (!old->Is(TSkinScrollbar::StaticClass())) return;
  const bool listView = old->Is(TSkinListView::StaticClass());
  fw::TWinControl* control = old->control;
  const int32_t oldKind = old->kind;
  Controllist.erase(std::next(it).base());
  if (Activeskincontrol == old) Activeskincontrol = nullptr;
  if (old->skinstate != scDestroyed) old->Unsubclass();
  delete old;
  if (!control) return;
  TSkinScrollbar* fresh = listView ? new TSkinListView(control) : new TSkinScrollbar(control);
  fresh->kind = oldKind;
  fresh->InitScrollbar(control, fsd, this);
  if (fresh->skinstate != scAttached) delete fresh;
}

TBindingSkin TWinSkinForm::BindingSkin() const {
  TBindingSkin s;
  if (!fsd) return s;
  s.skinControls = fsd->SkinControls();
  s.disableTag = fsd->DisableTag();
  s.skin3rd = fsd->Skin3rd();
  s.hasTabElement = fsd->tab != nullptr;
  s.menuBar = sMainMenu;
  return s;
}

// ---------------------------------------------------------------- framework controls

void TWinSkinForm::InitControls(fw::TComponent* control) {
  PurgeDeadControls();
  if (!control || !fsd) return;
  if (!control->Is(fw::TWinControl::StaticClass())) {
    // One windowless control asked for on its own.
    if (control->Is(fw::TControl::StaticClass())) {
      auto* c = static_cast<fw::TControl*>(control);
      AddComp(c, c->Parent());
    }
    return;
  }
  auto* wForm = static_cast<fw::TWinControl*>(control);
  BindOwnedControls(wForm);
  // The tab order reaches controls the form does not own.
  for (fw::TWinControl* c : TabOrderList(wForm))
    if (!IsExcluded(c)) AddComp(c, wForm);
}

void TWinSkinForm::InitNestform(fw::TComponent* nested) {
  PurgeDeadControls();
  if (!nested || !fsd || !nested->Is(fw::TWinControl::StaticClass())) return;
  auto* wForm = static_cast<fw::TWinControl*>(nested);
  auto* box = new TSkinBox(wForm);
  box->Init(this, fsd, true);
  for (fw::TComponent* c : std::vector<fw::TComponent*>(wForm->Components()))
    if (c->Is(fw::TControl::StaticClass())) AddComp(static_cast<fw::TControl*>(c), wForm);
  InitPopMenu(wForm, true, true);
}

void TWinSkinForm::BindOwnedControls(fw::TComponent* wForm) {
  // A copy: binding may add components (the objects) to the owner.
  for (fw::TComponent* c : std::vector<fw::TComponent*>(wForm->Components()))
    if (c->Is(fw::TControl::StaticClass()))
      AddComp(static_cast<fw::TControl*>(c),
              wForm->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(wForm) : nullptr);
  if (fsd && InSet(fsd->SkinControls(), xcPopupMenu)) InitPopMenu(wForm, true, true);
}

void TWinSkinForm::BindChildren(fw::TWinControl* control) {
  for (fw::TControl* child : std::vector<fw::TControl*>(control->Controls())) AddComp(child, control);
}

std::vector<fw::TWinControl*> TWinSkinForm::TabOrderList(fw::TWinControl* wForm) {
  // Our framework keeps children in creation order, which is their tab order.
  std::vector<fw::TWinControl*> list;
  for (fw::TControl* c : wForm->Controls()) {
    fw::TWinControl* w = AsWinControl(c);
    if (!w) continue;
    list.push_back(w);
    std::vector<fw::TWinControl*> inner = TabOrderList(w);
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

bool TWinSkinForm::IsBound(fw::TControl* control) {
  // Asked through the control's own handler: windowless controls answer too.
  if (control->Perform(WM_ISSKINNED, 0, 0) == 1) return true;
  return std::any_of(Controllist.begin(), Controllist.end(),
                     [control](TSkinControl* c) { return c->control == control || c->GControl == control; });
}

bool TWinSkinForm::IsExcluded(fw::TWinControl* control) {
  if (!control->HandleAllocated()) return true;
  if (fsd && control->Tag() == fsd->DisableTag()) return true;
  if (AnswersSkinned(control->Handle())) return true;
  return FindControlByHandle(control->Handle()) != nullptr;
}

void TWinSkinForm::DisableGroupChildren(fw::TControl* control) {
  fw::TWinControl* group = AsWinControl(control);
  if (!group || !DisablesGroupChildren(FactsOf(control))) return;
  for (fw::TControl* child : group->Controls()) child->SetTag(fsd->DisableTag());
}

void TWinSkinForm::AddComp(fw::TControl* Comp, fw::TWinControl* wForm) {
  if (!Comp || !fsd) return;
  TBindingSkin skin = BindingSkin();
  TControlFacts facts = FactsOf(Comp);
  facts.bound = Comp->Parent() && IsBound(Comp);
  switch (GateControl(facts, skin)) {
    case TGate::Disabled:
      DisableGroupChildren(Comp);
      return;
    case TGate::NoParent:
    case TGate::Bound:
      return;
    case TGate::Proceed:
      break;
  }
  const std::wstring N = facts.UpperName();
  if (fw::TWinControl* w = AsWinControl(Comp)) {
    try {
      w->HandleNeeded();
    } catch (const std::exception&) {
      return;
    }
    if (!w->HandleAllocated()) return;
    facts = FactsOf(Comp);  // the style and border of the window now made
  }
  if (fsd->OnSkinControl) {
    fw::TComponent* SkinnedControl = nullptr;
    fsd->OnSkinControl(this, fsd, wForm, Comp, N, SkinnedControl);
    if (SkinnedControl) {
      // The application decided: its object, or none when it gave something else.
      if (!SkinnedControl->Is(TSkinControl::StaticClass())) return;
      auto* obj = static_cast<TSkinControl*>(SkinnedControl);
      if (AddControlList(obj)) return;
      obj->Init(this, fsd, obj->newColor);
      if (facts.Is(L"TCustomPanel") && AsWinControl(Comp)) BindChildren(AsWinControl(Comp));
      return;
    }
  }
  if (BindByKind(N, Comp)) return;
  if (IsNeverSkinned(N)) return;
  CarryOut(DecideClassTable(facts, skin), Comp, wForm, nullptr);
}

bool TWinSkinForm::BindByKind(const std::wstring& N, fw::TControl* Comp) {
  TControlFacts facts = FactsOf(Comp);
  facts.className = N;
  std::optional<TBindDecision> decision = DecideByKind(facts, BindingSkin());
  if (!decision) return false;
  CarryOut(*decision, Comp, nullptr, nullptr);
  return true;
}

// ---------------------------------------------------------------- bare windows

void TWinSkinForm::InitHwndControls(HWND ahwnd) {
  PurgeDeadControls();
  for (HWND child = GetTopWindow(ahwnd); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) AddControlh(child);
}

void TWinSkinForm::AddControlh(HWND ahwnd) {
  if (!ahwnd || !fsd || FindControlByHandle(ahwnd)) return;
  // The Tag that switches skinning off holds on this road too, for a window
  // that belongs to a framework control.
  if (fw::TWinControl* owner = fw::TWinControl::FromHandle(ahwnd))
    if (owner->Tag() == fsd->DisableTag()) return;
  TWindowFacts facts;
  facts.className = ClassNameOf(ahwnd);
  facts.style = static_cast<uint32_t>(GetWindowLongPtrW(ahwnd, GWL_STYLE));
  facts.hasChild = GetWindow(ahwnd, GW_CHILD) != nullptr;
  CarryOut(DecideWindow(facts, BindingSkin()), nullptr, nullptr, ahwnd);
}

// ---------------------------------------------------------------- carrying decisions out

void TWinSkinForm::CarryOut(const TBindDecision& decision, fw::TControl* Comp, fw::TWinControl* wForm,
                            HWND ahwnd) {
  fw::TWinControl* container = AsWinControl(Comp);
  for (const TBindStep& step : decision.steps) {
    switch (step.action) {
      case TBindAction::MakeObject:
        if (Comp)
          MakeObject(step.object, Comp);
        else
          MakeWindowObject(step.object, ahwnd);
        break;
      case TBindAction::MakeChildObjects:
        if (!container) break;
        for (fw::TControl* child : std::vector<fw::TControl*>(container->Controls())) {
          if (child->Tag() == fsd->DisableTag() || IsBound(child)) continue;
          MakeObject(step.object, child);
        }
        break;
      case TBindAction::ChildScrollObjects:
        if (!container) break;
        for (fw::TControl* child : std::vector<fw::TControl*>(container->Controls()))
          if (!IsBound(child)) CarryOut(DecideEmbeddedChild(FactsOf(child)), child, wForm, nullptr);
        break;
      case TBindAction::BindChildren:
        if (container) BindChildren(container);
        break;
      case TBindAction::AddCompChildren:
        if (!container) break;
        for (fw::TControl* child : std::vector<fw::TControl*>(container->Controls())) AddComp(child, nullptr);
        break;
      case TBindAction::BindOwnedControls:
        if (Comp) BindOwnedControls(Comp);
        break;
      case TBindAction::SetTransparent:
        if (Comp) SetPropIfPublished(*Comp, L"Transparent", L"True");
        break;
      case TBindAction::SetFlat:
        if (Comp) SetPropIfPublished(*Comp, L"Flat", L"True");
        break;
      case TBindAction::ToolbarDrawEvents:
      case TBindAction::ToolbarMenuItems:
      case TBindAction::DropDownMenuItem:
      case TBindAction::BandColours:
        // Our framework has no tool bar, tool-bar button or cool bar, so no
        // control is ever decided for these.
        break;
      case TBindAction::WindowChildren:
        if (ahwnd) InitHwndControls(ahwnd);
        break;
      case TBindAction::OwnerColour:
        if (fw::TWinControl* owner = fw::TWinControl::FromHandle(ahwnd))
          SetPropIfPublished(*owner, L"Color", std::to_wstring(fsd->Colors[3]));
        break;
    }
  }
}

void TWinSkinForm::MakeObject(const TObjectChoice& o, fw::TControl* Comp) {
  TSkinControl* obj = NewSkinObject(o.cls, Comp);
  if (!obj) return;
  Prepare(obj, o);
  switch (o.attach) {
    case TAttach::Init:
      obj->Init(this, fsd, o.withColour);
      break;
    case TAttach::Inithwnd:
      if (fw::TWinControl* w = AsWinControl(Comp)) obj->Inithwnd(w->Handle(), fsd, this);
      break;
    case TAttach::InitGraphicControl:
      if (o.cls == TSkinClass::SpeedButton)
        static_cast<TSkinSpeedButton*>(obj)->InitGraphicControl(this, fsd);
      break;
    case TAttach::InitScrollbar:
      if (fw::TWinControl* w = AsWinControl(Comp)) {
        if (o.cls == TSkinClass::ScControl)
          static_cast<TSkinScControl*>(obj)->InitScrollbar(w, fsd, this);
        else
          static_cast<TSkinScrollbar*>(obj)->InitScrollbar(w, fsd, this);
      }
      break;
  }
  // An object that could not attach (a control without a window, a class
  // that does not fit) is of no use: it goes at once, once.
  if (obj->skinstate != scAttached) delete obj;
}

void TWinSkinForm::MakeWindowObject(const TObjectChoice& o, HWND ahwnd) {
  HWND target = o.onFirstChild ? GetWindow(ahwnd, GW_CHILD) : ahwnd;
  if (!target || FindControlByHandle(target)) return;
  TSkinControl* obj = NewSkinObject(o.cls, this);
  if (!obj) return;
  // A window some other object already skins keeps that one. Asked only
  // now, for a window we have an object for: a size grip comes here while
  // it is still being created.
  if (AnswersSkinned(target)) {
    delete obj;
    return;
  }
  Prepare(obj, o);
  obj->Inithwnd(target, fsd, this);
  if (obj->skinstate != scAttached) delete obj;
}

}  // namespace skin
