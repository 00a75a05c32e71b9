// TFormPlacement and TFormStorage: components that a form owns to keep its window placement
// (and, for TFormStorage, a list of named component properties and free stored values) in a
// settings file. They restore when the form is first shown and save when it closes, by taking
// over the form's OnShow, OnCloseQuery and OnDestroy events; they also enforce size limits and
// an unsizeable border through a window hook.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "framework/Collection.h"
#include "framework/Form.h"
#include "framework/StringList.h"
#include "settings/SettingsFile.h"
#include "settings/WindowHook.h"

class TFormPlacement;

enum class TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;
const TypeInfo& PlacementOptionsType();

// Size and position limits; zero means "not set". Index order: MaxPosLeft, MaxPosTop,
// MaxSizeHeight, MaxSizeWidth, MaxTrackHeight, MaxTrackWidth, MinTrackHeight, MinTrackWidth.
class TWinMinMaxInfo : public TPersistent {
 public:
  explicit TWinMinMaxInfo(TFormPlacement* owner) : owner_(owner) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  int Value(int index) const { return values_.at(static_cast<size_t>(index)); }
  void SetValue(int index, int value);
  bool AnySet() const;
  void Assign(const TPersistent& source) override;

  int MaxPosLeft() const { return values_[0]; }
  int MaxPosTop() const { return values_[1]; }
  int MaxSizeHeight() const { return values_[2]; }
  int MaxSizeWidth() const { return values_[3]; }
  int MaxTrackHeight() const { return values_[4]; }
  int MaxTrackWidth() const { return values_[5]; }
  int MinTrackHeight() const { return values_[6]; }
  int MinTrackWidth() const { return values_[7]; }
  void SetMinTrackHeight(int v) { SetValue(6, v); }
  void SetMinTrackWidth(int v) { SetValue(7, v); }
  void SetMaxTrackHeight(int v) { SetValue(4, v); }
  void SetMaxTrackWidth(int v) { SetValue(5, v); }

  // Copies every value that is set into the platform's record.
  void ApplyTo(MINMAXINFO& info) const;

 private:
  TFormPlacement* owner_;  // borrowed: told when a limit changes
  std::array<int, 8> values_{};
};

class TFormPlacement : public TComponent {
 public:
  explicit TFormPlacement(TComponent* owner);
  ~TFormPlacement() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  const std::wstring& IniFileName() const { return iniFileName_; }
  void SetIniFileName(const std::wstring& value) { iniFileName_ = value; }
  const std::wstring& IniSection() const { return iniSection_; }
  void SetIniSection(const std::wstring& value) { iniSection_ = value; }
  TWinMinMaxInfo* MinMaxInfo() { return &minMaxInfo_; }
  void SetMinMaxInfo(TWinMinMaxInfo* value);
  TPlacementOptions Options() const { return options_; }
  void SetOptions(TPlacementOptions value) { options_ = value; }
  bool PreventResize() const { return preventResize_; }
  void SetPreventResize(bool value);
  int Version() const { return version_; }
  void SetVersion(int value) { version_ = value; }
  TNotifyEvent OnSavePlacement;
  TNotifyEvent OnRestorePlacement;

  // The file and section in use (the defaults when the properties are empty).
  std::wstring EffectiveFileName() const;
  std::wstring EffectiveSection() const;

  void RestoreSettings();
  void SaveSettings();
  void ReadWindowPlacement(TForm& form, TSettingsFile& file, const std::wstring& section, bool position, bool state);
  void WriteWindowPlacement(TForm& form, TSettingsFile& file, const std::wstring& section);
  std::wstring ReadSettingString(const std::wstring& key, const std::wstring& fallback);
  void WriteSettingString(const std::wstring& key, const std::wstring& value);
  int ReadSettingInteger(const std::wstring& key, int fallback);
  void WriteSettingInteger(const std::wstring& key, int value);

  // The size limits changed at run time.
  void MinMaxInfoModified();
  bool Restored() const { return restored_; }
  bool Saved() const { return saved_; }

 protected:
  void Loaded() override;
  void BeforeDestruction() override;
  virtual void SavePlacementPart();
  virtual void RestorePlacementPart();
  // The form the component works for, or nullptr.
  TForm* OwnerForm() const;
  // The outermost user of the settings file puts its writes in place with CommitSettings;
  // closing without it leaves the file as it was.
  void OpenSettings(bool readOnly);
  void CommitSettings();
  void CloseSettings();
  TSettingsFile* Settings() { return settings_.get(); }

 private:
  friend class TWinMinMaxInfo;
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  void WindowMessage(TMessage& message);
  void UpdateHook();
  void ApplyPreventResizeIcons();
  void AdjustMaximizedPosition();

  bool active_ = true;
  std::wstring iniFileName_;
  std::wstring iniSection_;
  TWinMinMaxInfo minMaxInfo_{this};
  TPlacementOptions options_;
  bool preventResize_ = false;
  int version_ = 0;

  std::unique_ptr<TSettingsFile> settings_;  // only while a save or restore runs
  int settingsUsers_ = 0;
  TPvWindowHook* hook_ = nullptr;            // owned as a component
  TNotifyEvent previousShow_;
  TCloseQueryEvent previousCloseQuery_;
  TNotifyEvent previousDestroy_;
  bool tookOverEvents_ = false;
  bool saved_ = false;
  bool restored_ = false;
  bool destroying_ = false;
  bool hadMaximizeButton_ = true;
};

// A named free value kept in the settings file.
class TStoredValue : public TCollectionItem {
 public:
  explicit TStoredValue(TCollection* collection);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& Name() const { return name_; }
  // Raises "String list does not allow duplicates" when another item has the name.
  void SetName(const std::wstring& value);
  const Variant& Value() const { return value_; }
  void SetValue(const Variant& value) { value_ = value; }
  const std::wstring& KeyString() const { return keyString_; }
  void SetKeyString(const std::wstring& value) { keyString_ = value; }
  Event<TStoredValue*, Variant&> OnSave;
  Event<TStoredValue*, Variant&> OnRestore;

  virtual void Save(TFormPlacement& placement);
  virtual void Restore(TFormPlacement& placement);

 private:
  std::wstring name_;
  Variant value_;
  std::wstring keyString_;
};

class TStoredValues : public TCollection {
 public:
  TStoredValues();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TStoredValue* Add() { return static_cast<TStoredValue*>(TCollection::Add()); }
  TStoredValue* Find(const std::wstring& name) const;
  void SaveValues(TFormPlacement& placement);
  void RestoreValues(TFormPlacement& placement);
};

namespace stored_values {
// Each character xor the key character at the same position (modulo the key length), as two
// lower-case hexadecimal digits.
std::wstring Encode(const std::wstring& text, const std::wstring& key);
// The reverse; an odd last character is ignored and a pair that is not hexadecimal counts as 32.
std::wstring Decode(const std::wstring& text, const std::wstring& key);
}  // namespace stored_values

class TFormStorage : public TFormPlacement {
 public:
  explicit TFormStorage(TComponent* owner);
  ~TFormStorage() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TStringList* StoredProps() { return storedProps_.get(); }
  void SetStoredProps(TStrings* value);
  TStoredValues* StoredValues() { return storedValues_.get(); }

  void SaveStoredProps();
  void RestoreStoredProps();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SavePlacementPart() override;
  void RestorePlacementPart() override;

 private:
  void ResolveStoredProps();
  std::unique_ptr<TStringList> storedProps_;
  std::unique_ptr<TStoredValues> storedValues_;
};
