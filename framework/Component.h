// The component model every class of the program hangs on: objects that know their class
// description (published properties by name), persistent objects that can be assigned, and
// components with an owner, a name, the components they own (freed with them), free
// notification and the loading state. Plain C++; no platform calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/TypeInfo.h"

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const ClassInfo& StaticClass();
  virtual const ClassInfo& ClassType() const { return StaticClass(); }
  const std::wstring& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const ClassInfo& type) const { return ClassType().InheritsFrom(type); }
};

// An object whose state can be copied from another of a compatible class.
class TPersistent : public TObject {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Copies `source` into this object; raises EConvertError when the classes do not fit.
  virtual void Assign(const TPersistent& source);

 protected:
  // Lets the source copy itself into `dest` when the destination does not know it.
  virtual void AssignTo(TPersistent& dest) const;
};

enum class TOperation { opInsert, opRemove };

// Component state flags.
enum : uint32_t {
  csLoading = 1u << 0,     // properties are being read from the stored layout: store values only
  csDestroying = 1u << 3,  // the component is being freed
  csDesigning = 1u << 4,   // never set in this program (no designer); kept for the rules that name it
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Frees a component: runs BeforeDestruction (while the object is whole), then deletes it.
  // Owners free the components they own this way; use it (or ComponentPtr) instead of delete.
  static void Free(TComponent* component);

  TComponent* Owner() const { return owner_; }
  const std::wstring& Name() const { return name_; }
  // Raises EComponentError when the name is not an identifier or another component of the same
  // owner has it already.
  void SetName(const std::wstring& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(std::wstring_view name) const;

  uint32_t ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }

  // Asks to be told (Notification with opRemove) when `other` is freed; works both ways.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Loading: the stored layout marks the root loading, creates the components (which inherit
  // the flag from their owner) and calls EndLoading, which runs Loaded on the root and then on
  // every owned component in layout order.
  void BeginLoading();
  void EndLoading();

 protected:
  // Runs once after the whole layout has been read; clears csLoading. Overrides call the base.
  virtual void Loaded();
  // A component this one knows of is being inserted or removed.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called by Free before the destructors run.
  virtual void BeforeDestruction();
  void DestroyComponents();

 private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void NotifyAllFreed();

  TComponent* owner_ = nullptr;                  // borrowed: the owner frees this component
  std::wstring name_;
  std::vector<TComponent*> components_;          // owned, freed last to first
  std::vector<TComponent*> freeNotifies_;        // borrowed: told when this one is freed
  uint32_t state_ = 0;
  int tag_ = 0;
  bool notified_ = false;  // the free notifications have gone out
};

struct ComponentDeleter {
  void operator()(TComponent* c) const { TComponent::Free(c); }
};
// Owning pointer to a component without owner.
template <class T>
using ComponentPtr = std::unique_ptr<T, ComponentDeleter>;

