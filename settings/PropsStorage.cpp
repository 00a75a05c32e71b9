// See PropsStorage.h.
#include "settings/PropsStorage.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "framework/Collection.h"
#include "framework/Strings.h"

namespace props_text {

int SignificantDigits(FloatType type) {
  switch (type) {
    case FloatType::Single: return 7;
    case FloatType::Double: return 15;
    case FloatType::Extended:
    case FloatType::Comp: return 18;
    case FloatType::Currency: return 19;
  }
  return 15;
}

std::wstring FloatToText(double value, int significantDigits) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.*G", significantDigits, value);
  std::string text = buffer;
  // "1.5E-05" -> "1.5E-5", "1E+20" -> "1E20".
  size_t e = text.find('E');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    size_t digits = exponent.find_first_not_of("+-0");
    exponent = digits == std::string::npos ? "0" : exponent.substr(digits);
    text = mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  if (text == "-0") text = "0";
  return bv::Utf8ToWide(text);
}

std::optional<double> TextToFloat(std::wstring_view text, wchar_t decimalSeparator) {
  // As stored texts are read: "." becomes the locale's separator, and the locale's separator is
  // the decimal point. A text with another separator is not a number.
  std::string narrow;
  for (wchar_t c : text) {
    if (c == L'.' || c == decimalSeparator) narrow.push_back('.');
    else if (c < 128) narrow.push_back(static_cast<char>(c));
    else return std::nullopt;
  }
  if (narrow.empty()) return std::nullopt;
  const char* begin = narrow.data();
  // One leading "+" is allowed; "+-1" is not a number.
  if (*begin == '+' && *++begin == '-') return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(begin, narrow.data() + narrow.size(), value);
  if (error != std::errc() || end != narrow.data() + narrow.size()) return std::nullopt;
  return value;
}

std::wstring SetToText(uint32_t bits, const TypeInfo& element) {
  std::wstring text = L"[";
  bool first = true;
  for (size_t i = 0; i < element.identifiers.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (!first) text += L',';
    text += element.identifiers[i];
    first = false;
  }
  return text + L"]";
}

uint32_t TextToSet(std::wstring_view text, const TypeInfo& element) {
  uint32_t bits = 0;
  std::wstring word;
  auto flush = [&] {
    if (word.empty()) return;
    int index = element.IdentifierIndex(word);
    if (index >= 0 && index < 32) bits |= 1u << index;
    word.clear();
  };
  for (wchar_t c : text) {
    if (c == L' ' || c == L',' || c == L'[' || c == L']') flush();
    else word += c;
  }
  flush();
  return bits;
}

}  // namespace props_text

namespace {

bool IsStringKind(TypeKind kind) { return kind == TypeKind::String || kind == TypeKind::WChar; }

}  // namespace

std::wstring TPropsStorage::ReadPropString(const std::wstring& key, const std::wstring& fallback) {
  return OnReadString ? OnReadString(Section, key, fallback) : std::wstring();
}

void TPropsStorage::WritePropString(const std::wstring& key, const std::wstring& value) {
  if (OnWriteString) OnWriteString(Section, key, value);
}

void TPropsStorage::ErasePropSection(const std::wstring& section) {
  if (OnEraseSection) OnEraseSection(section);
}

std::wstring TPropsStorage::PropKeyName(const std::wstring& propertyName) const { return Prefix + propertyName; }

std::unique_ptr<TPropsStorage> TPropsStorage::CreateStorage() const { return std::make_unique<TPropsStorage>(); }

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(TObject* object, const std::wstring& section,
                                                     const std::wstring& prefix) const {
  std::unique_ptr<TPropsStorage> nested = CreateStorage();
  nested->AObject = object;
  nested->OwnerForm = OwnerForm;
  nested->Section = section;
  nested->Prefix = prefix;
  nested->OnReadString = OnReadString;
  nested->OnWriteString = OnWriteString;
  nested->OnEraseSection = OnEraseSection;
  nested->FindRoot = FindRoot;
  nested->DecimalSeparator = DecimalSeparator;
  return nested;
}

std::wstring TPropsStorage::ComponentReferenceText(TComponent* component) const {
  if (!component) return L"(null)";
  TComponent* owner = component->Owner();
  if (owner == OwnerForm || !owner) return component->Name();
  return ReferenceOwnerName(*owner) + L"." + component->Name();
}

std::wstring TPropsStorage::ReferenceOwnerName(const TComponent& owner) {
  std::wstring name = owner.Name();
  if (name.empty()) {
    name = owner.ClassName();
    if (!name.empty() && name[0] == L'T') name.erase(0, 1);
  }
  return name;
}

