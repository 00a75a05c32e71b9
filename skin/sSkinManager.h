// The skin manager: the non-visual component that owns the loaded skin (its tables, the indexes
// painting asks for, the extended-border shadow pictures), loads a skin by name from an archive,
// a skin folder or the skins stored in the program, and tells every window when a skin comes
// into force, changes or goes away through the skin command message. The first manager of the
// process is the default one that skinned elements without a manager of their own use. Loading
// and the tables are plain C++ (SkinLoader, LoadedSkin); this class adds the platform: message
// broadcasts, the application window's hook and the window-creation hook.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Event.h"
#include "framework/Handles.h"
#include "framework/StringList.h"
#include "framework/WindowSubclass.h"
#include "skin/AnimEffects.h"
#include "skin/CommonIndexes.h"
#include "skin/ExtendedBorderImages.h"
#include "skin/LoadedSkin.h"
#include "skin/MenuSupport.h"
#include "skin/SkinCommands.h"
#include "skin/StoredSkins.h"
#include "skin/ThirdPartyList.h"

class ImageDecoder;
class SkinFileSystem;
class TForm;
class TsSkinManager;

enum class TvlSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TvlSkinningRules = TSet<TvlSkinningRule>;
const TypeInfo& SkinningRulesType();

constexpr const wchar_t* kDefaultSkinDirectory = L"c:\\Skins";
constexpr const wchar_t* kSkinManagerVersion = L"6.55";

// A form skinned through a form skinning component, as broadcasts and skin changes reach it. The
// frame layer registers its forms in SkinnedForms(); the manager never knows that layer.
class TsSkinnedForm {
 public:
  virtual ~TsSkinnedForm() = default;
  virtual TForm* Form() const = 0;
  virtual TsSkinManager* Manager() const = 0;  // nullptr: the default manager
  // Before a skin change: a visible form that is not painting marks itself as changing, reshapes
  // its border window and stops redrawing.
  virtual void FreezeForSkinChange() = 0;
  // After it: redraw again, with the change animation when `repaint` asks for one.
  virtual void UnfreezeAfterSkinChange(bool repaint) = 0;
};
std::vector<TsSkinnedForm*>& SkinnedForms();

// Windows that the window-creation hook skinned for themselves (dialogs, menus); broadcasts and
// refreshes reach the visible ones.
std::vector<HWND>& SkinHookedWindows();

// Services of higher layers that the manager calls at fixed points; each layer installs its own
// at start-up, empty ones are skipped.
struct TsSkinManagerServices {
  std::function<void()> removeAllGlowWindows;
  std::function<void(TsSkinManager&)> skinChangedForMenus;  // recompute the menu border width
  // The form skinning's menu notifications (48307, 48308) seen on the application window.
  std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> menuNotification;
  std::function<void(HWND window)> windowCreated;  // the window-creation hook saw a new window
  // Every event of the window hook (creation, activation, destruction, ...), after the next hook.
  std::function<void(int code, WPARAM wParam, LPARAM lParam)> windowHookEvent;
  std::function<void()> windowHookRemoved;  // the window hook was removed
  // Shows the skin version message; a message box when empty.
  std::function<void(const std::wstring& text)> showMessage;
};
TsSkinManagerServices& SkinManagerServices();

