// The substitute host's central services and registry: the registry is handed out unless refused,
// plug-ins are held by counted references, and every call is recorded with the count it saw.
#include <gtest/gtest.h>

#include "host/Central.h"
#include "host/Controller.h"

namespace {

class TFakePlugin : public rt::TInterfacedObject<zarp::IZARPPlugin> {
 public:
  TFakePlugin(rt::Constructing c, const char* nome, int* destroyed)
      : TInterfacedObject(c), nome_(nome), destroyed_(destroyed) {}
  const char* ZARP_STDCALL ObterNome() override { return nome_; }
  const char* ZARP_STDCALL ObterDescricao() override { return ""; }
  const char* ZARP_STDCALL ObterID() override { return ""; }
  void ZARP_STDCALL CriarFicha(zarp::IZARPFicha** ficha) override { *ficha = nullptr; }

 protected:
  ~TFakePlugin() override { ++*destroyed_; }

 private:
  const char* nome_;
  int* destroyed_;
};

zarp::IZARPRegistroPlugins* AskRegistry(zarp::IZARPCentral* central, rt::HRESULT* result) {
  void* p = nullptr;
  *result = central->QueryInterface(zarp::IZARPRegistroPlugins::IID, &p);
  return static_cast<zarp::IZARPRegistroPlugins*>(p);
}

TEST(HostCentral, HandsOutItsRegistryWithAReference) {
  auto central = rt::MakeCounted<host::TCentral>();
  rt::HRESULT result;
  auto* registro = AskRegistry(central.Get(), &result);
  EXPECT_EQ(result, rt::kOk);
  EXPECT_EQ(registro, static_cast<zarp::IZARPRegistroPlugins*>(central->Registro()));
  EXPECT_EQ(central->Registro()->RefCount(), 2);
  registro->Release();
  EXPECT_EQ(central->RegistroQueries(), 1);
}

TEST(HostCentral, CanRefuseTheRegistry) {
  auto central = rt::MakeCounted<host::TCentral>();
  central->SetRecusarRegistro(true);
  rt::HRESULT result;
  EXPECT_EQ(AskRegistry(central.Get(), &result), nullptr);
  EXPECT_EQ(result, rt::kNoInterface);
  EXPECT_EQ(central->Registro()->RefCount(), 1);
}

TEST(HostCentral, AnswersItsOwnIdentity) {
  auto central = rt::MakeCounted<host::TCentral>();
  void* p = nullptr;
  ASSERT_EQ(central->QueryInterface(zarp::IZARPCentral::IID, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<zarp::IZARPCentral*>(central.Get()));
  central->Release();
}

TEST(HostRegistry, HoldsRegisteredPluginsAndRecordsEachCall) {
  auto registro = rt::MakeCounted<host::TRegistroPlugins>();
  int destroyed = 0;
  auto* plugin = rt::TInterfacedBase::Create<TFakePlugin>("VEL", &destroyed);
  plugin->AddRef();  // the caller's own reference

  registro->RegistrarPlugin(plugin);
  registro->RegistrarPlugin(plugin);  // stored once
  EXPECT_EQ(registro->PluginCount(), 1);
  EXPECT_EQ(plugin->RefCount(), 2);

  plugin->Release();  // only the registry keeps it alive now
  EXPECT_EQ(destroyed, 0);
  registro->DesregistrarPlugin(plugin);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(registro->PluginCount(), 0);

  const auto& calls = registro->Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].metodo, "RegistrarPlugin");
  EXPECT_EQ(calls[0].countAtCall, 1);
  EXPECT_EQ(calls[0].nome, "VEL");
  EXPECT_EQ(calls[1].countAtCall, 2);
  EXPECT_EQ(calls[2].metodo, "DesregistrarPlugin");
  EXPECT_EQ(calls[2].countAtCall, 1);
  EXPECT_EQ(calls[2].nome, "VEL");
  EXPECT_EQ(registro->Count("RegistrarPlugin"), 2);
}

TEST(HostRegistry, ReleasesWhatItHoldsWhenItGoes) {
  int destroyed = 0;
  {
    auto registro = rt::MakeCounted<host::TRegistroPlugins>();
    registro->RegistrarPlugin(rt::TInterfacedBase::Create<TFakePlugin>("a", &destroyed));
    registro->RegistrarPlugin(rt::TInterfacedBase::Create<TFakePlugin>("b", &destroyed));
  }
  EXPECT_EQ(destroyed, 2);
}

TEST(HostRegistry, UnregisteringAnUnknownOrNullPluginIsRecordedAndHarmless) {
  auto registro = rt::MakeCounted<host::TRegistroPlugins>();
  EXPECT_EQ(registro->DesregistrarPlugin(nullptr), rt::kNoInterface);
  EXPECT_EQ(registro->RegistrarPlugin(nullptr), rt::kNoInterface);
  EXPECT_EQ(registro->Calls().size(), 2u);
  EXPECT_EQ(registro->PluginCount(), 0);
}

TEST(HostController, CountsChangeNotices) {
  auto controller = rt::MakeCounted<host::TController>();
  int seen = 0;
  controller->onFichaAlterada = [&] { ++seen; };
  controller->FichaAlterada();
  controller->FichaAlterada();
  EXPECT_EQ(controller->FichaAlteradaCount(), 2);
  EXPECT_EQ(seen, 2);
  controller->Reset();
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
}

}  // namespace
