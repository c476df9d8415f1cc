// The module's references: the host's central services it stores, the interfaces it answers, the
// export, and the library's start-up and shutdown around them.
#include <gtest/gtest.h>

#include "host/Central.h"
#include "modulo/ZARPModuloDLL.h"
#include "sistema/Biblioteca.h"

namespace {

using zarp::IZARPModulo;
using zarp::TNativoZARPModulo;

TEST(ModuloCentral, SetCentralHoldsOneReferenceAndReleasesTheOldOne) {
  auto modulo = rt::MakeCounted<TNativoZARPModulo>();
  auto first = rt::MakeCounted<host::TCentral>();
  auto second = rt::MakeCounted<host::TCentral>();
  EXPECT_EQ(modulo->Central(), nullptr);

  modulo->SetCentral(first.Get());
  EXPECT_EQ(modulo->Central(), first.Get());
  EXPECT_EQ(first->RefCount(), 2);

  modulo->SetCentral(first.Get());  // the same one again: still exactly one reference
  EXPECT_EQ(first->RefCount(), 2);

  modulo->SetCentral(second.Get());
  EXPECT_EQ(first->RefCount(), 1);
  EXPECT_EQ(second->RefCount(), 2);

  modulo->SetCentral(nullptr);
  EXPECT_EQ(modulo->Central(), nullptr);
  EXPECT_EQ(second->RefCount(), 1);
}

TEST(ModuloCentral, DestructionReleasesTheCentral) {
  auto central = rt::MakeCounted<host::TCentral>();
  {
    auto modulo = rt::MakeCounted<TNativoZARPModulo>();
    modulo->SetCentral(central.Get());
    EXPECT_EQ(central->RefCount(), 2);
  }
  EXPECT_EQ(central->RefCount(), 1);
}

TEST(ModuloCentral, SetCentralWhileActiveCallsNoCallback) {
  auto modulo = rt::MakeCounted<TNativoZARPModulo>();
  int calls = 0;
  struct Counter {
    int* calls;
    void Notificar(bool) { ++*calls; }
  } counter{&calls};
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Counter::Notificar>(&counter));
  modulo->AtivarModulo();
  auto central = rt::MakeCounted<host::TCentral>();
  modulo->SetCentral(central.Get());
  modulo->SetCentral(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(central->RegistroQueries(), 0);
  modulo->DesativarModulo();
}

TEST(ModuloInterfaces, AnswersTheModuleAndTheBaseIdentityOnly) {
  auto modulo = rt::MakeCounted<TNativoZARPModulo>();
  void* p = nullptr;
  ASSERT_EQ(modulo->QueryInterface(IZARPModulo::IID, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<IZARPModulo*>(modulo.Get()));
  static_cast<IZARPModulo*>(p)->Release();
  ASSERT_EQ(modulo->QueryInterface(rt::IID_IUnknown, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<IZARPModulo*>(modulo.Get()));
  static_cast<IZARPModulo*>(p)->Release();
  EXPECT_EQ(modulo->QueryInterface(zarp::IZARPPlugin::IID, &p), rt::kNoInterface);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(modulo->RefCount(), 1);
}

// A counted stand-in that tells whether the export released what the host's variable held.
struct Sentinel : rt::TInterfacedObject<IZARPModulo> {
  explicit Sentinel(rt::Constructing c) : TInterfacedObject(c) {}
  void ZARP_STDCALL SetCentral(zarp::IZARPCentral*) override {}
  void ZARP_STDCALL AtivarModulo() override {}
  void ZARP_STDCALL DesativarModulo() override {}
};

class Library : public ::testing::Test {
 protected:
  void TearDown() override { zarp::FinalizarBiblioteca(); }
};

TEST_F(Library, StartUpCreatesTheModuleWithTheLibrarysOwnReference) {
  EXPECT_EQ(zarp::ModuloNativo(), nullptr);
  zarp::IniciarBiblioteca();
  ASSERT_NE(zarp::ModuloNativo(), nullptr);
  EXPECT_EQ(zarp::ModuloNativo()->RefCount(), 1);
  EXPECT_FALSE(zarp::ModuloNativo()->Ativo());

  TNativoZARPModulo* first = zarp::ModuloNativo();
  zarp::IniciarBiblioteca();  // a second start-up keeps the module it has
  EXPECT_EQ(zarp::ModuloNativo(), first);
}

TEST_F(Library, EveryCallOfTheExportYieldsTheSameModuleWithOneMoreReference) {
  zarp::IniciarBiblioteca();
  IZARPModulo* a = nullptr;
  IZARPModulo* b = nullptr;
  EntryPointZARPModulo(&a);
  EntryPointZARPModulo(&b);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, static_cast<IZARPModulo*>(zarp::ModuloNativo()));
  EXPECT_EQ(zarp::ModuloNativo()->RefCount(), 3);
  a->Release();
  b->Release();
  EXPECT_EQ(zarp::ModuloNativo()->RefCount(), 1);
}

TEST_F(Library, TheExportOverwritesTheHostsVariableWithoutReleasingIt) {
  zarp::IniciarBiblioteca();
  auto sentinel = rt::MakeCounted<Sentinel>();
  IZARPModulo* variable = sentinel.Get();
  EntryPointZARPModulo(&variable);
  EXPECT_EQ(variable, static_cast<IZARPModulo*>(zarp::ModuloNativo()));
  EXPECT_EQ(sentinel->RefCount(), 1);
  variable->Release();
  EntryPointZARPModulo(nullptr);  // no variable: nothing to do, and no crash
}

TEST_F(Library, ShutdownDestroysTheModuleEvenIfTheHostStillHoldsIt) {
  zarp::IniciarBiblioteca();
  IZARPModulo* held = nullptr;
  EntryPointZARPModulo(&held);
  auto central = rt::MakeCounted<host::TCentral>();
  held->SetCentral(central.Get());
  EXPECT_EQ(central->RefCount(), 2);

  zarp::FinalizarBiblioteca();
  EXPECT_EQ(zarp::ModuloNativo(), nullptr);
  EXPECT_EQ(central->RefCount(), 1);  // the destroyed module let go of it

  auto sentinel = rt::MakeCounted<Sentinel>();
  IZARPModulo* after = sentinel.Get();
  EntryPointZARPModulo(&after);
  EXPECT_EQ(after, nullptr);
  EXPECT_EQ(sentinel->RefCount(), 1);
}

TEST_F(Library, ShutdownWhileActiveTellsTheCallbacksNewestFirst) {
  zarp::IniciarBiblioteca();
  std::vector<std::string> log;
  struct Listener {
    std::vector<std::string>* log;
    const char* name;
    void Notificar(bool ativar) { log->push_back(std::string(name) + (ativar ? "+" : "-")); }
  } a{&log, "A"}, b{&log, "B"};
  zarp::ModuloNativo()->RegistrarMetodoNotify(zarp::MetodoNotificar<&Listener::Notificar>(&a));
  zarp::ModuloNativo()->RegistrarMetodoNotify(zarp::MetodoNotificar<&Listener::Notificar>(&b));
  zarp::ModuloNativo()->AtivarModulo();
  zarp::FinalizarBiblioteca();
  EXPECT_EQ(log, (std::vector<std::string>{"A+", "B+", "B-", "A-"}));
}

TEST_F(Library, ShutdownWithoutStartUpDoesNothing) {
  zarp::FinalizarBiblioteca();
  EXPECT_EQ(zarp::ModuloNativo(), nullptr);
}

}  // namespace
