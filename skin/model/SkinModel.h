// TSkinModel: one loaded skin, portable. It holds the skin archive bytes
// (`data`), every element record under its fixed name, the scheme colours
// and the presets, and it is the definition loader: LoadArchive unpacks
// `data`, reads the INI member, fills the records section by section and
// builds the images a skin does not carry (combo box, combo arrow, tool-bar
// gradient, default track channels).
//
// The Windows skin data component derives from this class, so these are its
// fields by their names; it adds the brush, fonts, icon and everything that
// needs a window. A load either completes (Empty false) or leaves Empty
// true: an archive that cannot be opened keeps the records as they were, a
// definition that fails part way (no INI member, a bitmap member that is not
// a complete sane BMP, any error while reading) clears every record back to
// its constructed state. Nothing is thrown out of LoadArchive.
//
// Records that exist whatever the skin says are plain members (`border`[1..4],
// `Title`, `Button`); the others are absent (null) until their section gives
// an image, and painters must treat null as "draw this part without the skin".
// After every completed load each record's frame counts are at least 1.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinPlatform.h"
#include "skin/archive/SkinRead.h"
#include "skin/archive/Streams.h"
#include "skin/archive/WinSkinIni.h"
#include "skin/model/SkinElements.h"

namespace skin {

class TSkinModel {
 public:
  static constexpr int kSchemeColors = 20;
  static constexpr int kPresetColors = 10;

  TSkinModel();
  virtual ~TSkinModel();
  TSkinModel(const TSkinModel&) = delete;
  TSkinModel& operator=(const TSkinModel&) = delete;

  // --- the loader ---
  // Loads the skin archive held in `data` (a packed block from its start).
  // True when the whole definition was read; Empty tells the same afterwards.
  bool LoadArchive();
  // During a load: the archive member named by the file-name part of `fname`
  // (after the last '\' or ':'), which must end in ".bmp" exactly, decoded
  // into `bmp`; an absent member clears `bmp`. A member that is not a sane
  // BMP makes the whole load fail. Outside a load it clears `bmp`.
  void Readbmp(TBitmap& bmp, const std::string& fname);
  // A colour text: numbers separated by anything that is not a digit give
  // red, green, blue (each modulo 256); see the loader for the exact rules.
  static TColor ParseColour(const std::string& text);
  // The pixel of the top border inside its first image, else Colors[3];
  // a direct colour or a system colour value.
  TColor GetCaptionColor() const;
  // Frees every record and sets the colours, presets and name back to their
  // constructed state; Empty becomes true. The archive bytes in `data` stay.
  void ClearSkin();

  // --- the skin ---
  TMemoryStream data;  // the packed skin archive
  bool Empty = true;
  std::string SkinName;

  std::array<TDataSkinBorder, 5> border;  // [1] left, [2] right, [3] top, [4] bottom; [0] unused
  TDataSkinTitle Title{"Title"};
  TDataSkinButton Button{"Buttons"};
  std::vector<TDataSkinSysButton> SysBtn;  // caption buttons, then three built-in MDI buttons

  std::unique_ptr<TDataSkinBorder> tab, HSpin, VSpin, combox, progress;
  std::unique_ptr<TDataSkinObject> TabSheet, Comboxborder, comboxarrow, ExtraImages, Box, Toolbar, Toolbarbtn,
      progresschunk, StatusBar, Header, Menubar, MenuItem, MenuitemBG, SArrow, HBar, VBar, HSlider, VSlider,
      TrackHorz, TrackVert, TrackLeft, Trackright, Tracktop, Trackbottom, TrackBar, TrackBarVert;
  std::unique_ptr<TDataSkinBoxLabel> boxlabel;

  std::array<TColor, kSchemeColors> Colors{};
  std::array<bool, kSchemeColors> hasColors{};
  std::vector<TColor> ColorPreset;
  std::array<TColor, kPresetColors> PresetColors{};

  // Diagnostics of the archive reader; nowhere by default.
  TLogProc doLog;

 protected:
  // True while the owner is being edited rather than run: nothing is loaded.
  virtual bool IsDesigning() const { return false; }
  // Called once the scheme colours are final, before Empty turns false
  // (the Windows component makes its background brush here).
  virtual void SchemeColorsLoaded() {}

  // Loader state, alive only during LoadArchive.
  std::unique_ptr<TSkinReader> reader;
  TMemoryStream ms;
  std::unique_ptr<TQuickIni> ini;
  std::vector<std::string> sectionlist;

 private:
  void LoadDefinition();
  void ReadBorders();
  void ReadColours();
  void ReadSchemeColour(int index, const std::string& key, TColor defaultColor);
  void ReadRgbKeys(const std::string& section, const std::string& prefix, TColor& target);
  TColor ReadColourKey(const std::string& section, const std::string& key, TColor defaultColor,
                       bool* present = nullptr);
  void ReadCaptionButtons();
  void ReadMdiControls(size_t firstIndex);
  void ReadButtons();
  void ReadTitle(const std::string& section);
  void ReadMenuBar(const std::string& section);
  void ReadElementKeys(TDataSkinObject& element, const std::string& section, bool withFrame, bool withColours,
                       int tileAboveOneBecomes);
  template <class TRecord>
  void ReadElement(std::unique_ptr<TRecord>& element, const std::string& section);
  void ReadMaskedElement(std::unique_ptr<TDataSkinBorder>& element, const std::string& section,
                         const std::string& maskKey);
  void ReadBitmapElement(std::unique_ptr<TDataSkinBorder>& element, const std::string& section);
  void ReadGroupLabel(std::unique_ptr<TDataSkinBoxLabel>& element, const std::string& section);
  void LoadBuiltinElement(std::unique_ptr<TDataSkinObject>& element, const std::string& imageName);
  void FixFrameCounts();
  void BuildComboImages();
  void BuildComboArrow();
  void BuildToolbarImage();
  void ResetRecords();

  int ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const;
  bool HasValue(const std::string& section, const std::string& key) const;
};

}  // namespace skin