bool TPropsStorage::IsRootNamed(const TComponent& root, const std::wstring& name) {
  // An unnamed root was written under its class name; it is found again the same way.
  return !name.empty() && bv::SameText(ReferenceOwnerName(root), name);
}

TComponent* TPropsStorage::ResolveComponent(const std::wstring& text) const {
  size_t dot = text.find(L'.');
  if (dot == std::wstring::npos) return OwnerForm ? OwnerForm->FindComponent(text) : nullptr;
  TComponent* root = FindRoot ? FindRoot(text.substr(0, dot)) : nullptr;
  return root ? root->FindComponent(text.substr(dot + 1)) : nullptr;
}

std::wstring TPropsStorage::ValueText(const PropInfo& property, bool save) {
  TObject& object = *AObject;
  const TypeInfo& type = *property.type;
  switch (type.kind) {
    case TypeKind::Integer:
    case TypeKind::Int64:
      return std::to_wstring(property.getOrdinal(object));
    case TypeKind::Char:
    case TypeKind::WChar: {
      int64_t c = property.getOrdinal(object);
      return c ? std::wstring(1, static_cast<wchar_t>(c)) : std::wstring();
    }
    case TypeKind::Enumeration: {
      int64_t v = property.getOrdinal(object);
      return v >= 0 && v < static_cast<int64_t>(type.identifiers.size()) ? type.identifiers[static_cast<size_t>(v)]
                                                                        : std::to_wstring(v);
    }
    case TypeKind::Float:
      return props_text::FloatToText(property.getFloat(object), props_text::SignificantDigits(type.floatType));
    case TypeKind::String:
      return property.getString(object);
    case TypeKind::Set:
      return props_text::SetToText(static_cast<uint32_t>(property.getOrdinal(object)), *type.elementType);
    case TypeKind::Variant:
      return property.getVariant(object).ToText();
    case TypeKind::Class: {
      if (!save) return {};
      TObject* value = property.getObject(object);
      if (!value) return L"(null)";
      std::wstring key = PropKeyName(property.name);
      if (auto* strings = dynamic_cast<TStrings*>(value)) {
        std::wstring section = Section + L"." + key;
        ErasePropSection(section);
        if (strings->Count() > 0) {
          auto nested = Nested(nullptr, section, L"");
          nested->WritePropString(L"Count", std::to_wstring(strings->Count()));
          for (int i = 0; i < strings->Count(); ++i)
            nested->WritePropString(L"Item" + std::to_wstring(i), strings->Strings(i));
        }
        return {};
      }
      if (auto* collection = dynamic_cast<TCollection*>(value)) {
        std::wstring section = Section + L"." + key;
        ErasePropSection(section);
        WritePropString(key + L".Count", std::to_wstring(collection->Count()));
        for (int i = 0; i < collection->Count(); ++i)
          Nested(collection->Items(i), section, L"Item" + std::to_wstring(i) + L"_")->SaveObjectProps();
        return {};
      }
      if (auto* component = dynamic_cast<TComponent*>(value)) return ComponentReferenceText(component);
      Nested(value, Section, Prefix + property.name)->SaveObjectProps();
      return {};
    }
    case TypeKind::Method:
    case TypeKind::Unknown:
      break;
  }
  return {};
}

