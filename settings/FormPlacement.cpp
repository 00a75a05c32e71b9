// See FormPlacement.h.
#include "settings/FormPlacement.h"

#include <algorithm>

#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Strings.h"
#include "settings/PropsStorage.h"
#include "settings/WorkAreaFit.h"

const TypeInfo& PlacementOptionsType() {
  static const TypeInfo option = MakeEnumType(L"TPlacementOption", {L"fpState", L"fpPosition", L"fpActiveControl"});
  static const TypeInfo set = MakeSetType(L"TPlacementOptions", option);
  return set;
}

namespace {

// Words separated by runs of spaces and commas, as decimal numbers (`fallback` for each word
// that is missing or not a number).
std::array<int, 4> FourNumbers(const std::wstring& text, const std::array<int, 4>& fallback) {
  std::array<int, 4> values = fallback;
  size_t index = 0, pos = 0;
  while (index < 4 && pos < text.size()) {
    while (pos < text.size() && (text[pos] == L' ' || text[pos] == L',')) ++pos;
    size_t end = pos;
    while (end < text.size() && text[end] != L' ' && text[end] != L',') ++end;
    if (end > pos) values[index] = bv::StrToIntDef(text.substr(pos, end - pos), fallback[index]), ++index;
    pos = end;
  }
  return values;
}

std::wstring ScreenSuffix() {
  return L"(" + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" + std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L")";
}

int ScreenPixelsPerInch() {
  return GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY);
}

// The work areas of every monitor, in screen coordinates.
std::vector<work_area_fit::Rect> WorkAreas() {
  std::vector<work_area_fit::Rect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{sizeof(info)};
        if (GetMonitorInfoW(monitor, &info))
          reinterpret_cast<std::vector<work_area_fit::Rect>*>(data)->push_back(
              {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

// A normal-state rectangle of a placement (workspace coordinates: relative to the primary work
// area) moved so that the window's title band lies on a monitor's work area.
RECT FitNormalPosition(const RECT& normal, bool toolWindow) {
  POINT origin{0, 0};
  if (!toolWindow) {
    MONITORINFO primary{sizeof(primary)};
    if (GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary))
      origin = {primary.rcWork.left - primary.rcMonitor.left, primary.rcWork.top - primary.rcMonitor.top};
  }
  int band = GetSystemMetrics(toolWindow ? SM_CYSMCAPTION : SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) +
             GetSystemMetrics(SM_CXPADDEDBORDER);
  work_area_fit::Rect fitted = work_area_fit::FitTitleBand(
      {normal.left + origin.x, normal.top + origin.y, normal.right + origin.x, normal.bottom + origin.y}, WorkAreas(), band);
  return {fitted.left - origin.x, fitted.top - origin.y, fitted.right - origin.x, fitted.bottom - origin.y};
}

wchar_t LocaleDecimalSeparator() {
  wchar_t buffer[8];
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1 ? buffer[0] : L'.';
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TWinMinMaxInfo

const ClassInfo& TWinMinMaxInfo::StaticClass() {
  static const wchar_t* names[] = {L"MaxPosLeft",     L"MaxPosTop",     L"MaxSizeHeight",  L"MaxSizeWidth",
                                   L"MaxTrackHeight", L"MaxTrackWidth", L"MinTrackHeight", L"MinTrackWidth"};
  ClassInfo info = ClassBuilder<TWinMinMaxInfo>(L"TWinMinMaxInfo", &TPersistent::StaticClass()).Build();
  for (int i = 0; i < 8; ++i) {
    PropInfo p;
    p.name = names[i];
    p.type = &TypeInfo::Integer();
    p.getOrdinal = [i](TObject& o) -> int64_t { return static_cast<TWinMinMaxInfo&>(o).Value(i); };
    p.setOrdinal = [i](TObject& o, int64_t v) { static_cast<TWinMinMaxInfo&>(o).SetValue(i, static_cast<int>(v)); };
    info.ownProperties.push_back(std::move(p));
  }
  static const ClassInfo& registered = RegisterClassInfo(std::move(info));
  return registered;
}

void TWinMinMaxInfo::SetValue(int index, int value) {
  int& slot = values_.at(static_cast<size_t>(index));
  if (slot == value) return;
  slot = value;
  if (owner_) owner_->MinMaxInfoModified();
}

bool TWinMinMaxInfo::AnySet() const {
  return std::any_of(values_.begin(), values_.end(), [](int v) { return v != 0; });
}

void TWinMinMaxInfo::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TWinMinMaxInfo*>(&source)) {
    values_ = other->values_;
    if (owner_) owner_->MinMaxInfoModified();
    return;
  }
  TPersistent::Assign(source);
}

void TWinMinMaxInfo::ApplyTo(MINMAXINFO& info) const {
  if (MaxPosLeft()) info.ptMaxPosition.x = MaxPosLeft();
  if (MaxPosTop()) info.ptMaxPosition.y = MaxPosTop();
  if (MaxSizeHeight()) info.ptMaxSize.y = MaxSizeHeight();
  if (MaxSizeWidth()) info.ptMaxSize.x = MaxSizeWidth();
  if (MaxTrackHeight()) info.ptMaxTrackSize.y = MaxTrackHeight();
  if (MaxTrackWidth()) info.ptMaxTrackSize.x = MaxTrackWidth();
  if (MinTrackHeight()) info.ptMinTrackSize.y = MinTrackHeight();
  if (MinTrackWidth()) info.ptMinTrackSize.x = MinTrackWidth();
}

// ---------------------------------------------------------------------------------------------
// TFormPlacement

const ClassInfo& TFormPlacement::StaticClass() {
  using P = TFormPlacement;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<P>(L"TFormPlacement", &TComponent::StaticClass())
          .Boolean(L"Active", &P::Active, &P::SetActive)
          .String(L"IniFileName", &P::IniFileName, &P::SetIniFileName)
          .String(L"IniSection", &P::IniSection, &P::SetIniSection)
          .Object(L"MinMaxInfo", TWinMinMaxInfo::StaticClass(), &P::MinMaxInfo, &P::SetMinMaxInfo)
          .Ordinal(L"Options", PlacementOptionsType(), &P::Options, &P::SetOptions)
          .Boolean(L"PreventResize", &P::PreventResize, &P::SetPreventResize)
          .Integer(L"Version", &P::Version, &P::SetVersion)
          .Build());
  return info;
}

