// The real DLL as a host sees it: loaded with LoadLibrary and reached only through its export.
// Every test loads and unloads the library, so each one runs a full start-up and shutdown.
#include <gtest/gtest.h>
#include <windows.h>

#include "host/Central.h"
#include "modulo/ZARPModulo.h"

namespace {

using zarp::EntryPointZARPModuloProc;
using zarp::IZARPModulo;

template <class F>
F ProcAs(FARPROC proc) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

class Dll : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryW(L"VELSistema.dll");
    ASSERT_NE(library, nullptr) << "LoadLibrary failed: " << GetLastError();
    entry = ProcAs<EntryPointZARPModuloProc>(GetProcAddress(library, "EntryPointZARPModulo"));
    ASSERT_NE(entry, nullptr);
  }
  void TearDown() override {
    if (library) FreeLibrary(library);
  }
  IZARPModulo* Obtain() {
    IZARPModulo* modulo = nullptr;
    entry(&modulo);
    return modulo;
  }

  HMODULE library = nullptr;
  EntryPointZARPModuloProc entry = nullptr;
};

TEST_F(Dll, TheExportByNameAndByOrdinalOneIsOneFunction) {
  FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCEA(1));
  EXPECT_EQ(reinterpret_cast<void*>(byOrdinal), reinterpret_cast<void*>(entry));
  EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(2)), nullptr);
  // stdcall, undecorated: no "_EntryPointZARPModulo@4" or similar.
  EXPECT_EQ(GetProcAddress(library, "EntryPointZARPModulo@4"), nullptr);
  EXPECT_EQ(GetProcAddress(library, "_EntryPointZARPModulo@4"), nullptr);
}

TEST_F(Dll, TwoCallsYieldTheSameModuleWithOneReferenceEach) {
  IZARPModulo* a = Obtain();
  IZARPModulo* b = Obtain();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  // The library's own reference plus one for each call.
  EXPECT_EQ(a->AddRef(), 4u);
  EXPECT_EQ(a->Release(), 3u);
  EXPECT_EQ(a->Release(), 2u);
  EXPECT_EQ(b->Release(), 1u);
}

TEST_F(Dll, TheModuleAnswersItsInterfaceAndTheBaseIdentityOnly) {
  IZARPModulo* modulo = Obtain();
  void* p = nullptr;
  ASSERT_EQ(modulo->QueryInterface(IZARPModulo::IID, &p), rt::kOk);
  EXPECT_EQ(p, modulo);
  static_cast<IZARPModulo*>(p)->Release();
  ASSERT_EQ(modulo->QueryInterface(rt::IID_IUnknown, &p), rt::kOk);
  EXPECT_EQ(p, modulo);
  static_cast<IZARPModulo*>(p)->Release();
  EXPECT_EQ(modulo->QueryInterface(zarp::IZARPFicha::IID, &p), rt::kNoInterface);
  EXPECT_EQ(p, nullptr);
  modulo->Release();
}

TEST_F(Dll, ActivationRoundTripsRegisterAndUnregisterInPairs) {
  auto central = rt::MakeCounted<host::TCentral>();
  IZARPModulo* modulo = Obtain();
  modulo->SetCentral(central.Get());
  EXPECT_EQ(central->RefCount(), 2);

  for (int round = 0; round < 3; ++round) {
    modulo->AtivarModulo();
    modulo->AtivarModulo();  // already active: nothing more
    int registered = central->Registro()->Count("RegistrarPlugin");
    EXPECT_EQ(central->Registro()->PluginCount(),
              registered - central->Registro()->Count("DesregistrarPlugin"));
    modulo->DesativarModulo();
    modulo->DesativarModulo();
    EXPECT_EQ(central->Registro()->PluginCount(), 0);
    EXPECT_EQ(central->Registro()->Count("RegistrarPlugin"),
              central->Registro()->Count("DesregistrarPlugin"));
  }

  modulo->SetCentral(nullptr);
  EXPECT_EQ(central->RefCount(), 1);
  modulo->Release();
}

TEST_F(Dll, UnloadingDestroysTheModuleAndLetsGoOfTheCentralEvenIfTheHostForgot) {
  auto central = rt::MakeCounted<host::TCentral>();
  IZARPModulo* modulo = Obtain();
  modulo->SetCentral(central.Get());
  EXPECT_EQ(central->RefCount(), 2);
  // The host keeps its module reference past the unload; the library ends the module anyway.
  FreeLibrary(library);
  library = nullptr;
  EXPECT_EQ(central->RefCount(), 1);

  // Loaded again, the library starts afresh: a new, inactive module without a central.
  SetUp();
  IZARPModulo* again = Obtain();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->AddRef(), 3u);
  again->Release();
  again->Release();
}

}  // namespace
