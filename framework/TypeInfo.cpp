// See TypeInfo.h.
#include "framework/TypeInfo.h"

#include "framework/Strings.h"

#include <deque>

int TypeInfo::IdentifierIndex(std::wstring_view text) const {
  for (size_t i = 0; i < identifiers.size(); ++i)
    if (bv::SameText(identifiers[i], text)) return static_cast<int>(i);
  return -1;
}

static TypeInfo Simple(TypeKind kind, const wchar_t* name) {
  TypeInfo t;
  t.kind = kind;
  t.name = name;
  return t;
}

const TypeInfo& TypeInfo::Integer() { static const TypeInfo t = Simple(TypeKind::Integer, L"Integer"); return t; }
const TypeInfo& TypeInfo::Int64() { static const TypeInfo t = Simple(TypeKind::Int64, L"Int64"); return t; }
const TypeInfo& TypeInfo::String() { static const TypeInfo t = Simple(TypeKind::String, L"string"); return t; }
const TypeInfo& TypeInfo::Char() { static const TypeInfo t = Simple(TypeKind::Char, L"Char"); return t; }
const TypeInfo& TypeInfo::WChar() { static const TypeInfo t = Simple(TypeKind::WChar, L"WideChar"); return t; }
const TypeInfo& TypeInfo::Variant() { static const TypeInfo t = Simple(TypeKind::Variant, L"Variant"); return t; }
const TypeInfo& TypeInfo::Boolean() {
  static const TypeInfo t = MakeEnumType(L"Boolean", {L"False", L"True"});
  return t;
}
const TypeInfo& TypeInfo::Float(FloatType type) {
  static const TypeInfo types[] = {
      [] { TypeInfo t = Simple(TypeKind::Float, L"Single"); t.floatType = FloatType::Single; return t; }(),
      [] { TypeInfo t = Simple(TypeKind::Float, L"Double"); t.floatType = FloatType::Double; return t; }(),
      [] { TypeInfo t = Simple(TypeKind::Float, L"Extended"); t.floatType = FloatType::Extended; return t; }(),
      [] { TypeInfo t = Simple(TypeKind::Float, L"Comp"); t.floatType = FloatType::Comp; return t; }(),
      [] { TypeInfo t = Simple(TypeKind::Float, L"Currency"); t.floatType = FloatType::Currency; return t; }(),
  };
  return types[static_cast<int>(type)];
}

TypeInfo MakeEnumType(std::wstring name, std::initializer_list<const wchar_t*> identifiers) {
  TypeInfo t;
  t.kind = TypeKind::Enumeration;
  t.name = std::move(name);
  for (auto* id : identifiers) t.identifiers.emplace_back(id);
  return t;
}

TypeInfo MakeSetType(std::wstring name, const TypeInfo& element) {
  TypeInfo t;
  t.kind = TypeKind::Set;
  t.name = std::move(name);
  t.elementType = &element;
  return t;
}

std::wstring Variant::ToText() const {
  struct Visitor {
    std::wstring operator()(std::monostate) const { return {}; }
    std::wstring operator()(int64_t v) const { return std::to_wstring(v); }
    std::wstring operator()(double v) const {
      std::wstring s = std::to_wstring(v);
      while (!s.empty() && s.back() == L'0') s.pop_back();
      if (!s.empty() && s.back() == L'.') s.pop_back();
      return s;
    }
    std::wstring operator()(bool v) const { return v ? L"True" : L"False"; }
    std::wstring operator()(const std::wstring& v) const { return v; }
  };
  return std::visit(Visitor{}, value);
}

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

std::vector<const PropInfo*> ClassInfo::Properties() const {
  std::vector<const PropInfo*> result;
  if (parent) result = parent->Properties();
  for (const auto& p : ownProperties) {
    // A redeclared property replaces the ancestor's one in place (keeps the published order).
    bool replaced = false;
    for (auto& existing : result)
      if (bv::SameText(existing->name, p.name)) {
        existing = &p;
        replaced = true;
      }
    if (!replaced) result.push_back(&p);
  }
  return result;
}

const PropInfo* ClassInfo::FindProperty(std::wstring_view propName) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    for (const auto& p : c->ownProperties)
      if (bv::SameText(p.name, propName)) return &p;
  return nullptr;
}

static std::deque<ClassInfo>& Registry() {
  static std::deque<ClassInfo> registry;  // a deque never moves its elements
  return registry;
}

const ClassInfo& RegisterClassInfo(ClassInfo&& info) {
  ClassInfo& kept = Registry().emplace_back(std::move(info));
  kept.classTypeInfo.kind = TypeKind::Class;
  kept.classTypeInfo.name = kept.name;
  kept.classTypeInfo.classType = &kept;
  return kept;
}

const ClassInfo* FindClassInfo(std::wstring_view className) {
  for (const auto& c : Registry())
    if (bv::SameText(c.name, className)) return &c;
  return nullptr;
}