TFormPlacement::TFormPlacement(TComponent* owner) : TComponent(owner) {
  if (dynamic_cast<TForm*>(owner)) options_ = {TPlacementOption::fpState, TPlacementOption::fpPosition};
}

TFormPlacement::~TFormPlacement() = default;

TForm* TFormPlacement::OwnerForm() const { return dynamic_cast<TForm*>(Owner()); }

std::wstring TFormPlacement::EffectiveFileName() const { return iniFileName_.empty() ? settings_file::ProgramBaseName() + L".INI" : iniFileName_; }

std::wstring TFormPlacement::EffectiveSection() const {
  if (!iniSection_.empty()) return iniSection_;
  if (TForm* form = OwnerForm()) return form->ClassName();
  if (auto* control = dynamic_cast<TControl*>(Owner())) {
    TWinControl* parent = control->Parent();
    while (parent && !dynamic_cast<TForm*>(parent)) parent = parent->Parent();
    if (parent) return parent->ClassName() + control->Name();
    return (control->Parent() ? control->Parent()->Name() : std::wstring()) + control->Name();
  }
  return Owner() ? Owner()->ClassName() + L"." + Name() : Name();
}

void TFormPlacement::SetMinMaxInfo(TWinMinMaxInfo* value) {
  if (value) minMaxInfo_.Assign(*value);
}

void TFormPlacement::SetPreventResize(bool value) {
  if (value == preventResize_) return;
  preventResize_ = value;
  if (!IsLoading()) {
    ApplyPreventResizeIcons();
    MinMaxInfoModified();
  }
}

