// Components: named objects that own other components and free them with themselves, plus the
// global-component lookup through which a stored reference "Module.Component" is resolved.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Com.h"

// Declares a class's name, the name that class references (kClassName) and lookups
// (ClassName()) see.
#define RT_CLASS_NAME(cls)                                    \
  static constexpr std::u16string_view kClassName = u## #cls; \
  std::u16string_view ClassName() const override {            \
    return kClassName;                                        \
  }

namespace rt {

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  virtual std::u16string_view ClassName() const { return u"TComponent"; }

  TComponent* Owner() const { return owner_; }
  const std::u16string& Name() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[static_cast<size_t>(index)]; }
  // The owned component of that name, ignoring ASCII case; null when there is none.
  TComponent* FindComponent(std::u16string_view name) const;

  // True once destruction has begun (the owner is freeing its components, or this one).
  bool Destroying() const { return destroying_; }

  // Interface lookup on a component; the base offers none. Sheet documents answer their
  // interfaces here, which is how a dataset finds its owner's notification interface.
  virtual HRESULT QueryComponentInterface(const GUID& iid, void** obj);

 protected:
  // Frees the owned components, the newest first. Destructors of classes that must free their
  // components before their own members go call it; the base destructor calls it too.
  void DestroyComponents();
  void MarkDestroying() { destroying_ = true; }

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* owner_ = nullptr;
  std::u16string name_;
  std::vector<TComponent*> components_;
  bool destroying_ = false;
};

// The global-component lookup: resolvers are asked from the newest to the oldest and the first
// answer that is not null wins.
using FindGlobalComponentProc = TComponent* (*)(std::u16string_view name);
void RegisterFindGlobalComponentProc(FindGlobalComponentProc proc);
void UnregisterFindGlobalComponentProc(FindGlobalComponentProc proc);
TComponent* FindGlobalComponent(std::u16string_view name);

// Resolves a stored reference: "Module.Component" through the global lookup and the module's
// FindComponent, a plain name through `local`'s owned components. Null when nothing matches.
TComponent* ResolveComponentReference(std::u16string_view reference, const TComponent* local);

}  // namespace rt
