// The unit of the VEL document: TZARPFicha1, the sheet of the VEL plug-in, with its eleven
// datasets and their fields, the values it derives from them, and the plug-in it offers.
#pragma once

#include <string_view>

#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "ficha/ZARPFicha.h"

namespace zarp {

// The plug-in's identity as the host sees it.
inline constexpr std::u16string_view kNomePluginVEL = u"VEL-Sistema";
inline constexpr std::u16string_view kDescricaoPluginVEL =
    u"Ficha de personagem do sistema VEL. Creditos: o sistema de jogo, aos seus autores; a "
    u"ficha, aos autores da planilha de personagem";
inline constexpr std::u16string_view kIDPluginVEL = u"ZARP.VELSISTEMA.PLUGIN";

// The library's one plug-in descriptor, for this sheet: it joins the plug-in list and listens to
// the module. Start-up calls it once, after the module and the list exist.
void CriarPluginVEL();

// A document of the VEL sheet (component name ZARPFicha1). Its datasets and fields are created
// by its constructor, in the order of sistema/VELcampos.inc; its creation event opens them all,
// empty. The view's stored references reach them as "ZARPFicha1.DATAA1" and so on.
class TZARPFicha1 : public TZARPFicha {
 public:
  ZARP_FICHA_CLASS(TZARPFicha1)
  explicit TZARPFicha1(rt::TComponent* owner);

  // TfrmVELsistema.
  TFrmBaseVisaoFichaClass ObterClasseVisao() override;

  // The creation event: opens DATAA1 to DATAA9, then DATAPHOTO and DATAB0.
  void ZARPFichaCreate(rt::TComponent* sender);

  // The calculated-fields event of the equipment list DATAA6: the "Cap. Carga" row (qpb, qpc)
  // of the record being calculated, and, in the same run, the wound thresholds, base tests,
  // experience targets and Aa of the sheet, written straight into the current records of DATAA1
  // and DATAA4 (no edit, no post, no notice; whatever their state, read-only included; dropped
  // when they have no record). The level boxes of DATAA4 are read as whole numbers: a text that
  // is not one ends the run there with the conversion error, the earlier steps kept. Sums and
  // products wrap at 32 bits; division truncates toward zero.
  void DATAA6CalcFields(db::TDataSet* dataSet);

  // One member per dataset and per field (dataset name + field name: DATAA1stamina).
#define VEL_DATASET(ds) TZARPDataSet* ds = nullptr;
#define VEL_TEXTO(ds, campo, size) db::TStringField* ds##campo = nullptr;
#define VEL_TEXTO_LARGURA(ds, campo, size, largura) db::TStringField* ds##campo = nullptr;
#define VEL_INTEIRO(ds, campo) db::TIntegerField* ds##campo = nullptr;
#define VEL_INTEIRO_FAIXA(ds, campo, min, max) db::TIntegerField* ds##campo = nullptr;
#define VEL_CALCULADO(ds, campo) db::TIntegerField* ds##campo = nullptr;
#include "sistema/VELcampos.inc"
};

}  // namespace zarp