namespace skin_handles {
struct WindowsHook {
  using Type = HHOOK;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { UnhookWindowsHookEx(h); }
};
}  // namespace skin_handles
using UniqueWindowsHook = UniqueHandle<skin_handles::WindowsHook>;

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* owner);
  ~TsSkinManager() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The process's default manager, or nullptr.
  static TsSkinManager* DefaultManager();
  // Process-wide flags that painting consults to skip work.
  static bool SkinApplying();  // during AnnounceSkin
  static bool SkinChanging();  // between freezing and unfreezing the forms
  static bool SkinLoading();   // during ApplySkinName

  // Published properties.
  bool ExtendedBorders() const;  // set, and the platform has layered windows
  void SetExtendedBorders(bool value);
  bool SkinnedPopups() const { return skinnedPopups_; }
  void SetSkinnedPopups(bool value) { skinnedPopups_ = value; }
  bool AllowGlowing() const;  // set, and the platform has layered windows
  void SetAllowGlowing(bool value) { allowGlowing_ = value; }
  TvlAnimEffects* AnimEffects() const { return animEffects_.get(); }
  bool IsDefault() const { return DefaultManager() == this; }
  void SetIsDefault(bool value);
  bool Active() const { return active_; }
  void SetActive(bool value);
  TStringList* CommonSections() const { return commonSections_.get(); }
  // Lines that do not begin with ";" lose all blanks; then the skin is reloaded.
  void SetCommonSections(TStrings* value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  TsStoredSkins* InternalSkins() const { return internalSkins_.get(); }
  TvlMenuSupport* MenuSupport() const { return menuSupport_.get(); }
  const std::wstring& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::wstring& value);
  const std::wstring& SkinName() const { return skinName_; }
  void SetSkinName(const std::wstring& value) { ApplySkinName(value); }
  // The loaded skin's options version ("6.5"), or "N/A"; writing does nothing.
  std::wstring SkinInfo() const;
  void SetSkinInfo(const std::wstring&) {}
  TvlSkinningRules SkinningRules() const { return skinningRules_; }
  void SetSkinningRules(TvlSkinningRules value) { skinningRules_ = value; }
  ThirdPartyList* ThirdParty() const { return thirdParty_.get(); }
  std::wstring Version() const { return kSkinManagerVersion; }

  TNotifyEvent OnAfterChange;
  TNotifyEvent OnBeforeChange;
  // Supplies the extra-line text of skinned menus: (manager, caption, line visible).
  Event<TObject*, std::wstring&, bool&> OnGetMenuExtraLineData;

  // The loaded skin as painters read it.
  const LoadedSkin& Skin() const { return skin_; }
  const TsCommonIndexes& CommonIndexes() const { return commonIndexes_; }
  bool IsPacked() const { return isPacked_; }
  // How far the extended-border shadow reaches beyond the window, and its two pictures.
  const Rect& ShadowMargins() const { return shadow_.Margins; }
  const Bitmap& ShadowActive() const { return shadow_.Active; }
  const Bitmap& ShadowInactive() const { return shadow_.Inactive; }
  // The class names of one ThirdParty list (index TvlThirdPartyIndex), one per line.
  TStringList* ThirdLists(int index) const { return thirdLists_.at(static_cast<size_t>(index)).get(); }

  // Lookups (see LoadedSkin); sections are valid only while a skin is in force.
  bool IsValidSection(int index) const { return active_ && skin_.IsValidSection(index); }
  bool IsValidItem(int index) const { return skin_.IsValidItem(index); }
  int SectionIndexOf(std::string_view name) const { return skin_.SectionIndexOf(name); }
  int ImageItemIndexExact(std::string_view section, std::string_view key) const { return skin_.ImageItemIndexExact(section, key); }
  int ImageItemIndexOf(int index, std::string_view section, std::string_view key) const {
    return skin_.ImageItemIndexOf(index, section, key);
  }
  int TextureItemIndexOf(int index, std::string_view section, std::string_view key) const {
    return skin_.TextureItemIndexOf(index, section, key);
  }
  int JpegPatternIndexOf(int index, std::string_view section, std::string_view key) const {
    return skin_.JpegPatternIndexOf(index, section, key);
  }

  // Global colours for controls that are not skinned themselves.
  TColor GlobalColor() const;
  TColor GlobalFontColor() const;
  TColor GlobalHotColor() const;
  TColor EditHotFontColor() const;
  TColor MenuHighlightColor() const;
  TColor MenuHighlightTextColor() const;

  // Loads the named skin (when Active) and announces it, or the removal of the skin when there
  // is none. A skin that fails to load gives way to the stored skin, or to the plain look when
  // that fails too; the error goes to the application's error display once, after the messages
  // waiting now.
  void ApplySkinName(const std::wstring& name);
  void AnnounceSkin(bool repaint);
  void AnnounceSkinRemoval();
  void RefreshAllForms();
  // Sends the skin command to every form (last first, each before its children), to the skinned
  // forms and to the visible hooked windows.
  void BroadcastSkinCommand(uint16_t command, LPARAM parameter, uint16_t argument = 0);
  void SetHotWindow(HWND window);
  HWND HotWindow() const { return hotWindow_; }
  void PrepareCommonIndexes();
  void PrepareExtendedBorders();
  // Fills `list` with the available skins (mode 0 folders, 1 archives, 2 both); answers the first.
  std::wstring ListSkins(TStrings& list, int mode) const;

  // Replace the platform's files or picture decoder (tests); nullptr restores the platform's.
  void SetFileSystem(const SkinFileSystem* files);
  void SetImageDecoder(const ImageDecoder* decoder);

 protected:
  void Loaded() override;
  void BeforeDestruction() override;

 private:
  void ShutDown();
  void Reload();
  void LoadNamedSkin();
  void ReportLoadError(const std::wstring& text);
  void FreezeForms();
  void UnfreezeForms(bool repaint);
  void SendToForm(TForm* form, WPARAM wParam, LPARAM lParam);
  void SendToChildren(class TWinControl* parent, WPARAM wParam, LPARAM lParam);
  void HookApplication(bool on);
  void InstallWindowHook(bool on);
  bool ServesForm(const TsSkinnedForm& form) const;
  void ApplicationMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowCreationHook(int code, WPARAM wParam, LPARAM lParam);

  LoadedSkin skin_;
  TsCommonIndexes commonIndexes_;
  TsExtendedBorderImages shadow_;
  bool isPacked_ = false;
  bool shutDown_ = false;

  bool extendedBorders_ = false;
  bool skinnedPopups_ = true;
  bool allowGlowing_ = true;
  bool active_ = true;
  int saturation_ = 0;
  int hueOffset_ = 0;
  std::wstring skinDirectory_ = kDefaultSkinDirectory;
  std::wstring skinName_;
  TvlSkinningRules skinningRules_{TvlSkinningRule::srStdForms, TvlSkinningRule::srStdDialogs,
                                  TvlSkinningRule::srThirdParty};
  std::unique_ptr<TvlAnimEffects> animEffects_;
  std::unique_ptr<TStringList> commonSections_;
  std::unique_ptr<TsStoredSkins> internalSkins_;
  std::unique_ptr<TvlMenuSupport> menuSupport_;
  std::unique_ptr<ThirdPartyList> thirdParty_;
  std::array<std::unique_ptr<TStringList>, tpCount> thirdLists_;

  std::unique_ptr<SkinFileSystem> platformFiles_;
  std::unique_ptr<ImageDecoder> platformDecoder_;
  const SkinFileSystem* files_ = nullptr;    // borrowed: platformFiles_ or a test's
  const ImageDecoder* decoder_ = nullptr;    // borrowed: platformDecoder_ or a test's
  HWND hotWindow_ = nullptr;                 // borrowed
  WindowSubclass applicationWatch_;  // the application window's messages, while this is the default manager
  UniqueWindowsHook windowHook_;                         // the window-creation hook while a skin is in force
};
