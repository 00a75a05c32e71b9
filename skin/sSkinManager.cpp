// See sSkinManager.h.
#include "skin/sSkinManager.h"

#include <charconv>

#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Strings.h"
#include "framework/Messages.h"
#include "pixel/WicImageDecoder.h"
#include "skin/GlobalColors.h"
#include "skin/SkinIni.h"
#include "skin/SkinLoader.h"
#include "skin/WinSkinFileSystem.h"

namespace {

TsSkinManager* defaultManager = nullptr;  // borrowed: the first manager, until it goes
bool skinApplying = false;
bool skinChanging = false;
bool skinLoading = false;

// Sets a process-wide flag for the life of the scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = false; }

 private:
  bool& flag_;
};

bool LayeredWindowsAvailable() {
  static const bool available =
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow") != nullptr;
  return available;
}

bool DesktopCompositionEnabled() {
  UniqueModule dwm(LoadLibraryW(L"dwmapi.dll"));
  if (!dwm) return false;
  using IsEnabled = HRESULT(WINAPI*)(BOOL*);
  auto isEnabled = reinterpret_cast<IsEnabled>(reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmIsCompositionEnabled")));
  BOOL enabled = FALSE;
  return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

// A built-in PNG picture of the program's resources, when it has one.
std::optional<Bitmap> ResourcePicture(const wchar_t* name, const ImageDecoder& decoder) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, name, RT_RCDATA);
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return decoder.Decode(ImageFileKind::ifPng,
                        std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), SizeofResource(module, found)));
}

WPARAM CommandParam(uint16_t command, uint16_t argument) { return MAKEWPARAM(argument, command); }

LRESULT Ask(TWinControl* control, uint16_t command) {
  WPARAM question = CommandParam(command, 0);
  if (control->HandleAllocated()) return SendMessageW(control->Handle(), SM_LACQUERCMD, question, 0);
  return control->Perform(SM_LACQUERCMD, question, 0);
}

std::wstring NormalizedCommonLine(const std::wstring& line) {
  if (!line.empty() && line[0] == L';') return line;
  std::wstring out;
  for (wchar_t c : line)
    if (c != L' ') out += c;
  return out;
}

}  // namespace

std::vector<TsSkinnedForm*>& SkinnedForms() {
  static std::vector<TsSkinnedForm*> forms;
  return forms;
}

std::vector<HWND>& SkinHookedWindows() {
  static std::vector<HWND> windows;
  return windows;
}

TsSkinManagerServices& SkinManagerServices() {
  static TsSkinManagerServices services;
  return services;
}

const TypeInfo& SkinningRulesType() {
  static const TypeInfo rule = MakeEnumType(L"TvlSkinningRule", {L"srStdForms", L"srStdDialogs", L"srThirdParty"});
  static const TypeInfo rules = MakeSetType(L"TvlSkinningRules", rule);
  return rules;
}

const ClassInfo& TsSkinManager::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsSkinManager>(L"TsSkinManager", &TComponent::StaticClass())
          .Boolean(L"ExtendedBorders", &TsSkinManager::ExtendedBorders, &TsSkinManager::SetExtendedBorders)
          .Boolean(L"SkinnedPopups", &TsSkinManager::SkinnedPopups, &TsSkinManager::SetSkinnedPopups)
          .Boolean(L"AllowGlowing", &TsSkinManager::AllowGlowing, &TsSkinManager::SetAllowGlowing)
          .Object(L"AnimEffects", TvlAnimEffects::StaticClass(), &TsSkinManager::AnimEffects, nullptr)
          .Boolean(L"IsDefault", &TsSkinManager::IsDefault, &TsSkinManager::SetIsDefault)
          .Boolean(L"Active", &TsSkinManager::Active, &TsSkinManager::SetActive)
          .Object(L"CommonSections", TStringList::StaticClass(), &TsSkinManager::CommonSections,
                  &TsSkinManager::SetCommonSections)
          .Integer(L"Saturation", &TsSkinManager::Saturation, &TsSkinManager::SetSaturation)
          .Integer(L"HueOffset", &TsSkinManager::HueOffset, &TsSkinManager::SetHueOffset)
          .Object(L"InternalSkins", TsStoredSkins::StaticClass(), &TsSkinManager::InternalSkins, nullptr)
          .Object(L"MenuSupport", TvlMenuSupport::StaticClass(), &TsSkinManager::MenuSupport, nullptr)
          .String(L"SkinDirectory", &TsSkinManager::SkinDirectory, &TsSkinManager::SetSkinDirectory)
          .String(L"SkinName", &TsSkinManager::SkinName, &TsSkinManager::SetSkinName)
          .String(L"SkinInfo", &TsSkinManager::SkinInfo, &TsSkinManager::SetSkinInfo)
          .Ordinal(L"SkinningRules", SkinningRulesType(), &TsSkinManager::SkinningRules, &TsSkinManager::SetSkinningRules)
          .Object(L"ThirdParty", ThirdPartyList::StaticClass(), &TsSkinManager::ThirdParty, nullptr)
          .String(L"Version", &TsSkinManager::Version, nullptr)
          .Build());
  return info;
}

