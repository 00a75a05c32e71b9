// See Component.h.
#include "framework/Component.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/Strings.h"

const ClassInfo& TObject::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TObject>(L"TObject", nullptr).Build());
  return info;
}

const ClassInfo& TPersistent::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TPersistent>(L"TPersistent", &TObject::StaticClass()).Build());
  return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(L"Cannot assign a " + ClassName() + L" to a " + dest.ClassName());
}

const ClassInfo& TComponent::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TComponent>(L"TComponent", &TPersistent::StaticClass())
          .String(L"Name", &TComponent::Name, &TComponent::SetName)
          .Integer(L"Tag", &TComponent::Tag, &TComponent::SetTag)
          .Build());
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) {
    owner->InsertComponent(this);
    if (owner->IsLoading()) state_ |= csLoading;
  }
}

TComponent::~TComponent() {
  // Normally Free has done this already; a plain delete still leaves nothing dangling.
  if (!notified_) {
    notified_ = true;
    state_ |= csDestroying;
    NotifyAllFreed();
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free(TComponent* component) {
  if (!component) return;
  component->BeforeDestruction();
  delete component;
}

void TComponent::BeforeDestruction() {
  if (notified_) return;
  notified_ = true;
  state_ |= csDestroying;
  NotifyAllFreed();
  // Owned components go first, while this object is still whole.
  DestroyComponents();
}

void TComponent::NotifyAllFreed() {
  // Everyone who asked to be told, and the owner, learn that this component goes away.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
  if (owner_) owner_->Notification(this, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    // Free unlinks it from this owner through RemoveComponent.
    Free(c);
    if (!components_.empty() && components_.back() == c) components_.pop_back();
  }
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EComponentError(L"A component named " + component->name_ + L" already exists");
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

static bool IsIdentifier(const std::wstring& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    wchar_t c = name[i];
    bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
    bool digit = c >= L'0' && c <= L'9';
    if (!(letter || (digit && i > 0))) return false;
  }
  return true;
}

void TComponent::SetName(const std::wstring& name) {
  if (name == name_) return;
  if (!name.empty() && !IsIdentifier(name))
    throw EComponentError(L"\"" + name + L"\" is not a valid component name");
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this) throw EComponentError(L"A component named " + name + L" already exists");
  }
  name_ = name;
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (bv::SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
    freeNotifies_.push_back(other);
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
    other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                             other->freeNotifies_.end());
}

void TComponent::BeginLoading() { state_ |= csLoading; }

void TComponent::EndLoading() {
  // The root first, then the components in the order the layout created them. A Loaded step may
  // create components of its own; those are not part of the layout and are skipped.
  std::vector<TComponent*> loaded;
  loaded.push_back(this);
  for (TComponent* c : components_)
    if (c->IsLoading()) loaded.push_back(c);
  for (TComponent* c : loaded) c->Loaded();
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::Notification(TComponent*, TOperation) {}
