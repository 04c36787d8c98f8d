// TSkinData: the component a window places on itself to skin the program.
// It owns the loaded skin (TSkinModel: the archive bytes and every element
// record), carries the settings that decide what is skinned, starts the skin
// manager once its owner window has loaded, switches skinning on and off
// through the manager's timer, and offers the operations the form skinners,
// skinned controls and the application reach the skin through.
//
// The stored skin is the binary property SkinStream: a 32-bit little-endian
// byte count N, then N bytes of skin archive (nothing follows N <= 0). It is
// loaded as soon as it is read, so the records exist before Loaded. A skin
// that cannot be read leaves the component Empty, and Loaded then turns
// Active off; nothing is thrown out of the definition reader for it.
#pragma once

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/Component.h"
#include "skin/model/SkinModel.h"
#include "skin/model/SkinSets.h"
#include "skin/model/WinSkinManage.h"

namespace fw {
class TControl;
}

namespace skin {

class TSkinStore;
class TSkinHintWindow;

using TOnFormSkin = std::function<void(fw::TObject* sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinForm = std::function<void(fw::TObject* sender, HWND ahwnd, const std::wstring& aName)>;
using TOnSkinControl = std::function<void(fw::TComponent* sender, class TSkinData* SkinData,
                                          fw::TControl* Form, fw::TControl* Control,
                                          const std::wstring& ControlClass, fw::TComponent*& SkinnedControl)>;

class TSkinData : public fw::TComponent, public TSkinModel {
  FW_CLASS(TSkinData)
 public:
  static constexpr TSkinSet kDefaultSkinControls =
      (SetOf(kSkinControlTypeCount) - 1) & ~SetOf(xcMenuItem) & ~SetOf(xcForeignForms);
  static constexpr TSkinSet kDefaultOptions =
      SetOf(xoPreview) | SetOf(xoToolbarBK) | SetOf(xoCaptionButtonHint);
  static constexpr const wchar_t* kVersion = L"1.00.00.00";

  explicit TSkinData(fw::TComponent* owner);
  ~TSkinData() override;

  // --- settings ---
  bool Active() const { return fActive; }
  void SetActive(bool value);
  int32_t DisableTag() const { return fdisableTag; }
  void SetDisableTag(int32_t value) { fdisableTag = value; }
  TSkinSet SkinControls() const { return fSkinControls; }
  void SetSkinControls(TSkinSet value) { fSkinControls = value; }
  TSkinSet Options() const { return fOptions; }
  void SetOptions(TSkinSet value) { fOptions = value; }
  const std::vector<std::wstring>& Skin3rd() const { return fSkin3rd; }
  void SetSkin3rd(const std::vector<std::wstring>& lines) { fSkin3rd = lines; }
  const std::wstring& SkinFile() const { return fSkinFile; }
  TSkinFormType SkinFormtype() const { return fSkinFormtype; }
  void SetSkinFormtype(TSkinFormType value) { fSkinFormtype = value; }
  bool MenuUpdate() const { return fMenuUpdate; }
  void SetMenuUpdate(bool value) { fMenuUpdate = value; }
  bool MenuMerge() const { return fMenuMerge; }
  void SetMenuMerge(bool value) { fMenuMerge = value; }

  // --- events ---
  TOnFormSkin OnFormSkin;
  fw::TEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // --- what the painters share besides the skin ---
  TBitmap SysIcon;  // the application's small icon, magenta where transparent
  HFONT CaptionFont = nullptr;
  HBRUSH BGBrush = nullptr;
  HIMAGELIST bmpmenu = nullptr;  // restore, maximise, minimise, close; 16 x 16
  std::vector<std::wstring>* DebugList = nullptr;
  bool MenuMsg = true;
  int hintcount = 0;

  // --- operations ---
  void LoadFromFile(const std::wstring& value);
  void LoadFromStream(TStream& stream);
  void LoadFromCollection(TSkinStore* astore, int aindex);
  bool GetPrecolor(TColor& acolor, int n) const;
  static std::wstring GetFileName(const std::wstring& s);
  void Install();
  void Uninstall();
  void DoFormSkin(HWND ahwnd, const std::wstring& aname, bool& Doskin);
  void DoSkinChanged();
  void AddNestForm(fw::TComponent* fParent, fw::TComponent* fNested);
  void UpdateSkinControl(fw::TComponent* fParent, fw::TComponent* acontrol);
  void DeleteGraphicControl(fw::TComponent* fParent, fw::TComponent* acontrol);
  void UpdateMenu(fw::TComponent* fParent);
  void UpdateMainMenu(bool done);
  void SkinForm(HWND ahwnd);
  void InstallThread(DWORD aThreadID);
  void UnInstallThread(DWORD aThreadID);
  static void ChangeProperty(fw::TComponent* control, const std::wstring& aprop, const std::wstring& value);
  void EnableSkin(bool b);
  bool GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& psbi) const;
  void DoDebug(const std::wstring& s);
  void ChangeForm(fw::TComponent* aform);
  void GetAppIcon();
  void ActivateHint(const RECT& aRect, const std::wstring& AHint);
  void HideHint();
  bool IsHint() const { return hashint; }

  // The stored skin as its property holds it: count, then the archive bytes.
  void ReadSkinStream(TStream& stream);
  void WriteSkinStream(TStream& stream) const;

  // fw::TComponent
  void Loaded() override;
  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& bytes) override;
  // "skin" answers "empty=0|1;active=0|1;manager=0|1" (the manager's own active
  // flag); "set-active:0|1" sets Active.
  std::wstring Automation(const std::wstring& request) override;

  // The built-in Skin3rd table.
  static std::vector<std::wstring> DefaultSkin3rd();

 protected:
  void SchemeColorsLoaded() override;

 private:
  void LoadCaptionFont();
  void ApplyLoadedSkin();
  void BuildMenuGlyphs();
  // The form skinners of the window of `form` (a windowed control).
  std::vector<TFormSkinnerSeam*> FormSkinnersOf(fw::TComponent* form) const;

  bool fActive = false;
  int32_t fdisableTag = 99;
  TSkinSet fSkinControls = kDefaultSkinControls;
  TSkinSet fOptions = kDefaultOptions;
  std::vector<std::wstring> fSkin3rd;
  std::wstring fSkinFile;
  TSkinFormType fSkinFormtype = sfMainform;
  bool fMenuUpdate = true;
  bool fMenuMerge = false;
  bool hashint = false;
  TSkinHintWindow* fHint = nullptr;
};

// Lets stored definitions name TSkinData and TSkinStore.
void RegisterSkinComponents();

}  // namespace skin