TsSkinManager::TsSkinManager(TComponent* owner)
    : TComponent(owner),
      animEffects_(std::make_unique<TvlAnimEffects>()),
      commonSections_(std::make_unique<TStringList>()),
      internalSkins_(std::make_unique<TsStoredSkins>()),
      menuSupport_(std::make_unique<TvlMenuSupport>()),
      thirdParty_(std::make_unique<ThirdPartyList>()),
      platformFiles_(std::make_unique<WinSkinFileSystem>()),
      platformDecoder_(std::make_unique<WicImageDecoder>()) {
  files_ = platformFiles_.get();
  decoder_ = platformDecoder_.get();
  for (int i = 0; i < tpCount; ++i) {
    thirdLists_[static_cast<size_t>(i)] = std::make_unique<TStringList>();
    thirdLists_[static_cast<size_t>(i)]->SetText(thirdParty_->Text(i));
  }
  if (!defaultManager) {
    defaultManager = this;
    HookApplication(true);
  }
}

TsSkinManager::~TsSkinManager() { ShutDown(); }

void TsSkinManager::BeforeDestruction() {
  ShutDown();
  TComponent::BeforeDestruction();
}

void TsSkinManager::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  // Removing the skin first tells every window while all of this is still whole.
  if (active_) {
    active_ = false;
    AnnounceSkinRemoval();
  }
  InstallWindowHook(false);
  applicationWatch_.Remove();
  if (defaultManager == this) defaultManager = nullptr;
  hotWindow_ = nullptr;
  for (int i = 0; i < tpCount; ++i) thirdParty_->SetText(i, thirdLists_[static_cast<size_t>(i)]->Text());
}

TsSkinManager* TsSkinManager::DefaultManager() { return defaultManager; }
bool TsSkinManager::SkinApplying() { return skinApplying; }
bool TsSkinManager::SkinChanging() { return skinChanging; }
bool TsSkinManager::SkinLoading() { return skinLoading; }

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
  if (menuSupport_->IcoLineSkin().empty()) menuSupport_->SetIcoLineSkin(L"ICOLINE");
  for (int i = 0; i < tpCount; ++i) {
    if (thirdParty_->Text(i).empty()) thirdParty_->SetText(i, ThirdPartyList::DefaultText(i));
    thirdLists_[static_cast<size_t>(i)]->SetText(thirdParty_->Text(i));
  }
  if (active_ && !skinName_.empty()) AnnounceSkin(false);
}

bool TsSkinManager::ExtendedBorders() const { return extendedBorders_ && LayeredWindowsAvailable(); }
bool TsSkinManager::AllowGlowing() const { return allowGlowing_ && LayeredWindowsAvailable(); }

void TsSkinManager::SetExtendedBorders(bool value) {
  if (value == extendedBorders_) return;
  extendedBorders_ = value;
  PrepareExtendedBorders();
  Reload();
}

void TsSkinManager::SetHueOffset(int value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  Reload();
}

void TsSkinManager::SetSaturation(int value) {
  if (value == saturation_) return;
  saturation_ = value;
  Reload();
}

void TsSkinManager::SetCommonSections(TStrings* value) {
  commonSections_->Clear();
  if (value)
    for (int i = 0; i < value->Count(); ++i) commonSections_->Add(NormalizedCommonLine(value->Strings(i)));
  Reload();
}

void TsSkinManager::SetSkinDirectory(const std::wstring& value) {
  skinDirectory_ = value;
  skin_.Data.SkinPath = NormalizeSkinDirectory(value, files_->ProgramFolder());
}