void TFormPlacement::Loaded() {
  TComponent::Loaded();
  TForm* form = OwnerForm();
  if (!form || IsDesigning()) return;
  // The form's events go through this component first; the previous handlers still run.
  previousShow_ = form->OnShow;
  previousCloseQuery_ = form->OnCloseQuery;
  previousDestroy_ = form->OnDestroy;
  form->OnShow.Set([this](TObject* s) { FormShow(s); }, this);
  form->OnCloseQuery.Set([this](TObject* s, bool& c) { FormCloseQuery(s, c); }, this);
  form->OnDestroy.Set([this](TObject* s) { FormDestroy(s); }, this);
  tookOverEvents_ = true;
  hadMaximizeButton_ = form->BorderIcons().Has(TBorderIcon::biMaximize);
  if (preventResize_) ApplyPreventResizeIcons();
  UpdateHook();
}

void TFormPlacement::BeforeDestruction() {
  TForm* form = OwnerForm();
  if (form && tookOverEvents_) {
    // Give the form its handlers back, unless someone took them over after this component.
    if (form->OnShow.Tag() == this) form->OnShow = previousShow_;
    if (form->OnCloseQuery.Tag() == this) form->OnCloseQuery = previousCloseQuery_;
    if (form->OnDestroy.Tag() == this) form->OnDestroy = previousDestroy_;
    tookOverEvents_ = false;
  }
  settings_.reset();
  TComponent::BeforeDestruction();
}

void TFormPlacement::UpdateHook() {
  TForm* form = OwnerForm();
  if (!form) return;
  if (minMaxInfo_.AnySet() || preventResize_) {
    if (!hook_) {
      hook_ = new TPvWindowHook(this);
      hook_->AfterMessage = [this](TObject*, TMessage& m, bool&) { WindowMessage(m); };
      hook_->SetWinControl(form);
    }
    hook_->HookControl();
  } else if (hook_) {
    hook_->UnhookControl();
  }
}

void TFormPlacement::WindowMessage(TMessage& m) {
  TForm* form = OwnerForm();
  if (!preventResize_) {
    if (m.Msg == WM_GETMINMAXINFO) {
      auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
      if (minMaxInfo_.AnySet()) minMaxInfo_.ApplyTo(*info);
      else info->ptMaxPosition = {0, 0};
      m.Result = 1;
    }
    return;
  }
  if (!form) return;
  switch (m.Msg) {
    case WM_GETMINMAXINFO:
      if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        info->ptMinTrackSize = {form->Width(), form->Height()};
        info->ptMaxTrackSize = {form->Width(), form->Height()};
        m.Result = 1;
      }
      break;
    case WM_NCHITTEST:
      if (m.Result >= HTLEFT && m.Result <= HTBOTTOMRIGHT) m.Result = HTNOWHERE;
      break;
    case WM_INITMENUPOPUP:
      if (HIWORD(m.LParam) != 0) {
        auto menu = reinterpret_cast<HMENU>(m.WParam);
        EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
        EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
        m.Result = 1;
      }
      break;
    default:
      break;
  }
}

void TFormPlacement::ApplyPreventResizeIcons() {
  TForm* form = OwnerForm();
  if (!form) return;
  if (preventResize_) hadMaximizeButton_ = form->BorderIcons().Has(TBorderIcon::biMaximize);
  // The window is created again for the new border icons; that must neither save nor restore.
  bool wasActive = active_;
  active_ = false;
  TBorderIcons icons = form->BorderIcons();
  if (preventResize_ || !hadMaximizeButton_ || form->BorderStyle() == TFormBorderStyle::bsDialog)
    icons.Exclude(TBorderIcon::biMaximize);
  else
    icons.Include(TBorderIcon::biMaximize);
  form->SetBorderIcons(icons);
  active_ = wasActive;
}

void TFormPlacement::MinMaxInfoModified() {
  AdjustMaximizedPosition();
  if (!IsLoading()) UpdateHook();
}

void TFormPlacement::AdjustMaximizedPosition() {
  TForm* form = OwnerForm();
  if (!form || !form->HandleAllocated() || IsLoading() || preventResize_ || minMaxInfo_.AnySet()) return;
  WINDOWPLACEMENT wp{sizeof(wp)};
  GetWindowPlacement(form->Handle(), &wp);
  if (!IsWindowVisible(form->Handle())) wp.showCmd = SW_HIDE;
  POINT border{0, 0};
  switch (form->BorderStyle()) {
    case TFormBorderStyle::bsNone: break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: border = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)}; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: border = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)}; break;
    case TFormBorderStyle::bsDialog: border = {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)}; break;
  }
  wp.ptMaxPosition = {-border.x, -border.y};
  SetWindowPlacement(form->Handle(), &wp);
}

