// The unit of the VEL document: the sheet's construction from its schema, the opening of its
// datasets, its view class, its derived values and its plug-in descriptor.
#include "sistema/VELvisao.h"

#include <cstdint>

#include "ficha/ZARPPluginFicha.h"
#include "sistema/VELficha.h"

namespace zarp {

namespace {

// The sheet's arithmetic: sums and products wrap around at 32 bits, as the sheet has always
// computed them (the operands are widened to unsigned, where wrapping is defined).
int32_t Soma(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t Produto(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Division truncates toward zero, which is C++'s own; no divisor here is 0 or -1.
constexpr int32_t Div(int32_t a, int32_t b) {
  return a / b;
}

}  // namespace

void CriarPluginVEL() {
  // The list holds it from now on; the host's references keep it alive.
  TPluginFicha::Create(kNomePluginVEL, kDescricaoPluginVEL, kIDPluginVEL,
                       ClasseFicha<TZARPFicha1>());
}

TZARPFicha1::TZARPFicha1(rt::TComponent* owner) : TZARPFicha(owner) {
  ApplyDescription({.Name = u"ZARPFicha1"});

  const auto dataSet = [this](std::u16string_view nome) {
    auto* ds = new TZARPDataSet(this);
    ds->SetName(std::u16string(nome));
    return ds;
  };
  const auto texto = [this](TZARPDataSet* ds, std::u16string_view nome, int size) {
    return db::DeclareField<db::TStringField>(this, ds, std::u16string(nome), size);
  };
  const auto inteiro = [this](TZARPDataSet* ds, std::u16string_view nome) {
    return db::DeclareField<db::TIntegerField>(this, ds, std::u16string(nome));
  };

#define VEL_DATASET(ds) ds = dataSet(u## #ds);
#define VEL_TEXTO(ds, campo, size) ds##campo = texto(ds, u## #campo, size);
#define VEL_TEXTO_LARGURA(ds, campo, size, largura) \
  ds##campo = texto(ds, u## #campo, size);          \
  ds##campo->SetDisplayWidth(largura);
#define VEL_INTEIRO(ds, campo) ds##campo = inteiro(ds, u## #campo);
#define VEL_INTEIRO_FAIXA(ds, campo, min, max) \
  ds##campo = inteiro(ds, u## #campo);         \
  ds##campo->SetMinValue(min);                 \
  ds##campo->SetMaxValue(max);
#define VEL_CALCULADO(ds, campo)       \
  ds##campo = inteiro(ds, u## #campo); \
  ds##campo->SetCalculated(true);
#include "sistema/VELcampos.inc"

  DATAA6->OnCalcFields = [this](db::TDataSet* ds) { DATAA6CalcFields(ds); };
  OnCreate = [this](rt::TComponent* sender) { ZARPFichaCreate(sender); };
}

TFrmBaseVisaoFichaClass TZARPFicha1::ObterClasseVisao() {
  return ClasseVisao<TfrmVELsistema>();
}

void TZARPFicha1::ZARPFichaCreate(rt::TComponent*) {
  for (TZARPDataSet* ds :
       {DATAA1, DATAA2, DATAA3, DATAA4, DATAA5, DATAA6, DATAA7, DATAA8, DATAA9, DATAPHOTO, DATAB0})
    ds->SetActive(true);
}

void TZARPFicha1::DATAA6CalcFields(db::TDataSet*) {
  // Each step reads its inputs when it runs and writes its output at once, so a level box that
  // is not a number leaves the steps before it applied.
  {
    const int32_t qpa = DATAA6qpa->AsInteger();
    DATAA6qpb->SetAsInteger(Soma(qpa, qpa));
  }
  {
    const int32_t qpa = DATAA6qpa->AsInteger();
    DATAA6qpc->SetAsInteger(Soma(Soma(qpa, qpa), qpa));
  }

  // The "Vitalidade" thresholds of the "PV" row.
  DATAA1machua->SetAsInteger(Div(DATAA1pvb->AsInteger(), 2));
  DATAA1fera->SetAsInteger(Div(DATAA1pvb->AsInteger(), 4));
  DATAA1incaa->SetAsInteger(Div(DATAA1pvb->AsInteger(), 8));

  // "Teste Base".
  {
    const int32_t nivel = DATAA4toptopmid->AsInteger();
    const int32_t stamina = DATAA1stamina->AsInteger();
    const int32_t intelecto = DATAA1intelecto->AsInteger();
    DATAA1fortitude->SetAsInteger(Soma(Soma(nivel, stamina), Div(intelecto, 2)));
  }
  {
    const int32_t nivel = DATAA4toptopmidb->AsInteger();
    const int32_t intelecto = DATAA1intelecto->AsInteger();
    const int32_t stamina = DATAA1stamina->AsInteger();
    DATAA1vontade->SetAsInteger(Soma(Soma(nivel, intelecto), Div(stamina, 2)));
  }

  // The thresholds of the second points row.
  DATAA1machub->SetAsInteger(Div(DATAA1pmb->AsInteger(), 2));
  DATAA1ferb->SetAsInteger(Div(DATAA1pmb->AsInteger(), 4));
  DATAA1incab->SetAsInteger(Div(DATAA1pmb->AsInteger(), 8));

  // Experience targets of the two levels.
  DATAA4xpcb->SetAsInteger(Produto(Soma(DATAA4toptopmid->AsInteger(), 1), 10));
  DATAA4xpppa->SetAsInteger(Produto(Soma(DATAA4toptopmidb->AsInteger(), 1), 10));

  DATAA1Aa->SetAsInteger(Soma(Div(DATAA1destreza->AsInteger(), 2), 1));
}

}  // namespace zarp
