// The sheet document: its count, its interfaces, read-only state, change notices and view.
#include "ficha/ZARPFicha.h"

#include "dataset/ZARPDataSet.h"
#include "ficha/ZARPPersistencia.h"
#include "runtime/CodePage.h"
#include "ui/Application.h"

namespace zarp {

// --- The view lookup ---------------------------------------------------------------------------

namespace {

// Set by ObterVisao for the view being built; only one view is ever built at a time, on the
// user-interface thread. The document pointer is read only while the resolver is registered.
std::u16string nomeLookup;
TZARPFicha* fichaLookup = nullptr;

rt::TComponent* ResolverFicha(std::u16string_view nome) {
  if (!fichaLookup || rt::AsciiUpper(nome) != nomeLookup) return nullptr;
  return fichaLookup;
}

// Registers the resolver for the lifetime of one view construction, failing or not.
class TResolverRegistrado {
 public:
  TResolverRegistrado() { rt::RegisterFindGlobalComponentProc(ResolverFicha); }
  ~TResolverRegistrado() { rt::UnregisterFindGlobalComponentProc(ResolverFicha); }
  TResolverRegistrado(const TResolverRegistrado&) = delete;
  TResolverRegistrado& operator=(const TResolverRegistrado&) = delete;
};

}  // namespace

std::u16string NomeLookupVisao(std::u16string_view className) {
  if (!className.empty() && className.front() == u'T') className.remove_prefix(1);
  return rt::AsciiUpper(className);
}

void LimparLookupVisao() {
  nomeLookup.clear();
  nomeLookup.shrink_to_fit();
  fichaLookup = nullptr;
}

// --- Count and lifetime ------------------------------------------------------------------------

TZARPFicha::TZARPFicha(rt::TComponent* owner) : ui::TDataModule(owner) {}

TZARPFicha::~TZARPFicha() {
  // Whoever frees the document (its last release, its owner, a failed construction), the
  // destruction event comes first, then the view, then the datasets; the controller goes last,
  // with the members. Nothing that runs meanwhile may free the document a second time.
  MarkDestroying();
  ui::RunGuarded([&] { BeforeDestruction(); });
  DestruirVisaoInstanciada();
  DestroyComponents();
  if (fichaLookup == this) fichaLookup = nullptr;
}

void TZARPFicha::AfterConstruction() {
  ui::TDataModule::AfterConstruction();
  rt::InterlockedDec(&FRefCount);
}

int32_t TZARPFicha::_AddRef() {
  return rt::InterlockedInc(&FRefCount);
}

int32_t TZARPFicha::_Release() {
  const int32_t count = rt::InterlockedDec(&FRefCount);
  if (count == 0 && !Destroying()) {
    // The destruction event runs while the document is still whole, sheet class included; a
    // reference it takes and drops finds the document already on its way out.
    MarkDestroying();
    ui::RunGuarded([&] { BeforeDestruction(); });
    delete this;
  }
  return count;
}

rt::HRESULT TZARPFicha::QueryInterface(const rt::GUID& iid, void** obj) {
  if (!obj) return rt::kNoInterface;
  if (iid == IZARPFicha::IID || iid == rt::IID_IUnknown) {
    *obj = static_cast<IZARPFicha*>(&FFicha);
  } else if (iid == IZARPFichaVisao::IID) {
    *obj = static_cast<IZARPFichaVisao*>(&FFichaVisao);
  } else if (iid == IZARPOwnerDatasets::IID) {
    *obj = static_cast<IZARPOwnerDatasets*>(&FOwnerDatasets);
  } else {
    *obj = nullptr;
    return rt::kNoInterface;
  }
  _AddRef();
  return rt::kOk;
}

rt::HRESULT TZARPFicha::QueryComponentInterface(const rt::GUID& iid, void** obj) {
  return QueryInterface(iid, obj);
}

// --- Operations --------------------------------------------------------------------------------

void TZARPFicha::Disparar(const ui::TNotifyEvent& evento) {
  if (evento) evento(this);
}

void TZARPFicha::DestruirVisao() {
  DestruirVisaoInstanciada();
}

void TZARPFicha::DestruirVisaoInstanciada() {
  // Forgotten first, so nothing that runs while the view goes can reach it half destroyed.
  TFrmBaseVisaoFicha* visao = FVisaoInstanciada;
  FVisaoInstanciada = nullptr;
  delete visao;
}

TFrmBaseVisaoFichaClass TZARPFicha::ObterClasseVisao() {
  return nullptr;
}

TFrmBaseVisaoFicha* TZARPFicha::ObterVisao(uint32_t acoplarEm, bool criar) {
  if (!FVisaoInstanciada && criar) {
    if (TFrmBaseVisaoFichaClass classe = ObterClasseVisao()) {
      nomeLookup = NomeLookupVisao(ClassName());
      fichaLookup = this;
      TResolverRegistrado resolver;
      FVisaoInstanciada = classe->Create(this, acoplarEm);
    }
  }
  return FVisaoInstanciada;
}

void TZARPFicha::CarregarFicha(IZARPStream* stream) {
  Disparar(BeforeCarregarFicha);
  LimparFicha();
  CarregarDataSets(*this, stream);
  Disparar(AfterCaregarFicha);
}

void TZARPFicha::SalvarFicha(IZARPStream* stream) {
  Disparar(BeforeSalvarFicha);
  SalvarDataSets(*this, stream);
  Disparar(AfterSalvarFicha);
}

void TZARPFicha::SetFichaSomenteLeitura(bool value) {
  FFichaSomenteLeitura = value;
  // By index: a cancel's notice runs host code, which must not invalidate the walk.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* dataSet = dynamic_cast<TZARPDataSet*>(Components(i)))
      dataSet->SetSomenteLeitura(value);
  if (OnSetSomenteLeitura) OnSetSomenteLeitura(value);
}

void TZARPFicha::LimparFicha() {
  Disparar(BeforeLimparFicha);
  EsvaziarDataSets(*this);
  Disparar(AfterLimparFicha);
}

void TZARPFicha::AcoplarVisao(uint32_t acoplarEm) {
  if (TFrmBaseVisaoFicha* visao = ObterVisao(acoplarEm, true)) visao->EmbedInto(acoplarEm);
}

void TZARPFicha::LiberarVisao() {
  DestruirVisao();
}

void TZARPFicha::SetFichaVisaoController(IZARPFichaVisaoController* controller) {
  FFichaVisaoController = controller;
}

void TZARPFicha::SetVisaoConstraints(int32_t maxWidth, int32_t maxHeight) {
  if (TFrmBaseVisaoFicha* visao = ObterVisao(0, false)) {
    visao->Constraints().SetMaxWidth(maxWidth);
    visao->Constraints().SetMaxHeight(maxHeight);
  }
}

void TZARPFicha::NotificarAlteracao(db::TDataSet*) {
  // Held for the call: the host may replace its controller while it is told.
  if (rt::ComPtr<IZARPFichaVisaoController> controller = FFichaVisaoController)
    controller->FichaAlterada();
}

// --- The interfaces ----------------------------------------------------------------------------

void TZARPFicha::TFichaVisao::AcoplarVisao(uint32_t acoplarEm) {
  rt::GuardHostCall([&] { F.AcoplarVisao(acoplarEm); });
}
void TZARPFicha::TFichaVisao::LiberarVisao() {
  rt::GuardHostCall([&] { F.LiberarVisao(); });
}
void TZARPFicha::TFichaVisao::SetFichaVisaoController(IZARPFichaVisaoController* controller) {
  rt::GuardHostCall([&] { F.SetFichaVisaoController(controller); });
}
void TZARPFicha::TFichaVisao::SetVisaoConstraints(int32_t maxWidth, int32_t maxHeight) {
  rt::GuardHostCall([&] { F.SetVisaoConstraints(maxWidth, maxHeight); });
}

void TZARPFicha::TFicha::CarregarFicha(IZARPStream* stream) {
  rt::GuardHostCall([&] { F.CarregarFicha(stream); });
}
void TZARPFicha::TFicha::SalvarFicha(IZARPStream* stream) {
  rt::GuardHostCall([&] { F.SalvarFicha(stream); });
}
void TZARPFicha::TFicha::LimparFicha() {
  rt::GuardHostCall([&] { F.LimparFicha(); });
}
void TZARPFicha::TFicha::SetFichaSomenteLeitura(bool value) {
  rt::GuardHostCall([&] { F.SetFichaSomenteLeitura(value); });
}

}  // namespace zarp