void TFormPlacement::FormShow(TObject* sender) {
  if (active_) {
    try {
      RestoreSettings();
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  previousShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
  previousCloseQuery_(sender, canClose);
  TForm* form = OwnerForm();
  if (!canClose || !active_ || !form || !form->HandleAllocated()) return;
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    // Reported here, once: the destruction does not try again.
    saved_ = true;
    HandleException(e);
  }
}

void TFormPlacement::FormDestroy(TObject* sender) {
  if (active_ && !saved_) {
    destroying_ = true;
    try {
      SaveSettings();
    } catch (const std::exception& e) {
      HandleException(e);
    }
    destroying_ = false;
  }
  previousDestroy_(sender);
}

void TFormPlacement::OpenSettings(bool) {
  if (settingsUsers_++ == 0) settings_ = std::make_unique<TSettingsFile>(EffectiveFileName());
}

void TFormPlacement::CommitSettings() {
  if (settingsUsers_ == 1 && settings_) settings_->Commit();
}

void TFormPlacement::CloseSettings() {
  if (settingsUsers_ > 0 && --settingsUsers_ == 0) settings_.reset();
}

std::wstring TFormPlacement::ReadSettingString(const std::wstring& key, const std::wstring& fallback) {
  OpenSettings(true);
  struct Close {
    TFormPlacement* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  return settings_->ReadString(EffectiveSection(), key, fallback);
}

void TFormPlacement::WriteSettingString(const std::wstring& key, const std::wstring& value) {
  OpenSettings(false);
  struct Close {
    TFormPlacement* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  settings_->WriteString(EffectiveSection(), key, value);
  CommitSettings();
}

int TFormPlacement::ReadSettingInteger(const std::wstring& key, int fallback) {
  return settings_file::IntegerValue(ReadSettingString(key, L""), fallback);
}

void TFormPlacement::WriteSettingInteger(const std::wstring& key, int value) { WriteSettingString(key, std::to_wstring(value)); }

void TFormPlacement::RestoreSettings() {
  saved_ = false;
  OpenSettings(true);
  struct Close {
    TFormPlacement* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  std::wstring section = EffectiveSection();
  if (settings_->ReadInteger(section, L"FormVersion", 0) >= version_) {
    TForm* form = OwnerForm();
    if (form)
      ReadWindowPlacement(*form, *settings_, section, options_.Has(TPlacementOption::fpPosition),
                          options_.Has(TPlacementOption::fpState));
    RestorePlacementPart();
    restored_ = true;
    OnRestorePlacement(this);
    if (form && options_.Has(TPlacementOption::fpActiveControl)) {
      std::wstring name = settings_->ReadString(section, L"ActiveControl", L"");
      if (auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name)); control && control->CanFocus())
        form->SetActiveControl(control);
    }
  }
  restored_ = true;
  CommitSettings();  // what handlers of the restore wrote
  AdjustMaximizedPosition();
}

void TFormPlacement::ReadWindowPlacement(TForm& form, TSettingsFile& file, const std::wstring& section, bool position,
                                         bool state) {
  if (!position && !state) return;
  HWND window = form.Handle();
  WINDOWPLACEMENT wp{sizeof(wp)};
  GetWindowPlacement(window, &wp);
  if (!IsWindowVisible(window)) wp.showCmd = SW_HIDE;
  if (position) {
    wp.flags = static_cast<UINT>(file.ReadInteger(section, L"Flags", static_cast<int>(wp.flags)));
    auto screenKey = [&](const std::wstring& key) {
      std::wstring text = file.ReadString(section, key + ScreenSuffix(), L"");
      return text.empty() ? file.ReadString(section, key, L"") : text;
    };
    bool found = false;
    std::wstring minMax = screenKey(L"MinMaxPos");
    if (!minMax.empty()) {
      auto v = FourNumbers(minMax, {0, 0, 0, 0});
      wp.ptMinPosition = {v[0], v[1]};
      wp.ptMaxPosition = {v[2], v[3]};
      found = true;
    }
    std::wstring normal = screenKey(L"NormPos");
    if (!normal.empty()) {
      auto v = FourNumbers(normal, {form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()});
      wp.rcNormalPosition = {v[0], v[1], v[2], v[3]};
      found = true;
    }
    int ppi = ScreenPixelsPerInch();
    if (found && file.ReadInteger(section, L"PixelsPerInch", ppi) == ppi) {
      bool sizeable = form.BorderStyle() == TFormBorderStyle::bsSizeable || form.BorderStyle() == TFormBorderStyle::bsSizeToolWin;
      if (!sizeable) {
        wp.rcNormalPosition.right = wp.rcNormalPosition.left + form.Width();
        wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + form.Height();
      }
      if (wp.rcNormalPosition.left < wp.rcNormalPosition.right) {
        // A rectangle stored on another monitor arrangement may lie off every screen.
        wp.rcNormalPosition = FitNormalPosition(wp.rcNormalPosition, GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        if (form.Position() == TPosition::poScreenCenter || form.Position() == TPosition::poDesktopCenter)
          form.SetPosition(TPosition::poDesigned);
        SetWindowPlacement(window, &wp);
      }
    }
  }
  if (state) {
    bool isMain = !Application || !Application->MainForm() || Application->MainForm() == &form;
    TWindowState fallback = isMain && (form.FormStyle() == TFormStyle::fsMDIForm || form.Position() == TPosition::poDefault)
                                ? TWindowState::wsMaximized
                                : TWindowState::wsNormal;
    TWindowState restored = fallback;
    switch (file.ReadInteger(section, L"ShowCmd", 0)) {
      case 1:
      case 5:
      case 9: restored = TWindowState::wsNormal; break;
      case 2:
      case 6:
      case 7: restored = TWindowState::wsMinimized; break;
      case 3: restored = TWindowState::wsMaximized; break;
      default: break;
    }
    // A window closed while minimised opens in the state it had before it was minimised: a
    // window that starts minimised is easily taken for one that did not start.
    if (restored == TWindowState::wsMinimized)
      restored = file.ReadInteger(section, L"Flags", 0) & WPF_RESTORETOMAXIMIZED ? TWindowState::wsMaximized
                                                                                : TWindowState::wsNormal;
    form.SetWindowState(restored);
  }
  UpdateWindow(window);
}

void TFormPlacement::WriteWindowPlacement(TForm& form, TSettingsFile& file, const std::wstring& section) {
  HWND window = form.Handle();
  WINDOWPLACEMENT wp{sizeof(wp)};
  GetWindowPlacement(window, &wp);
  if (Application && Application->MainForm() == &form && IsIconic(window)) wp.showCmd = SW_SHOWMINIMIZED;
  file.WriteInteger(section, L"Flags", static_cast<int>(wp.flags));
  file.WriteInteger(section, L"ShowCmd", static_cast<int>(wp.showCmd));
  file.WriteInteger(section, L"PixelsPerInch", ScreenPixelsPerInch());
  auto four = [](int a, int b, int c, int d) {
    return std::to_wstring(a) + L"," + std::to_wstring(b) + L"," + std::to_wstring(c) + L"," + std::to_wstring(d);
  };
  std::wstring minMax = four(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y);
  std::wstring normal = four(wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right, wp.rcNormalPosition.bottom);
  file.WriteString(section, L"MinMaxPos" + ScreenSuffix(), minMax);
  file.WriteString(section, L"MinMaxPos", minMax);
  file.WriteString(section, L"NormPos" + ScreenSuffix(), normal);
  file.WriteString(section, L"NormPos", normal);
}

void TFormPlacement::SaveSettings() {
  // A form that was never shown never overwrites its settings.
  if (active_ && !restored_) return;
  OpenSettings(false);
  struct Close {
    TFormPlacement* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  std::wstring section = EffectiveSection();
  settings_->WriteInteger(section, L"FormVersion", version_);
  if (TForm* form = OwnerForm()) {
    if (options_.Has(TPlacementOption::fpState) || options_.Has(TPlacementOption::fpPosition)) {
      WriteWindowPlacement(*form, *settings_, section);
      settings_->WriteString(section, L"Visible", destroying_ ? L"1" : L"0");
    }
    if (options_.Has(TPlacementOption::fpActiveControl) && form->ActiveControl())
      settings_->WriteString(section, L"ActiveControl", form->ActiveControl()->Name());
  }
  SavePlacementPart();
  OnSavePlacement(this);
  CommitSettings();
  saved_ = true;
}

void TFormPlacement::SavePlacementPart() {}
void TFormPlacement::RestorePlacementPart() {}

// ---------------------------------------------------------------------------------------------
// Stored values

namespace stored_values {

std::wstring Encode(const std::wstring& text, const std::wstring& key) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned value = (static_cast<unsigned>(text[i]) ^ static_cast<unsigned>(key[i % key.size()])) & 0xFF;
    out += digits[value >> 4];
    out += digits[value & 0xF];
  }
  return out;
}

std::wstring Decode(const std::wstring& text, const std::wstring& key) {
  auto hex = [](wchar_t c) -> int {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  };
  std::wstring out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int high = hex(text[i]), low = hex(text[i + 1]);
    unsigned value = high < 0 || low < 0 ? 32u : static_cast<unsigned>(high * 16 + low);
    size_t position = i / 2;
    out += static_cast<wchar_t>((value ^ static_cast<unsigned>(key[position % key.size()])) & 0xFF);
  }
  return out;
}

}  // namespace stored_values

const ClassInfo& TStoredValue::StaticClass() {
  using V = TStoredValue;
  static const ClassInfo& info = RegisterClassInfo(ClassBuilder<V>(L"TStoredValue", &TCollectionItem::StaticClass())
                                                       .String(L"Name", &V::Name, &V::SetName)
                                                       .VariantProp(L"Value", &V::Value, &V::SetValue)
                                                       .String(L"KeyString", &V::KeyString, &V::SetKeyString)
                                                       .Build());
  return info;
}

TStoredValue::TStoredValue(TCollection* collection) : TCollectionItem(collection) {}

void TStoredValue::SetName(const std::wstring& value) {
  if (auto* values = dynamic_cast<TStoredValues*>(Collection())) {
    TStoredValue* other = values->Find(value);
    if (other && other != this) throw EStringListError(L"String list does not allow duplicates");
  }
  name_ = value;
}

void TStoredValue::Save(TFormPlacement& placement) {
  Variant copy = value_;
  OnSave(this, copy);
  std::wstring text = copy.ToText();
  if (!keyString_.empty()) text = stored_values::Encode(text, keyString_);
  placement.WriteSettingString(name_, text);
}

void TStoredValue::Restore(TFormPlacement& placement) {
  std::wstring fallback = value_.ToText();
  if (!keyString_.empty()) fallback = stored_values::Encode(fallback, keyString_);
  std::wstring text = placement.ReadSettingString(name_, fallback);
  if (!keyString_.empty()) text = stored_values::Decode(text, keyString_);
  Variant restored{text};
  OnRestore(this, restored);
  value_ = restored;
}

const ClassInfo& TStoredValues::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TStoredValues>(L"TStoredValues", &TCollection::StaticClass()).Build());
  return info;
}

