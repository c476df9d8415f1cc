// The module's activation callbacks: who is called, with what, and in which order, through
// activation, deactivation, registration, unregistration and destruction.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "modulo/ZARPModuloDLL.h"

namespace {

using zarp::TMetodoNotificarModulo;
using zarp::TNativoZARPModulo;

struct Log {
  std::vector<std::string> entries;
  void Add(const std::string& name, bool ativar) { entries.push_back(name + (ativar ? "+" : "-")); }
};

struct Listener {
  Log* log;
  std::string name;
  void Notificar(bool ativar) { log->Add(name, ativar); }
  void Outro(bool ativar) { log->Add(name + ".outro", ativar); }
  TMetodoNotificarModulo Metodo() { return zarp::MetodoNotificar<&Listener::Notificar>(this); }
};

class Activation : public ::testing::Test {
 protected:
  // Declared after the listeners, so it goes (and may call them) while they still exist. Tests
  // that register listeners of their own end with the module inactive or gone.
  Log log;
  Listener a{&log, "A"}, b{&log, "B"}, c{&log, "C"};
  rt::ComPtr<TNativoZARPModulo> modulo = rt::MakeCounted<TNativoZARPModulo>();

  void RegisterABC() {
    modulo->RegistrarMetodoNotify(a.Metodo());
    modulo->RegistrarMetodoNotify(b.Metodo());
    modulo->RegistrarMetodoNotify(c.Metodo());
  }
  std::vector<std::string> Take() { return std::exchange(log.entries, {}); }
  using V = std::vector<std::string>;
};

TEST_F(Activation, StartsInactiveAndRegistersWithoutCalling) {
  EXPECT_FALSE(modulo->Ativo());
  RegisterABC();
  EXPECT_EQ(modulo->MetodosNotifyCount(), 3);
  EXPECT_TRUE(log.entries.empty());
}

TEST_F(Activation, ActivationAndDeactivationCallInRegistrationOrder) {
  RegisterABC();
  modulo->AtivarModulo();
  EXPECT_TRUE(modulo->Ativo());
  EXPECT_EQ(Take(), (V{"A+", "B+", "C+"}));
  modulo->DesativarModulo();
  EXPECT_FALSE(modulo->Ativo());
  EXPECT_EQ(Take(), (V{"A-", "B-", "C-"}));
}

TEST_F(Activation, RepeatedSwitchesDoNothing) {
  RegisterABC();
  modulo->DesativarModulo();
  EXPECT_TRUE(Take().empty());
  modulo->AtivarModulo();
  Take();
  modulo->AtivarModulo();
  EXPECT_TRUE(Take().empty());
  modulo->DesativarModulo();
  Take();
  modulo->DesativarModulo();
  EXPECT_TRUE(Take().empty());
}

TEST_F(Activation, StateChangesBeforeAnyCallbackRuns) {
  struct Watcher {
    TNativoZARPModulo* modulo;
    std::vector<bool> seen;
    void Notificar(bool) { seen.push_back(modulo->Ativo()); }
  } watcher{modulo.Get(), {}};
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Watcher::Notificar>(&watcher));
  modulo->AtivarModulo();
  modulo->DesativarModulo();
  EXPECT_EQ(watcher.seen, (std::vector<bool>{true, false}));
}

TEST_F(Activation, RegisteringWhileActiveCallsAtOnceAndAtTheNextDeactivation) {
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->AtivarModulo();
  Take();
  modulo->RegistrarMetodoNotify(b.Metodo());
  EXPECT_EQ(Take(), (V{"B+"}));
  modulo->DesativarModulo();
  EXPECT_EQ(Take(), (V{"A-", "B-"}));
}

TEST_F(Activation, UnregisteringWhileActiveCallsWithFalseOnce) {
  RegisterABC();
  modulo->AtivarModulo();
  Take();
  modulo->DesregistrarMetodoNotify(b.Metodo());
  EXPECT_EQ(Take(), (V{"B-"}));
  EXPECT_EQ(modulo->MetodosNotifyCount(), 2);
  modulo->DesativarModulo();
  EXPECT_EQ(Take(), (V{"A-", "C-"}));
}

TEST_F(Activation, UnregisteringAnUnknownMethodWhileActiveStillCallsItAndChangesNothing) {
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->AtivarModulo();
  Take();
  Listener stranger{&log, "X"};
  modulo->DesregistrarMetodoNotify(stranger.Metodo());
  EXPECT_EQ(Take(), (V{"X-"}));
  EXPECT_EQ(modulo->MetodosNotifyCount(), 1);
}

TEST_F(Activation, UnregisteringWhileInactiveCallsNothing) {
  RegisterABC();
  modulo->DesregistrarMetodoNotify(a.Metodo());
  Listener stranger{&log, "X"};
  modulo->DesregistrarMetodoNotify(stranger.Metodo());
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(modulo->MetodosNotifyCount(), 2);
}

