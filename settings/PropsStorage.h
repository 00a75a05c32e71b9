// TPropsStorage: turns published properties of components into keys and texts of a settings
// store and back, for every property kind (integer, character, enumeration and Boolean, floating
// point, strings, sets, variants, 64-bit integers, string lists, collections, component
// references and nested persistent objects). The store itself is reached through three
// callbacks (read a string, write a string, erase a section), so the same code serves any file.
// Plain C++.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/Component.h"
#include "framework/StringList.h"

class TPropsStorage {
 public:
  using ReadCallback = std::function<std::wstring(const std::wstring& section, const std::wstring& key,
                                                  const std::wstring& fallback)>;
  using WriteCallback = std::function<void(const std::wstring& section, const std::wstring& key, const std::wstring& value)>;
  using EraseCallback = std::function<void(const std::wstring& section)>;
  // Finds a form or other root component of the application by name, for references written
  // as "Form.Component"; IsRootNamed tells whether a root answers to a name.
  using FindRootCallback = std::function<TComponent*(const std::wstring& name)>;

  TPropsStorage() = default;
  virtual ~TPropsStorage() = default;
  TPropsStorage(const TPropsStorage&) = delete;
  TPropsStorage& operator=(const TPropsStorage&) = delete;

  TObject* AObject = nullptr;         // borrowed: the object whose properties are processed
  TComponent* OwnerForm = nullptr;    // borrowed: resolves component references
  std::wstring Prefix;                // put in front of every property name
  std::wstring Section;
  ReadCallback OnReadString;
  WriteCallback OnWriteString;
  EraseCallback OnEraseSection;
  FindRootCallback FindRoot;
  // The locale's decimal separator; floats are always stored with ".".
  wchar_t DecimalSeparator = L'.';

  // Saves (restores) every property the list names: one line per property, the component's
  // name, ".", and the property's name. Lines refer to components through their objects.
  void StorePropList(TComponent* ownerForm, TStrings& list);
  void LoadPropList(TComponent* ownerForm, TStrings& list);

  // One property of AObject.
  void SaveProp(const PropInfo& property);
  void RestoreProp(const PropInfo& property);
  // Every published property of AObject (not events).
  void SaveObjectProps();
  void LoadObjectProps();

  virtual std::wstring ReadPropString(const std::wstring& key, const std::wstring& fallback);
  virtual void WritePropString(const std::wstring& key, const std::wstring& value);
  virtual void ErasePropSection(const std::wstring& section);
  virtual std::wstring PropKeyName(const std::wstring& propertyName) const;
  // A storage of the same kind for nested objects (collection items, persistent sub-objects).
  virtual std::unique_ptr<TPropsStorage> CreateStorage() const;

  // The name a reference gives its owner: the owner's name, or for an unnamed owner its class
  // name without the leading "T".
  static std::wstring ReferenceOwnerName(const TComponent& owner);
  // Whether `root` is the one a reference names as its owner (any letter case).
  static bool IsRootNamed(const TComponent& root, const std::wstring& name);

 private:
  // The text of a property's current value; class-typed values save themselves when `save` is
  // set and give empty text.
  std::wstring ValueText(const PropInfo& property, bool save);
  void SetValueText(const PropInfo& property, const std::wstring& text);
  std::wstring ComponentReferenceText(TComponent* component) const;
  TComponent* ResolveComponent(const std::wstring& text) const;
  std::unique_ptr<TPropsStorage> Nested(TObject* object, const std::wstring& section, const std::wstring& prefix) const;
  void RunPropList(TComponent* ownerForm, TStrings& list, bool save);
};

namespace props_text {
// General format with the given significant digits, "." as decimal separator, an exponent
// without "+" and leading zeros ("1E20", "1.5E-5").
std::wstring FloatToText(double value, int significantDigits);
// "." and the locale separator both read as the decimal point; nullopt when not a number.
std::optional<double> TextToFloat(std::wstring_view text, wchar_t decimalSeparator);
// Significant digits of the stored float types.
int SignificantDigits(FloatType type);
// "[a,b]" of the members present; words separated by spaces, commas, "[" and "]" back to a set.
std::wstring SetToText(uint32_t bits, const TypeInfo& element);
uint32_t TextToSet(std::wstring_view text, const TypeInfo& element);
}  // namespace props_text