TStoredValues::TStoredValues()
    : TCollection(TStoredValue::StaticClass(), [](TCollection* c) { return std::make_unique<TStoredValue>(c); }) {}

TStoredValue* TStoredValues::Find(const std::wstring& name) const {
  for (int i = 0; i < Count(); ++i) {
    auto* item = static_cast<TStoredValue*>(Items(i));
    if (bv::SameText(item->Name(), name)) return item;
  }
  return nullptr;
}

void TStoredValues::SaveValues(TFormPlacement& placement) {
  for (int i = 0; i < Count(); ++i) static_cast<TStoredValue*>(Items(i))->Save(placement);
}

void TStoredValues::RestoreValues(TFormPlacement& placement) {
  for (int i = 0; i < Count(); ++i) static_cast<TStoredValue*>(Items(i))->Restore(placement);
}

// ---------------------------------------------------------------------------------------------
// TFormStorage

const ClassInfo& TFormStorage::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TFormStorage>(L"TFormStorage", &TFormPlacement::StaticClass())
          .Object(L"StoredProps", TStringList::StaticClass(), &TFormStorage::StoredProps, &TFormStorage::SetStoredProps)
          .Object(L"StoredValues", TStoredValues::StaticClass(), &TFormStorage::StoredValues, nullptr)
          .Build());
  return info;
}