TEST_F(Activation, ADuplicateIsCalledTwiceAndUnregisteringRemovesTheNewestCopy) {
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->RegistrarMetodoNotify(b.Metodo());
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->AtivarModulo();
  EXPECT_EQ(Take(), (V{"A+", "B+", "A+"}));
  modulo->DesregistrarMetodoNotify(a.Metodo());
  EXPECT_EQ(Take(), (V{"A-"}));
  modulo->DesativarModulo();
  EXPECT_EQ(Take(), (V{"A-", "B-"}));  // the older copy kept its place before B
}

TEST_F(Activation, EqualityNeedsBothTheCodeAndTheObject) {
  Listener twin{&log, "A2"};
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->RegistrarMetodoNotify(twin.Metodo());
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Listener::Outro>(&a));
  EXPECT_EQ(a.Metodo(), a.Metodo());
  EXPECT_NE(a.Metodo(), twin.Metodo());
  EXPECT_NE(a.Metodo(), zarp::MetodoNotificar<&Listener::Outro>(&a));

  modulo->DesregistrarMetodoNotify(a.Metodo());
  modulo->AtivarModulo();
  EXPECT_EQ(Take(), (V{"A2+", "A.outro+"}));
  modulo.Reset();
}

TEST_F(Activation, AMethodRegisteredDuringActivationIsCalledOnlyByItsOwnRegistration) {
  struct Registrar {
    TNativoZARPModulo* modulo;
    Listener* late;
    Log* log;
    void Notificar(bool ativar) {
      log->Add("R", ativar);
      if (ativar) modulo->RegistrarMetodoNotify(late->Metodo());
    }
  } registrar{modulo.Get(), &c, &log};
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Registrar::Notificar>(&registrar));
  modulo->RegistrarMetodoNotify(b.Metodo());
  modulo->AtivarModulo();
  EXPECT_EQ(Take(), (V{"A+", "R+", "C+", "B+"}));
  modulo->DesativarModulo();
  EXPECT_EQ(Take(), (V{"A-", "R-", "B-", "C-"}));
}

// Not settled for callers; the module only has to survive it without reading past its array.
TEST_F(Activation, ACallbackThatUnregistersOthersDuringActivationIsSafe) {
  struct Remover {
    TNativoZARPModulo* modulo;
    Listener* b;
    Listener* c;
    void Notificar(bool ativar) {
      if (!ativar) return;
      modulo->DesregistrarMetodoNotify(b->Metodo());
      modulo->DesregistrarMetodoNotify(c->Metodo());
    }
  } remover{modulo.Get(), &b, &c};
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Remover::Notificar>(&remover));
  modulo->RegistrarMetodoNotify(b.Metodo());
  modulo->RegistrarMetodoNotify(c.Metodo());
  modulo->AtivarModulo();
  EXPECT_EQ(modulo->MetodosNotifyCount(), 1);
  EXPECT_EQ(Take(), (V{"B-", "C-"}));
  modulo.Reset();
}

// A plug-in whose registry lets go of it at deactivation destroys itself and unregisters from the
// module in the middle of the notification; the entries after it must still be told.
TEST_F(Activation, AnEntryRemovedDuringANotificationIsSkippedAndTheRestStillHear) {
  struct Leaver {
    TNativoZARPModulo* modulo;
    Log* log;
    void Notificar(bool ativar) {
      log->Add("L", ativar);
      if (!ativar)
        modulo->DesregistrarMetodoNotify(zarp::MetodoNotificar<&Leaver::Notificar>(this));
    }
  } leaver{modulo.Get(), &log};
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&Leaver::Notificar>(&leaver));
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->RegistrarMetodoNotify(b.Metodo());
  modulo->AtivarModulo();
  Take();
  modulo->DesativarModulo();
  EXPECT_EQ(Take(), (V{"L-", "A-", "B-"}));
  EXPECT_EQ(modulo->MetodosNotifyCount(), 2);
}

TEST_F(Activation, DestructionWhileActiveCallsEveryEntryInReverse) {
  RegisterABC();
  modulo->AtivarModulo();
  Take();
  modulo.Reset();
  EXPECT_EQ(Take(), (V{"C-", "B-", "A-"}));
}

TEST_F(Activation, DestructionWhileInactiveCallsNothing) {
  RegisterABC();
  modulo->AtivarModulo();
  modulo->DesativarModulo();
  Take();
  modulo.Reset();
  EXPECT_TRUE(Take().empty());
}

TEST_F(Activation, ACallbackThatUnregistersDuringDestructionIsSafe) {
  struct SelfRemover {
    TNativoZARPModulo* modulo;
    Log* log;
    bool removed = false;
    void Notificar(bool ativar) {
      log->Add("S", ativar);
      if (ativar || std::exchange(removed, true)) return;
      modulo->DesregistrarMetodoNotify(zarp::MetodoNotificar<&SelfRemover::Notificar>(this));
    }
  };
  SelfRemover s1{modulo.Get(), &log};
  modulo->RegistrarMetodoNotify(a.Metodo());
  modulo->RegistrarMetodoNotify(zarp::MetodoNotificar<&SelfRemover::Notificar>(&s1));
  modulo->AtivarModulo();
  Take();
  modulo.Reset();
  // S unregisters itself (and, the module being active, hears false once more); A still hears.
  EXPECT_EQ(Take(), (V{"S-", "S-", "A-"}));
}

}  // namespace
