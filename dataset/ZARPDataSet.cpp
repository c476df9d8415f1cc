// The host-bound dataset: read-only guard, owner notices and field definitions.
#include "dataset/ZARPDataSet.h"

#include <typeinfo>

#include "dataset/ZARPOwnerDatasets.h"

namespace zarp {

TZARPDataSet::TZARPDataSet(rt::TComponent* owner) : TZCustomDataSet(owner) {}

TZARPDataSet::~TZARPDataSet() {
  CloseForDestruction();
}

void TZARPDataSet::SetSomenteLeitura(bool value) {
  FSomenteLeitura = value;
  if (State() == db::TDataSetState::dsEdit || State() == db::TDataSetState::dsInsert) Cancel();
}

void TZARPDataSet::NotificarOwner() {
  rt::TComponent* owner = Owner();
  if (!owner) return;
  void* p = nullptr;
  if (owner->QueryComponentInterface(IZARPOwnerDatasets::IID, &p) != rt::kOk || !p) return;
  // Held only for the call, and released even when the owner's handler fails.
  auto release = rt::ComPtr<IZARPOwnerDatasets>::Adopt(static_cast<IZARPOwnerDatasets*>(p));
  release->NotificarAlteracao(this);
}

void TZARPDataSet::AbrirNormal() {
  SetActive(false);
  SetActive(true);
}

void TZARPDataSet::LimparDataSet() {
  SetActive(false);
  SetActive(true);
}

bool TZARPDataSet::PodeAnexarDireto(const std::vector<db::TField*>& campos) {
  return typeid(*this) == typeid(TZARPDataSet) && CondicoesAnexoDireto(campos);
}

bool TZARPDataSet::CondicoesAnexoDireto(const std::vector<db::TField*>& campos) {
  if (!Active() || State() != db::TDataSetState::dsBrowse || !ControlsDisabled() || !CanModify())
    return false;
  if (BeforeInsert || AfterInsert || BeforeScroll || AfterScroll || OnNewRecord || BeforePost ||
      AfterPost || OnPostError || OnCalcFields)
    return false;
  if (CalcFieldsSize() != 0 || BlobFieldCount() != 0) return false;
  for (const db::TField* f : Fields())
    if (f->Required()) return false;
  for (const db::TField* f : campos)
    if (f->DataSet() != this || f->FieldKind() != db::TFieldKind::fkData || f->FieldNo() <= 0 ||
        f->OnChange || !f->CanPrepareValue())
      return false;
  return true;
}

void TZARPDataSet::NovoRegistroDireto() {
  Guard();
  IniciarRegistroDireto();
  NotificarOwner();
}

// The guard runs before the event, so no Before handler runs for a refused operation.
void TZARPDataSet::DoBeforeInsert() {
  Guard();
  TZCustomDataSet::DoBeforeInsert();
}

void TZARPDataSet::DoBeforeEdit() {
  Guard();
  TZCustomDataSet::DoBeforeEdit();
}

void TZARPDataSet::DoBeforeDelete() {
  Guard();
  TZCustomDataSet::DoBeforeDelete();
}

// The owner hears of a change once the After handler has run. A post sends no notice.
void TZARPDataSet::DoAfterInsert() {
  TZCustomDataSet::DoAfterInsert();
  NotificarOwner();
}

void TZARPDataSet::DoAfterEdit() {
  TZCustomDataSet::DoAfterEdit();
  NotificarOwner();
}

void TZARPDataSet::DoAfterCancel() {
  TZCustomDataSet::DoAfterCancel();
  NotificarOwner();
}

void TZARPDataSet::DoAfterDelete() {
  TZCustomDataSet::DoAfterDelete();
  NotificarOwner();
}

void TZARPDataSet::InternalPost() {
  CheckRequiredFields();
  if (State() == db::TDataSetState::dsEdit)
    GravarEdicao();
  else
    GravarInsercao();
}

void TZARPDataSet::InternalOpen() {
  TZCustomDataSet::InternalOpen();
  FAberto = true;
  InternalInitFieldDefs();
  BindFields(true);
}

void TZARPDataSet::InternalClose() {
  TZCustomDataSet::InternalClose();
  BindFields(false);
  FAberto = false;
}

void TZARPDataSet::InternalInitFieldDefs() {
  FCountCamposFisicos = 0;
  db::TFieldDefs& defs = FieldDefs();
  defs.BeginUpdate();
  try {
    defs.Clear();
    for (db::TField* f : Fields()) {
      if (f->FieldKind() != db::TFieldKind::fkData) continue;
      defs.Add(f->FieldName(), f->DataType(), f->Size())->SetPrecision(18);
      ++FCountCamposFisicos;
    }
  } catch (...) {
    defs.EndUpdate();
    throw;
  }
  defs.EndUpdate();
}

}  // namespace zarp