TFormStorage::TFormStorage(TComponent* owner)
    : TFormPlacement(owner), storedProps_(std::make_unique<TStringList>()), storedValues_(std::make_unique<TStoredValues>()) {}

TFormStorage::~TFormStorage() = default;

void TFormStorage::SetStoredProps(TStrings* value) {
  if (value) storedProps_->Assign(*value);
  if (!IsLoading()) ResolveStoredProps();
}

void TFormStorage::Loaded() {
  TFormPlacement::Loaded();
  ResolveStoredProps();
}

void TFormStorage::ResolveStoredProps() {
  TForm* form = OwnerForm();
  for (int i = storedProps_->Count() - 1; i >= 0; --i) {
    const std::wstring line = storedProps_->Strings(i);
    size_t dot = line.find(L'.');
    std::wstring componentName = dot == std::wstring::npos ? std::wstring() : bv::Trim(line.substr(0, dot));
    std::wstring propertyName = dot == std::wstring::npos ? std::wstring() : bv::Trim(line.substr(dot + 1));
    TComponent* component = nullptr;
    if (form && !componentName.empty())
      component = bv::SameText(componentName, form->Name()) ? form : form->FindComponent(componentName);
    if (propertyName.empty() || !component) {
      storedProps_->Delete(i);
      continue;
    }
    storedProps_->SetObjects(i, component);
    if (component != form) component->FreeNotification(this);
  }
}

