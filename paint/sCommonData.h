// TsCommonData: the skin state of one skinned element (a framework control, or a bare window
// that an adapter took over). It names the element's skin section and holds the indexes
// resolved from it, owns the element's cached picture (a 24-bit section as large as the
// element), tracks hot, focused and update states, and answers the skin commands and the
// platform messages that make the cache stale. Its painters (SkinPainters), command handling
// (SkinCommandHandler) and background exchange with the parent (BackgroundExchange) live in
// files of their own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Color.h"
#include "framework/Control.h"
#include "paint/DibSection.h"
#include "skin/SkinTables.h"

class TsSkinManager;

// Element kind codes (ControlType) that the main window's elements use; any other code of the
// kind table is accepted as well.
enum TsElementKind : int { ekPanel = 51, ekDragBar = 56, ekButton = 93, ekEdit = 97 };

// The section an element of kind `code` takes when its SkinSection is empty; empty when the
// owner's class name is to be used.
const char* DefaultSectionOfKind(int code);
bool IsEditLikeKind(int code);
bool IsPanelLikeKind(int code);
bool IsNoGlowKind(int code);

class TsCommonData {
 public:
  // For a framework control (the usual case) or a bare window handle.
  TsCommonData(TControl* control, int controlType);
  TsCommonData(HWND window, int controlType);
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;
  ~TsCommonData();

  // Properties.
  bool CustomColor() const { return customColor_; }
  void SetCustomColor(bool value);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool value);
  // The manager in use: the one set, or the default manager.
  TsSkinManager* SkinManager() const;
  void SetSkinManager(TsSkinManager* manager);
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& name);

  TControl* Control() const { return control_; }
  HWND Window() const;
  int ControlType() const { return controlType_; }

  // Resolved indexes (-1 none).
  int SectionIndex = -1;
  int BorderItem = -1;
  int TextureItem = -1;
  int HotTextureItem = -1;
  int GlowId = -1;
  // States.
  bool PaintLocked = false;
  bool PaintSuspended = false;
  bool CacheDirty = true;
  bool CachePartial = true;
  bool Focused = false;
  bool MouseAbove = false;
  uint16_t Flags = 0;           // bit 0: plain background; 0x800: inside BeginUpdate
  uint16_t BackgroundKind = 0;  // bit 2: texture share; bits 0-1: gradient kind of the first step
  DibSection Cache;             // the cached picture (24-bit)

  void AfterLoad();
  void ResolveIndexes();

  // The section of the skin in force, or nullptr.
  const TsGeneralData* Section() const;
  bool IsSkinned(bool active = false) const;
  bool IsHot() const;
  bool NeedsSkinPaint() const;
  bool HasComplexBackground() const;
  void RecalcPlainFlag(bool children);
  bool NeedsParentBackground() const;
  bool SectionTransparent() const;
  // The background colour of the element for the look `hot`.
  TColor BackgroundColor(bool hot) const;
  bool IsPaintLocked() const;
  int MaxBorderMargin() const;

  // Cache and updates.
  void PrepareCache();
  void DropCache();  // the cache becomes 0 x 0
  void InvalidateCache();
  void BeginUpdate();
  void EndUpdate(bool repaint);

  // Skin commands and platform messages (SkinCommandHandler.cpp). Both answer true when the
  // message was handled; the answer is in message.Result.
  bool HandleSkinCommand(TMessage& message);
  bool HandleCommonMessage(TMessage& message);

  // The hover glow around the element (GlowWindows.cpp): shown while the mouse is over it and
  // no button is held on it, removed otherwise or with `halve` while one is shown.
  void ShowGlow(bool halve);

  // Sends a skin command to the element itself.
  LRESULT SendToSelf(uint16_t command, uint16_t argument = 0, LPARAM parameter = 0);

 private:
  void ChooseDefaultSection();
  void ComputeBackgroundKind();
  void Announce();

  TControl* control_ = nullptr;  // borrowed: the element
  HWND window_ = nullptr;        // borrowed: the element when it is a bare window
  int controlType_ = 0;
  bool customColor_ = false;
  bool customFont_ = false;
  TsSkinManager* manager_ = nullptr;  // borrowed; nullptr: the default manager
  std::string skinSection_;
};

// The skin state of a framework control that has one (answers nullptr otherwise).
TsCommonData* SkinDataOf(TControl* control);
// Controls with a skin state derive from this as well, so others can find it.
class TsSkinnedElement {
 public:
  virtual ~TsSkinnedElement() = default;
  virtual TsCommonData* SkinData() = 0;
};

// Passes a skin command on to the children of `parent`: windowless children and children
// without a window directly, skin-aware windows as a message (they pass it on themselves), and
// the children of other windows in turn.
void PassToChildren(TWinControl* parent, WPARAM wParam, LPARAM lParam);
