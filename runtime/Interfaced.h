// The standard counted base of objects that cross to a host: an atomic count, QueryInterface over
// the interfaces a class lists, and self-destruction when the last reference goes.
#pragma once

#include <cstdint>
#include <utility>

#include "runtime/Com.h"

namespace rt {

// Proof that a counted object is being built by TInterfacedBase::Create. Constructors of counted
// classes take it first and hand it to their base, so no counted object can be made any other way
// (a plain `new` would leave the construction reference in place and leak the object).
class Constructing {
 private:
  friend class TInterfacedBase;
  constexpr Constructing() = default;
};

class TInterfacedBase {
 public:
  TInterfacedBase(const TInterfacedBase&) = delete;
  TInterfacedBase& operator=(const TInterfacedBase&) = delete;

  // Builds a T. The count is 1 while T's constructors run, so code they call may add and drop
  // references without destroying the half-built object; it is 0 once Create returns, and the
  // first reference a caller adds owns the object.
  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* object = new T(Constructing{}, std::forward<Args>(args)...);
    static_cast<TInterfacedBase*>(object)->EndConstruction();
    return object;
  }

  int32_t RefCount() const { return refCount_; }
  bool Destroying() const { return destroying_; }

  // Destroys the object now, whatever its count: for an owner that must end an object's life
  // even though references may remain (the library at unload).
  void Free();

 protected:
  explicit TInterfacedBase(Constructing) {}
  virtual ~TInterfacedBase() = default;

  uint32_t AddRefImpl();
  uint32_t ReleaseImpl();
  HRESULT QueryInterfaceImpl(const GUID& iid, void** obj);

  // The interface of this object with that identity, without a reference; null when none.
  virtual void* GetInterface(const GUID& iid) = 0;

 private:
  void EndConstruction();

  int32_t refCount_ = 1;
  // Set once destruction begins: references added and dropped by code that runs while the object
  // is destroyed (a registry told of its removal) must not destroy it a second time.
  bool destroying_ = false;
};

// A counted object implementing the listed COM interfaces; QueryInterface answers each one's IID
// and the base identity IID_IUnknown, which is the first interface.
//
//   class TFoo : public rt::TInterfacedObject<IFoo, IBar> {
//    public:
//     explicit TFoo(rt::Constructing c, int x) : TInterfacedObject(c) { ... }
//   };
//   TFoo* foo = rt::TInterfacedBase::Create<TFoo>(42);  // count 0; first AddRef owns it
template <class First, class... Rest>
class TInterfacedObject : public First, public Rest..., public TInterfacedBase {
 public:
  HRESULT ZARP_STDCALL QueryInterface(const GUID& iid, void** obj) override {
    return QueryInterfaceImpl(iid, obj);
  }
  uint32_t ZARP_STDCALL AddRef() override { return AddRefImpl(); }
  uint32_t ZARP_STDCALL Release() override { return ReleaseImpl(); }

 protected:
  explicit TInterfacedObject(Constructing c) : TInterfacedBase(c) {}

  void* GetInterface(const GUID& iid) override {
    if (iid == IID_IUnknown) return static_cast<IUnknown*>(static_cast<First*>(this));
    void* found = nullptr;
    (void)(Answer<First>(iid, found) || ... || Answer<Rest>(iid, found));
    return found;
  }

 private:
  // An interface without an identity of its own (a host's stream) is reached only as itself.
  template <class I>
  bool Answer(const GUID& iid, void*& found) {
    if constexpr (requires { I::IID; }) {
      if (iid == I::IID) found = static_cast<I*>(this);
    }
    return found != nullptr;
  }
};

// Builds a counted object and takes the first reference to it.
template <class T, class... Args>
ComPtr<T> MakeCounted(Args&&... args) {
  return ComPtr<T>(TInterfacedBase::Create<T>(std::forward<Args>(args)...));
}

}  // namespace rt
