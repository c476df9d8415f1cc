// Component ownership and the global-component lookup.
#include "runtime/Component.h"

#include <algorithm>

#include "runtime/CodePage.h"

namespace rt {

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    last->destroying_ = true;
    delete last;  // its destructor removes it from this list
  }
}

TComponent* TComponent::FindComponent(std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameTextAscii(c->name_, name)) return c;
  return nullptr;
}

HRESULT TComponent::QueryComponentInterface(const GUID&, void** obj) {
  if (obj) *obj = nullptr;
  return kNoInterface;
}

void TComponent::InsertComponent(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

namespace {
std::vector<FindGlobalComponentProc>& Resolvers() {
  static std::vector<FindGlobalComponentProc> resolvers;
  return resolvers;
}
}  // namespace

void RegisterFindGlobalComponentProc(FindGlobalComponentProc proc) { Resolvers().push_back(proc); }

void UnregisterFindGlobalComponentProc(FindGlobalComponentProc proc) {
  auto& r = Resolvers();
  auto it = std::find(r.rbegin(), r.rend(), proc);
  if (it != r.rend()) r.erase(std::next(it).base());
}

TComponent* FindGlobalComponent(std::u16string_view name) {
  auto& r = Resolvers();
  for (auto it = r.rbegin(); it != r.rend(); ++it)
    if (TComponent* c = (*it)(name)) return c;
  return nullptr;
}

TComponent* ResolveComponentReference(std::u16string_view reference, const TComponent* local) {
  auto dot = reference.find(u'.');
  if (dot == std::u16string_view::npos) return local ? local->FindComponent(reference) : nullptr;
  TComponent* module = FindGlobalComponent(reference.substr(0, dot));
  return module ? module->FindComponent(reference.substr(dot + 1)) : nullptr;
}

}  // namespace rt