void TFormStorage::Notification(TComponent* component, TOperation operation) {
  TFormPlacement::Notification(component, operation);
  if (operation != TOperation::opRemove || !storedProps_) return;
  for (int i = storedProps_->Count() - 1; i >= 0; --i)
    if (storedProps_->Objects(i) == component) storedProps_->Delete(i);
}

namespace {

std::unique_ptr<TPropsStorage> StorageFor(TSettingsFile& file, const std::wstring& section) {
  auto storage = std::make_unique<TPropsStorage>();
  storage->Section = section;
  storage->DecimalSeparator = LocaleDecimalSeparator();
  storage->OnReadString = [&file](const std::wstring& s, const std::wstring& k, const std::wstring& d) {
    return file.ReadString(s, k, d);
  };
  storage->OnWriteString = [&file](const std::wstring& s, const std::wstring& k, const std::wstring& v) {
    file.WriteString(s, k, v);
  };
  storage->OnEraseSection = [&file](const std::wstring& s) { file.EraseSection(s); };
  storage->FindRoot = [](const std::wstring& name) -> TComponent* {
    for (TForm* form : TForm::AllForms())
      if (TPropsStorage::IsRootNamed(*form, name)) return form;
    return nullptr;
  };
  return storage;
}

}  // namespace

void TFormStorage::SaveStoredProps() {
  OpenSettings(false);
  struct Close {
    TFormStorage* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  StorageFor(*Settings(), EffectiveSection())->StorePropList(OwnerForm(), *storedProps_);
  CommitSettings();
}

void TFormStorage::RestoreStoredProps() {
  OpenSettings(true);
  struct Close {
    TFormStorage* self;
    ~Close() { self->CloseSettings(); }
  } close{this};
  try {
    StorageFor(*Settings(), EffectiveSection())->LoadPropList(OwnerForm(), *storedProps_);
  } catch (const std::exception&) {
    // Restoring single properties never stops the window.
  }
  CommitSettings();
}

void TFormStorage::SavePlacementPart() {
  TFormPlacement::SavePlacementPart();
  SaveStoredProps();
  storedValues_->SaveValues(*this);
}

void TFormStorage::RestorePlacementPart() {
  TFormPlacement::RestorePlacementPart();
  RestoreStoredProps();
  storedValues_->RestoreValues(*this);
}