void TsSkinManager::SetIsDefault(bool value) {
  if (!(value || !defaultManager) || defaultManager == this) return;
  if (defaultManager) defaultManager->applicationWatch_.Remove();
  defaultManager = this;
  HookApplication(true);
  if (IsLoading()) return;
  if (active_) {
    AnnounceSkin(true);
    RefreshAllForms();
  } else {
    AnnounceSkinRemoval();
  }
}

void TsSkinManager::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) {
    ApplySkinName(skinName_);
    return;
  }
  if (!IsLoading()) AnnounceSkinRemoval();
  PrepareCommonIndexes();
}

std::wstring TsSkinManager::SkinInfo() const {
  if (!skin_.Data.Active) return L"N/A";
  char text[32];
  auto [end, error] = std::to_chars(text, text + sizeof text, skin_.Data.Version);
  return error == std::errc() ? std::wstring(text, end) : L"N/A";
}

TColor TsSkinManager::GlobalColor() const { return ::GlobalColor(skin_); }
TColor TsSkinManager::GlobalFontColor() const { return ::GlobalFontColor(skin_); }
TColor TsSkinManager::GlobalHotColor() const { return ::GlobalHotColor(skin_); }
TColor TsSkinManager::EditHotFontColor() const { return ::EditHotFontColor(skin_); }
TColor TsSkinManager::MenuHighlightColor() const { return ::MenuHighlightColor(skin_); }
TColor TsSkinManager::MenuHighlightTextColor() const { return ::MenuHighlightTextColor(skin_); }

void TsSkinManager::SetFileSystem(const SkinFileSystem* files) { files_ = files ? files : platformFiles_.get(); }
void TsSkinManager::SetImageDecoder(const ImageDecoder* decoder) { decoder_ = decoder ? decoder : platformDecoder_.get(); }

void TsSkinManager::LoadNamedSkin() {
  SkinIni common = SkinIni::Parse(bv::WideToUtf8(commonSections_->Text()));
  SkinLoadRequest request;
  request.skinDirectory = skinDirectory_;
  request.skinName = skinName_;
  request.storedSkins = internalSkins_.get();
  request.commonSections = &common;
  request.hueOffset = hueOffset_;
  request.saturation = saturation_;
  request.manager = this;
  request.files = files_;
  request.decoder = decoder_;
  request.showMessage = [](const std::wstring& text) {
    if (SkinManagerServices().showMessage) SkinManagerServices().showMessage(text);
    else if (Application) Application->MessageDlg(text, Application->Title(), MB_OK | MB_ICONWARNING);
    else MessageBoxW(nullptr, text.c_str(), L"Skin", MB_OK | MB_ICONWARNING);
  };
  // A skin that fails to load (a damaged archive, bad options, no memory) gives way to the
  // stored skin, and to the plain look when that fails too; the error is shown once, after the
  // window is up.
  SkinLoadOutcome outcome;
  try {
    outcome = LoadSkin(skin_, request);
  } catch (const std::exception& error) {
    std::wstring text = L"The skin \"" + skinName_ + L"\" could not be loaded: " + ExceptionText(error);
    skin_ = LoadedSkin();
    outcome = SkinLoadOutcome();
    outcome.skinName = skinName_;
    if (DirectorySkinExists(*files_, skinDirectory_, skinName_)) {  // else the stored skin itself failed
      request.storedOnly = true;
      try {
        outcome = LoadSkin(skin_, request);
      } catch (const std::exception& again) {
        skin_ = LoadedSkin();
        outcome = SkinLoadOutcome();
        outcome.skinName = skinName_;
        text += L"\r\nThe stored skin could not be loaded either: " + ExceptionText(again);
      }
    }
    ReportLoadError(text);
  }
  skinName_ = outcome.skinName;
  isPacked_ = outcome.isPacked;
  if (!outcome.loaded) active_ = false;
}

void TsSkinManager::ReportLoadError(const std::wstring& text) {
  Exception error(text);
  if (Application) Application->ShowExceptionLater(error);
  else HandleException(error);
}

void TsSkinManager::ApplySkinName(const std::wstring& name) {
  skinName_ = name;
  if (!active_) return;
  OnBeforeChange(this);
  {
    FlagScope loading(skinLoading);
    skin_.Data.Active = false;
    LoadNamedSkin();
    if (!active_) AnnounceSkinRemoval();
    else AnnounceSkin(true);
  }
  OnAfterChange(this);
}

