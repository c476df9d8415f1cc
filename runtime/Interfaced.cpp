// Reference counting of the standard counted base.
#include "runtime/Interfaced.h"

namespace rt {

void TInterfacedBase::EndConstruction() {
  InterlockedDec(&refCount_);
}

uint32_t TInterfacedBase::AddRefImpl() {
  return static_cast<uint32_t>(InterlockedInc(&refCount_));
}

uint32_t TInterfacedBase::ReleaseImpl() {
  int32_t count = InterlockedDec(&refCount_);
  if (count == 0 && !destroying_) Free();
  return static_cast<uint32_t>(count);
}

void TInterfacedBase::Free() {
  if (destroying_) return;
  destroying_ = true;
  delete this;
}

HRESULT TInterfacedBase::QueryInterfaceImpl(const GUID& iid, void** obj) {
  if (!obj) return kNoInterface;
  *obj = GetInterface(iid);
  if (!*obj) return kNoInterface;
  AddRefImpl();
  return kOk;
}

}  // namespace rt
