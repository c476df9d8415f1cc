// The host-bound dataset, the class of every table of a sheet: it builds its field definitions
// from the fields declared on it, refuses edits silently while read-only and tells its owner when
// an edit or insert begins, is cancelled, or removes a record.
#pragma once

#include <vector>

#include "dataset/ZARPBaseDataSet.h"
#include "runtime/Exception.h"

namespace zarp {

// A refused edit of a read-only dataset: a silent abort with an empty message.
class EZARPSomenteLeitura : public rt::EAbort {
 public:
  EZARPSomenteLeitura() : rt::EAbort(u"") {}
};

class TZARPDataSet : public TZCustomDataSet {
 public:
  RT_CLASS_NAME(TZARPDataSet)
  explicit TZARPDataSet(rt::TComponent* owner);
  ~TZARPDataSet() override;

  bool SomenteLeitura() const { return FSomenteLeitura; }
  // Writing the flag, whatever its value, cancels a pending edit or insert.
  void SetSomenteLeitura(bool value);

  // Calls the owner's IZARPOwnerDatasets::NotificarAlteracao, when the owner offers it.
  virtual void NotificarOwner();
  // Both close and reopen the dataset: it is emptied and its fields bound afresh, with no
  // read-only check and no notice.
  virtual void AbrirNormal();
  virtual void LimparDataSet();

  // Whether a loader may append records directly (TZCustomDataSet's direct appends) instead of
  // inserting and posting each, assigning the data fields `campos`: only while the controls are
  // disabled, in browse state, and when an Insert, the assignments and a Post would do nothing
  // but what the direct path does (no handler of the events they fire, no calculated, blob or
  // required field, and fields that prepare their values). A subclass may insert or post
  // differently, so it answers false unless it says otherwise (answering CondicoesAnexoDireto).
  virtual bool PodeAnexarDireto(const std::vector<db::TField*>& campos);
  // Begins a record as an Insert begins it for the host: the read-only guard, then the owner's
  // notice of an insert.
  void NovoRegistroDireto();

 protected:
  // The conditions of PodeAnexarDireto other than the class.
  bool CondicoesAnexoDireto(const std::vector<db::TField*>& campos);
  void DoAfterCancel() override;
  void DoAfterDelete() override;
  void DoAfterEdit() override;
  void DoAfterInsert() override;
  void DoBeforeDelete() override;
  void DoBeforeEdit() override;
  void DoBeforeInsert() override;
  int GetRecordCount() override { return FTamanhoBuffer; }
  void InternalDelete() override { ExcluirRegistro(); }
  void InternalPost() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalOpen() override;
  bool IsCursorOpen() override { return FAberto; }
  bool CarregarProximoRegistro(TBufferRecord&) override { return false; }
  int GetCountCamposFisicos() override { return FCountCamposFisicos; }

 private:
  void Guard() const {
    if (FSomenteLeitura) throw EZARPSomenteLeitura();
  }

  bool FAberto = false;  // this class's own open flag
  bool FSomenteLeitura = false;
};

}  // namespace zarp