void TsSkinManager::Reload() {
  if (!skin_.Data.Active) return;
  LoadNamedSkin();
  PrepareCommonIndexes();
  if (!IsLoading()) RefreshAllForms();
}

void TsSkinManager::AnnounceSkin(bool repaint) {
  if (IsLoading()) return;
  TsSkinManagerServices& services = SkinManagerServices();
  if (services.removeAllGlowWindows) services.removeAllGlowWindows();
  if (repaint && !IsDesigning()) FreezeForms();
  if (services.skinChangedForMenus) services.skinChangedForMenus(*this);
  skin_.Data.Active = false;
  {
    FlagScope applying(skinApplying);
    PrepareCommonIndexes();
    BroadcastSkinCommand(scSkinApplied, reinterpret_cast<LPARAM>(this));
  }
  skin_.Data.Active = true;
  if (IsDefault()) InstallWindowHook(true);
  if (repaint) RefreshAllForms();
}

void TsSkinManager::AnnounceSkinRemoval() {
  TsSkinManagerServices& services = SkinManagerServices();
  if (services.removeAllGlowWindows) services.removeAllGlowWindows();
  InstallWindowHook(false);
  SkinHookedWindows().clear();
  skin_.Data.Active = false;
  if (!IsLoading()) BroadcastSkinCommand(scSkinRemoved, reinterpret_cast<LPARAM>(this));
  skin_.Items.clear();
  skin_.MasterBitmap = Bitmap();
  skin_.Patterns.clear();
  skin_.Sections.clear();
  // Nothing of the removed skin stays behind: its indexes would point into the cleared tables,
  // and a border window would cast its shadow.
  commonIndexes_ = TsCommonIndexes{};
  shadow_ = TsExtendedBorderImages{};
}

void TsSkinManager::RefreshAllForms() {
  if (!IsDesigning()) BroadcastSkinCommand(scBeforeRefresh, reinterpret_cast<LPARAM>(this));
  if (!IsLoading()) FreezeForms();
  BroadcastSkinCommand(scRefresh, reinterpret_cast<LPARAM>(this));
  if (!IsLoading()) UnfreezeForms(true);
  for (HWND window : std::vector<HWND>(SkinHookedWindows()))
    if (IsWindowVisible(window))
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinManager::BroadcastSkinCommand(uint16_t command, LPARAM parameter, uint16_t argument) {
  const WPARAM wParam = CommandParam(command, argument);
  // Forms from the last to the first; the list can change while they handle the message.
  const std::vector<TForm*>& forms = TForm::AllForms();
  for (size_t k = forms.size(); k > 0; --k) {
    if (k > forms.size()) k = forms.size();
    if (k == 0) break;
    TForm* form = forms[k - 1];
    if (form->FormStyle() == TFormStyle::fsMDIChild || form->IsDestroying() || form->IsLoading()) continue;
    if (Ask(form, scIsSkinAware) == 1) continue;  // reached below, through its form skinning
    SendToForm(form, wParam, parameter);
  }
  for (TsSkinnedForm* skinned : std::vector<TsSkinnedForm*>(SkinnedForms())) {
    TForm* form = skinned->Form();
    if (form && !form->IsDestroying()) SendToForm(form, wParam, parameter);
  }
  for (HWND window : std::vector<HWND>(SkinHookedWindows()))
    if (IsWindowVisible(window)) SendMessageW(window, SM_LACQUERCMD, wParam, parameter);
}

void TsSkinManager::SendToForm(TForm* form, WPARAM wParam, LPARAM lParam) {
  if (form->HandleAllocated()) SendMessageW(form->Handle(), SM_LACQUERCMD, wParam, lParam);
  else form->Perform(SM_LACQUERCMD, wParam, lParam);
  SendToChildren(form, wParam, lParam);
}

void TsSkinManager::SendToChildren(TWinControl* parent, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (child->IsDestroying()) break;
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated()) {
      child->Perform(SM_LACQUERCMD, wParam, lParam);
    } else if (Ask(windowed, scIsSkinAware) == 1) {
      SendMessageW(windowed->Handle(), SM_LACQUERCMD, wParam, lParam);  // it tells its own children
    } else {
      SendToChildren(windowed, wParam, lParam);
    }
  }
}

