// Run-time type information for published properties: every component class describes the
// properties it publishes (name, kind, enumeration identifiers, set element type, float type,
// class type) together with getter and setter functions, so that the settings layer can find a
// property by name and read or write it as text. Plain C++; no platform calls.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

class TObject;
struct ClassInfo;

enum class TypeKind { Unknown, Integer, Char, Enumeration, Float, String, Set, Class, Method, WChar, Variant, Int64 };
enum class FloatType { Single, Double, Extended, Comp, Currency };

struct TypeInfo {
  TypeKind kind = TypeKind::Unknown;
  std::wstring name;
  std::vector<std::wstring> identifiers;   // enumeration: member names, value = position
  const TypeInfo* elementType = nullptr;   // set: the enumeration of its members
  FloatType floatType = FloatType::Double; // float: the stored precision
  const ClassInfo* classType = nullptr;    // class: the class of the referenced object

  // The first identifier equal to `text` without regard to case, or -1.
  int IdentifierIndex(std::wstring_view text) const;

  static const TypeInfo& Integer();
  static const TypeInfo& Int64();
  static const TypeInfo& String();
  static const TypeInfo& Boolean();  // an enumeration of False, True
  static const TypeInfo& Char();
  static const TypeInfo& WChar();
  static const TypeInfo& Variant();
  static const TypeInfo& Float(FloatType type);
};

TypeInfo MakeEnumType(std::wstring name, std::initializer_list<const wchar_t*> identifiers);
TypeInfo MakeSetType(std::wstring name, const TypeInfo& element);

// A set of up to 32 members of an enumeration, stored as bits 0..31 like the settings files expect.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint32_t Bits() const { return bits_; }
  constexpr bool Has(E m) const { return (bits_ >> static_cast<unsigned>(m)) & 1u; }
  constexpr void Include(E m) { bits_ |= 1u << static_cast<unsigned>(m); }
  constexpr void Exclude(E m) { bits_ &= ~(1u << static_cast<unsigned>(m)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const TSet&) const = default;

 private:
  uint32_t bits_ = 0;
};

// A small variant for published variant properties and stored values.
struct Variant {
  std::variant<std::monostate, int64_t, double, bool, std::wstring> value;
  Variant() = default;
  Variant(std::wstring text) : value(std::move(text)) {}
  Variant(int64_t number) : value(number) {}
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value); }
  std::wstring ToText() const;
  bool operator==(const Variant&) const = default;
};

struct PropInfo {
  std::wstring name;
  const TypeInfo* type = nullptr;
  // Ordinal kinds (integer, character, enumeration, Boolean, set, 64-bit integer).
  std::function<int64_t(TObject&)> getOrdinal;
  std::function<void(TObject&, int64_t)> setOrdinal;
  std::function<double(TObject&)> getFloat;
  std::function<void(TObject&, double)> setFloat;
  std::function<std::wstring(TObject&)> getString;
  std::function<void(TObject&, const std::wstring&)> setString;
  std::function<TObject*(TObject&)> getObject;  // class kind: the object (borrowed)
  std::function<void(TObject&, TObject*)> setObject;
  std::function<::Variant(TObject&)> getVariant;
  std::function<void(TObject&, const ::Variant&)> setVariant;

  bool Writable() const { return setOrdinal || setFloat || setString || setObject || setVariant; }
};

struct ClassInfo {
  std::wstring name;
  const ClassInfo* parent = nullptr;
  std::vector<PropInfo> ownProperties;
  TypeInfo classTypeInfo;  // kind Class, classType = this

  bool InheritsFrom(const ClassInfo& other) const;
  // Every published property, the ancestors' first.
  std::vector<const PropInfo*> Properties() const;
  // The property whose name equals `name` without regard to case, or nullptr.
  const PropInfo* FindProperty(std::wstring_view name) const;
};

namespace typeinfo_detail {

template <class T>
int64_t ToOrdinal(T value) {
  if constexpr (std::is_enum_v<T>) return static_cast<int64_t>(value);
  else if constexpr (std::is_same_v<T, bool>) return value ? 1 : 0;
  else if constexpr (std::is_integral_v<T>) return static_cast<int64_t>(value);
  else return static_cast<int64_t>(value.Bits());  // TSet
}

template <class T>
T FromOrdinal(int64_t value) {
  if constexpr (std::is_enum_v<T>) return static_cast<T>(value);
  else if constexpr (std::is_same_v<T, bool>) return value != 0;
  else if constexpr (std::is_integral_v<T>) return static_cast<T>(value);
  else return T::FromBits(static_cast<uint32_t>(value));  // TSet
}

template <class K, class A>
A SetterArgument(void (K::*)(A));

}  // namespace typeinfo_detail