void TPropsStorage::SetValueText(const PropInfo& property, const std::wstring& text) {
  TObject& object = *AObject;
  const TypeInfo& type = *property.type;
  switch (type.kind) {
    case TypeKind::Integer:
    case TypeKind::Int64:
      if (property.setOrdinal) property.setOrdinal(object, bv::StrToInt64Def(text, 0));
      return;
    case TypeKind::Char:
    case TypeKind::WChar:
      if (!text.empty() && property.setOrdinal) property.setOrdinal(object, text[0]);
      return;
    case TypeKind::Enumeration: {
      int index = type.IdentifierIndex(text);
      if (index >= 0 && property.setOrdinal) property.setOrdinal(object, index);
      return;
    }
    case TypeKind::Float:
      if (auto value = props_text::TextToFloat(text, DecimalSeparator); value && property.setFloat)
        property.setFloat(object, *value);
      return;
    case TypeKind::String:
      if (property.setString) property.setString(object, text);
      return;
    case TypeKind::Set:
      if (property.setOrdinal) property.setOrdinal(object, props_text::TextToSet(text, *type.elementType));
      return;
    case TypeKind::Variant:
      if (property.setVariant) property.setVariant(object, Variant(text));
      return;
    case TypeKind::Class: {
      TObject* value = property.getObject(object);
      std::wstring key = PropKeyName(property.name);
      bool referenceType = type.classType && type.classType->InheritsFrom(TComponent::StaticClass());
      if (auto* strings = dynamic_cast<TStrings*>(value)) {
        auto nested = Nested(nullptr, Section + L"." + key, L"");
        int count = bv::StrToIntDef(bv::Trim(nested->ReadPropString(L"Count", L"0")), 0);
        if (count > 0) {
          strings->BeginUpdate();
          strings->Clear();
          for (int i = 0; i < count; ++i) strings->Add(nested->ReadPropString(L"Item" + std::to_wstring(i), L""));
          strings->EndUpdate();
        }
        return;
      }
      if (auto* collection = dynamic_cast<TCollection*>(value)) {
        int count = bv::StrToIntDef(bv::Trim(ReadPropString(key + L".Count", std::to_wstring(collection->Count()))),
                                    collection->Count());
        collection->BeginUpdate();
        if (count != collection->Count()) {
          collection->Clear();
          for (int i = 0; i < count; ++i) collection->Add();
        }
        for (int i = 0; i < collection->Count(); ++i)
          Nested(collection->Items(i), Section + L"." + key, L"Item" + std::to_wstring(i) + L"_")->LoadObjectProps();
        collection->EndUpdate();
        return;
      }
      if (referenceType || dynamic_cast<TComponent*>(value)) {
        if (text.empty() || !property.setObject) return;
        if (bv::SameText(text, L"(null)")) {
          property.setObject(object, nullptr);
          return;
        }
        property.setObject(object, ResolveComponent(text));
        return;
      }
      if (value) Nested(value, Section, Prefix + property.name)->LoadObjectProps();
      return;
    }
    case TypeKind::Method:
    case TypeKind::Unknown:
      return;
  }
}

void TPropsStorage::SaveProp(const PropInfo& property) {
  std::wstring text = ValueText(property, true);
  if (text.empty() && !IsStringKind(property.type->kind)) return;
  WritePropString(PropKeyName(property.name), bv::Trim(text));
}

void TPropsStorage::RestoreProp(const PropInfo& property) {
  try {
    TypeKind kind = property.type->kind;
    std::wstring current = ValueText(property, false);
    std::wstring text;
    if (!current.empty() || IsStringKind(kind) || kind == TypeKind::Class)
      text = bv::Trim(ReadPropString(PropKeyName(property.name), current));
    SetValueText(property, text);
  } catch (...) {
    // A property that cannot be restored keeps its value; the others still are.
  }
}

void TPropsStorage::SaveObjectProps() {
  for (const PropInfo* p : AObject->ClassType().Properties())
    if (p->type->kind != TypeKind::Method) SaveProp(*p);
}

void TPropsStorage::LoadObjectProps() {
  for (const PropInfo* p : AObject->ClassType().Properties())
    if (p->type->kind != TypeKind::Method) RestoreProp(*p);
}

void TPropsStorage::StorePropList(TComponent* ownerForm, TStrings& list) { RunPropList(ownerForm, list, true); }
void TPropsStorage::LoadPropList(TComponent* ownerForm, TStrings& list) { RunPropList(ownerForm, list, false); }

void TPropsStorage::RunPropList(TComponent* ownerForm, TStrings& list, bool save) {
  OwnerForm = ownerForm;
  // The list follows renamed components; lines whose component is gone are dropped.
  for (int i = list.Count() - 1; i >= 0; --i) {
    auto* component = dynamic_cast<TComponent*>(list.Objects(i));
    if (!component) {
      list.Delete(i);
      continue;
    }
    const std::wstring& line = list.Strings(i);
    size_t dot = line.find(L'.');
    std::wstring property = dot == std::wstring::npos ? std::wstring() : bv::Trim(line.substr(dot + 1));
    std::wstring updated = component->Name() + L"." + property;
    if (updated != line) {
      list.SetStrings(i, updated);
      list.SetObjects(i, component);
    }
  }
  for (int i = 0; i < list.Count(); ++i) {
    const std::wstring& line = list.Strings(i);
    size_t dot = line.find(L'.');
    if (dot == std::wstring::npos) continue;
    std::wstring componentName = bv::Trim(line.substr(0, dot));
    std::wstring propertyName = bv::Trim(line.substr(dot + 1));
    auto* component = dynamic_cast<TComponent*>(list.Objects(i));
    if (componentName.empty() || propertyName.empty() || !component) continue;
    const PropInfo* property = component->ClassType().FindProperty(propertyName);
    if (!property || property->type->kind == TypeKind::Method) continue;
    AObject = component;
    Prefix = component->Name() + L"_";
    if (save) SaveProp(*property);
    else RestoreProp(*property);
  }
}