void TsSkinManager::SetHotWindow(HWND window) {
  if (window == hotWindow_) return;
  if (hotWindow_ && IsWindow(hotWindow_))
    SendMessageW(hotWindow_, SM_LACQUERCMD, CommandParam(scLeftHotWindow, 0), reinterpret_cast<LPARAM>(this));
  hotWindow_ = window;
  if (hotWindow_) SendMessageW(hotWindow_, SM_LACQUERCMD, CommandParam(scBecameHotWindow, 0), reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::PrepareCommonIndexes() {
  commonIndexes_ = ::PrepareCommonIndexes(skin_);
  PrepareExtendedBorders();
}

void TsSkinManager::PrepareExtendedBorders() {
  TsExtendedBorderRequest request;
  request.active = active_;
  request.extendedBorders = ExtendedBorders();
  std::optional<Bitmap> builtInActive, builtInInactive;
  // The program's own shadow pictures are decoded only for a loaded skin without a border of its
  // own: before a skin is loaded there is no border to cast (a program usually turns the borders
  // on before it names its skin, whose own border then replaces them).
  if (request.active && request.extendedBorders && commonIndexes_.ExBorder < 0 && !skin_.Sections.empty()) {
    request.compositionEnabled = DesktopCompositionEnabled();
    builtInActive = ResourcePicture(L"vlSHDA", *decoder_);
    builtInInactive = ResourcePicture(L"vlSHDI", *decoder_);
    if (builtInActive && builtInInactive) {
      request.builtInActive = &*builtInActive;
      request.builtInInactive = &*builtInInactive;
    }
  }
  shadow_ = ::PrepareExtendedBorders(skin_, commonIndexes_.ExBorder, request);
}

std::wstring TsSkinManager::ListSkins(TStrings& list, int mode) const {
  return ::ListSkins(*files_, skinDirectory_, internalSkins_.get(), list, mode);
}

bool TsSkinManager::ServesForm(const TsSkinnedForm& form) const {
  TsSkinManager* manager = form.Manager();
  return manager ? manager == this : IsDefault();
}

void TsSkinManager::FreezeForms() {
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated() &&
      IsIconic(Application->MainForm()->Handle()))
    return;
  if (IsDefault() && animEffects_->SkinChanging()->Active()) skinChanging = true;
  for (TsSkinnedForm* form : std::vector<TsSkinnedForm*>(SkinnedForms()))
    if (ServesForm(*form)) form->FreezeForSkinChange();
}

void TsSkinManager::UnfreezeForms(bool repaint) {
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated() &&
      IsIconic(Application->MainForm()->Handle()))
    return;
  skinChanging = false;
  for (TsSkinnedForm* form : std::vector<TsSkinnedForm*>(SkinnedForms()))
    if (ServesForm(*form)) form->UnfreezeAfterSkinChange(repaint);
}

void TsSkinManager::HookApplication(bool on) {
  applicationWatch_.Remove();
  if (on && Application && !IsDesigning())
    applicationWatch_.Install(Application->Handle(), [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (!skinnedPopups_) return false;
      if (msg == WM_THEMECHANGED) {
        result = 0;
        return true;
      }
      ApplicationMessage(msg, wParam, lParam);
      return false;
    });
}

void TsSkinManager::ApplicationMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case CM_ACTIVATE: BroadcastSkinCommand(scApplicationActivated, reinterpret_cast<LPARAM>(this)); break;
    case 48307:
    case 48308:
      if (SkinManagerServices().menuNotification) SkinManagerServices().menuNotification(msg, wParam, lParam);
      break;
    default: break;
  }
}

void TsSkinManager::InstallWindowHook(bool on) {
  if (!on) {
    bool had = static_cast<bool>(windowHook_);
    windowHook_.reset();
    if (had && SkinManagerServices().windowHookRemoved) SkinManagerServices().windowHookRemoved();
    return;
  }
  if (!windowHook_)
    windowHook_.reset(SetWindowsHookExW(WH_CBT, &TsSkinManager::WindowCreationHook, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TsSkinManager::WindowCreationHook(int code, WPARAM wParam, LPARAM lParam) {
  // The next hook first; ours never changes its answer.
  LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  if (code < 0) return result;
  const TsSkinManagerServices& services = SkinManagerServices();
  try {
    if (code == HCBT_CREATEWND && services.windowCreated) services.windowCreated(reinterpret_cast<HWND>(wParam));
    if (services.windowHookEvent) services.windowHookEvent(code, wParam, lParam);
  } catch (const std::exception& e) {
    HandleException(e);
  }
  return result;
}