// Describes the published properties of class C. Getters are const member functions, setters
// member functions taking one argument; pass nullptr for a read-only property.
template <class C>
class ClassBuilder {
 public:
  ClassBuilder(std::wstring name, const ClassInfo* parent) {
    info_.name = std::move(name);
    info_.parent = parent;
  }

  template <class Get, class Set>
  ClassBuilder& Ordinal(std::wstring name, const TypeInfo& type, Get get, Set set) {
    PropInfo p;
    p.name = std::move(name);
    p.type = &type;
    p.getOrdinal = [get](TObject& o) { return typeinfo_detail::ToOrdinal((static_cast<C&>(o).*get)()); };
    if constexpr (!std::is_null_pointer_v<Set>) {
      using Arg = std::decay_t<decltype(typeinfo_detail::SetterArgument(set))>;
      p.setOrdinal = [set](TObject& o, int64_t v) { (static_cast<C&>(o).*set)(typeinfo_detail::FromOrdinal<Arg>(v)); };
    }
    info_.ownProperties.push_back(std::move(p));
    return *this;
  }
  template <class Get, class Set>
  ClassBuilder& Integer(std::wstring name, Get get, Set set) { return Ordinal(std::move(name), TypeInfo::Integer(), get, set); }
  template <class Get, class Set>
  ClassBuilder& Int64(std::wstring name, Get get, Set set) { return Ordinal(std::move(name), TypeInfo::Int64(), get, set); }
  template <class Get, class Set>
  ClassBuilder& Boolean(std::wstring name, Get get, Set set) { return Ordinal(std::move(name), TypeInfo::Boolean(), get, set); }

  template <class Get, class Set>
  ClassBuilder& Float(std::wstring name, FloatType type, Get get, Set set) {
    PropInfo p;
    p.name = std::move(name);
    p.type = &TypeInfo::Float(type);
    p.getFloat = [get](TObject& o) { return static_cast<double>((static_cast<C&>(o).*get)()); };
    if constexpr (!std::is_null_pointer_v<Set>) {
      using Arg = std::decay_t<decltype(typeinfo_detail::SetterArgument(set))>;
      p.setFloat = [set](TObject& o, double v) { (static_cast<C&>(o).*set)(static_cast<Arg>(v)); };
    }
    info_.ownProperties.push_back(std::move(p));
    return *this;
  }

  template <class Get, class Set>
  ClassBuilder& String(std::wstring name, Get get, Set set) {
    PropInfo p;
    p.name = std::move(name);
    p.type = &TypeInfo::String();
    p.getString = [get](TObject& o) { return std::wstring((static_cast<C&>(o).*get)()); };
    if constexpr (!std::is_null_pointer_v<Set>)
      p.setString = [set](TObject& o, const std::wstring& v) { (static_cast<C&>(o).*set)(v); };
    info_.ownProperties.push_back(std::move(p));
    return *this;
  }

  // A class-typed property. `get` answers the object (borrowed); `set` may be nullptr when the
  // object is owned by C and restored in place (fonts, string lists, collections).
  template <class Get, class Set>
  ClassBuilder& Object(std::wstring name, const ClassInfo& type, Get get, Set set) {
    PropInfo p;
    p.name = std::move(name);
    p.type = &type.classTypeInfo;
    p.getObject = [get](TObject& o) -> TObject* { return (static_cast<C&>(o).*get)(); };
    if constexpr (!std::is_null_pointer_v<Set>) {
      using Arg = std::decay_t<decltype(typeinfo_detail::SetterArgument(set))>;
      p.setObject = [set](TObject& o, TObject* v) { (static_cast<C&>(o).*set)(dynamic_cast<Arg>(v)); };
    }
    info_.ownProperties.push_back(std::move(p));
    return *this;
  }

  template <class Get, class Set>
  ClassBuilder& VariantProp(std::wstring name, Get get, Set set) {
    PropInfo p;
    p.name = std::move(name);
    p.type = &TypeInfo::Variant();
    p.getVariant = [get](TObject& o) { return (static_cast<C&>(o).*get)(); };
    if constexpr (!std::is_null_pointer_v<Set>)
      p.setVariant = [set](TObject& o, const ::Variant& v) { (static_cast<C&>(o).*set)(v); };
    info_.ownProperties.push_back(std::move(p));
    return *this;
  }

  ClassInfo Build() { return std::move(info_); }

 private:
  ClassInfo info_;
};

// Keeps a class description for the life of the program and fills its class type information.
// Use as `static const ClassInfo& info = RegisterClassInfo(ClassBuilder<T>(...)...Build());`.
const ClassInfo& RegisterClassInfo(ClassInfo&& info);
// The registered class of that name (case-insensitive), or nullptr.
const ClassInfo* FindClassInfo(std::wstring_view name);
