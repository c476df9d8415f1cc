// The standard counted base: the count around construction, self-destruction, QueryInterface,
// and the object that must not be destroyed twice.
#include "runtime/Interfaced.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct IFoo : rt::IUnknown {
  static constexpr rt::GUID IID = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
  virtual int ZARP_STDCALL Foo() = 0;
};
struct IBar : rt::IUnknown {
  static constexpr rt::GUID IID = {0x44444444, 0x5555, 0x6666, {1, 2, 3, 4, 5, 6, 7, 8}};
  virtual int ZARP_STDCALL Bar() = 0;
};
struct INoIdentity : rt::IUnknown {
  virtual int ZARP_STDCALL Value() = 0;
};
constexpr rt::GUID kOther = {0x77777777, 0x8888, 0x9999, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Probe {
  int destroyed = 0;
  int32_t countInConstructor = -1;
  std::function<void(rt::TInterfacedBase*)> duringConstruction;
  std::function<void(rt::TInterfacedBase*)> duringDestruction;
};

class TFooBar : public rt::TInterfacedObject<IFoo, IBar> {
 public:
  TFooBar(rt::Constructing c, Probe* probe) : TInterfacedObject(c), probe_(probe) {
    probe_->countInConstructor = RefCount();
    if (probe_->duringConstruction) probe_->duringConstruction(this);
  }
  int ZARP_STDCALL Foo() override { return 1; }
  int ZARP_STDCALL Bar() override { return 2; }

 protected:
  ~TFooBar() override {
    if (probe_->duringDestruction) probe_->duringDestruction(this);
    ++probe_->destroyed;
  }

 private:
  Probe* probe_;
};

class TNoIdentity : public rt::TInterfacedObject<INoIdentity> {
 public:
  explicit TNoIdentity(rt::Constructing c) : TInterfacedObject(c) {}
  int ZARP_STDCALL Value() override { return 7; }
};

TEST(InterfacedLifetime, CountIsOneDuringConstructionAndZeroAfter) {
  Probe probe;
  TFooBar* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  EXPECT_EQ(probe.countInConstructor, 1);
  EXPECT_EQ(obj->RefCount(), 0);
  obj->AddRef();
  EXPECT_EQ(obj->Release(), 0u);
  EXPECT_EQ(probe.destroyed, 1);
}

TEST(InterfacedLifetime, ReferencesTakenAndDroppedDuringConstructionDoNotDestroy) {
  Probe probe;
  probe.duringConstruction = [](rt::TInterfacedBase* self) {
    auto* foo = static_cast<TFooBar*>(self);
    foo->AddRef();
    foo->Release();
  };
  TFooBar* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  EXPECT_EQ(probe.destroyed, 0);
  EXPECT_EQ(obj->RefCount(), 0);
  obj->Free();
  EXPECT_EQ(probe.destroyed, 1);
}

TEST(InterfacedLifetime, AReferenceKeptDuringConstructionSurvivesIt) {
  Probe probe;
  probe.duringConstruction = [](rt::TInterfacedBase* self) {
    static_cast<TFooBar*>(self)->AddRef();
  };
  TFooBar* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  EXPECT_EQ(obj->RefCount(), 1);
  obj->Release();
  EXPECT_EQ(probe.destroyed, 1);
}

TEST(InterfacedLifetime, ReleaseDestroysOnlyAtZero) {
  Probe probe;
  auto* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  EXPECT_EQ(obj->AddRef(), 1u);
  EXPECT_EQ(obj->AddRef(), 2u);
  EXPECT_EQ(obj->Release(), 1u);
  EXPECT_EQ(probe.destroyed, 0);
  EXPECT_EQ(obj->Release(), 0u);
  EXPECT_EQ(probe.destroyed, 1);
}

// A registry told of an object's removal while the object is being destroyed adds and drops a
// reference; the count reaches 0 again and must not start a second destruction.
TEST(InterfacedLifetime, AddAndReleaseDuringDestructionDoNotDestroyTwice) {
  Probe probe;
  int32_t countSeen = -1;
  probe.duringDestruction = [&](rt::TInterfacedBase* self) {
    auto* foo = static_cast<TFooBar*>(self);
    countSeen = static_cast<int32_t>(foo->AddRef());
    foo->Release();
    foo->AddRef();
    foo->Release();
  };
  auto* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  obj->AddRef();
  obj->Release();
  EXPECT_EQ(probe.destroyed, 1);
  EXPECT_EQ(countSeen, 1);
}

TEST(InterfacedLifetime, FreeDestroysWhateverTheCount) {
  Probe probe;
  auto* obj = rt::TInterfacedBase::Create<TFooBar>(&probe);
  obj->AddRef();
  obj->AddRef();
  obj->Free();
  EXPECT_EQ(probe.destroyed, 1);
}

TEST(InterfacedLifetime, MakeCountedHoldsTheOnlyReference) {
  Probe probe;
  {
    rt::ComPtr<TFooBar> obj = rt::MakeCounted<TFooBar>(&probe);
    EXPECT_EQ(obj->RefCount(), 1);
  }
  EXPECT_EQ(probe.destroyed, 1);
}

TEST(InterfacedQuery, AnswersEachListedInterfaceAndTheBaseIdentity) {
  Probe probe;
  rt::ComPtr<TFooBar> obj = rt::MakeCounted<TFooBar>(&probe);
  void* p = nullptr;
  ASSERT_EQ(obj->QueryInterface(IFoo::IID, &p), rt::kOk);
  auto foo = rt::ComPtr<IFoo>::Adopt(static_cast<IFoo*>(p));
  EXPECT_EQ(foo->Foo(), 1);
  ASSERT_EQ(obj->QueryInterface(IBar::IID, &p), rt::kOk);
  auto bar = rt::ComPtr<IBar>::Adopt(static_cast<IBar*>(p));
  EXPECT_EQ(bar->Bar(), 2);
  EXPECT_EQ(obj->RefCount(), 3);

  // One identity, whichever interface is asked.
  void* unknownFromFoo = nullptr;
  void* unknownFromBar = nullptr;
  ASSERT_EQ(foo->QueryInterface(rt::IID_IUnknown, &unknownFromFoo), rt::kOk);
  ASSERT_EQ(bar->QueryInterface(rt::IID_IUnknown, &unknownFromBar), rt::kOk);
  EXPECT_EQ(unknownFromFoo, unknownFromBar);
  static_cast<rt::IUnknown*>(unknownFromFoo)->Release();
  static_cast<rt::IUnknown*>(unknownFromBar)->Release();
  EXPECT_EQ(obj->RefCount(), 3);
}

TEST(InterfacedQuery, RefusesOtherInterfacesWithNullAndNoReference) {
  Probe probe;
  rt::ComPtr<TFooBar> obj = rt::MakeCounted<TFooBar>(&probe);
  void* p = &probe;
  EXPECT_EQ(obj->QueryInterface(kOther, &p), rt::kNoInterface);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(obj->QueryInterface(IFoo::IID, nullptr), rt::kNoInterface);
  EXPECT_EQ(obj->RefCount(), 1);
}

TEST(InterfacedQuery, AnInterfaceWithoutIdentityAnswersOnlyTheBase) {
  rt::ComPtr<TNoIdentity> obj = rt::MakeCounted<TNoIdentity>();
  void* p = nullptr;
  ASSERT_EQ(obj->QueryInterface(rt::IID_IUnknown, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<INoIdentity*>(obj.Get()));
  static_cast<rt::IUnknown*>(p)->Release();
  EXPECT_EQ(obj->QueryInterface(kOther, &p), rt::kNoInterface);
}

}  // namespace
