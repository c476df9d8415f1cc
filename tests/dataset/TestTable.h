// A sheet-like owner for dataset tests: it owns datasets and their fields, answers
// IZARPOwnerDatasets by counting notices, and keeps one log of events and notices in order.
#pragma once

#include <string>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "dataset/ZARPOwnerDatasets.h"
#include "db/DataSet.h"

namespace zarp::test {

class Documento : public rt::TComponent, public IZARPOwnerDatasets {
 public:
  explicit Documento(bool offersInterface = true)
      : rt::TComponent(nullptr), offers_(offersInterface) {}

  rt::HRESULT QueryComponentInterface(const rt::GUID& iid, void** obj) override {
    if (offers_ && iid == IZARPOwnerDatasets::IID) {
      *obj = static_cast<IZARPOwnerDatasets*>(this);
      AddRef();
      return rt::kOk;
    }
    return rt::TComponent::QueryComponentInterface(iid, obj);
  }
  rt::HRESULT ZARP_STDCALL QueryInterface(const rt::GUID&, void** obj) override {
    *obj = nullptr;
    return rt::kNoInterface;
  }
  uint32_t ZARP_STDCALL AddRef() override { return static_cast<uint32_t>(++refs); }
  uint32_t ZARP_STDCALL Release() override { return static_cast<uint32_t>(--refs); }
  void NotificarAlteracao(db::TDataSet* dataSet) override {
    ++notices;
    lastNotified = dataSet;
    log.push_back("notice");
  }

  int notices = 0;
  int refs = 0;
  db::TDataSet* lastNotified = nullptr;
  std::vector<std::string> log;

 private:
  bool offers_;
};

// Assigns every Before/After event (and OnNewRecord) of the dataset so that it writes its name
// into the log.
inline void LogEvents(db::TDataSet& ds, std::vector<std::string>& log) {
  auto on = [&log](const char* name) {
    return [&log, name](db::TDataSet*) { log.push_back(name); };
  };
  ds.BeforeInsert = on("BeforeInsert");
  ds.AfterInsert = on("AfterInsert");
  ds.BeforeEdit = on("BeforeEdit");
  ds.AfterEdit = on("AfterEdit");
  ds.BeforePost = on("BeforePost");
  ds.AfterPost = on("AfterPost");
  ds.BeforeCancel = on("BeforeCancel");
  ds.AfterCancel = on("AfterCancel");
  ds.BeforeDelete = on("BeforeDelete");
  ds.AfterDelete = on("AfterDelete");
  ds.BeforeScroll = on("BeforeScroll");
  ds.AfterScroll = on("AfterScroll");
  ds.OnNewRecord = on("OnNewRecord");
}

// A dataset TABELA with an integer field "num" and a string field "nome" (size 10), owned with
// its fields by `doc`, opened.
struct Tabela {
  explicit Tabela(Documento& doc, bool open = true) {
    ds = new TZARPDataSet(&doc);
    ds->SetName(u"TABELA");
    num = db::DeclareField<db::TIntegerField>(&doc, ds, u"num");
    nome = db::DeclareField<db::TStringField>(&doc, ds, u"nome", 10);
    if (open) ds->Open();
  }
  // Appends and posts n records whose num is first, first + 1, ...
  void Fill(int n, int first = 0) {
    for (int i = 0; i < n; ++i) {
      ds->Append();
      num->SetAsInteger(first + i);
      ds->Post();
    }
  }
  // The num values of all records, scanning from the first (the cursor is moved).
  std::vector<int> Nums() {
    std::vector<int> out;
    ds->First();
    while (!ds->Eof()) {
      out.push_back(num->AsInteger());
      ds->Next();
    }
    return out;
  }
  TZARPDataSet* ds;
  db::TIntegerField* num;
  db::TStringField* nome;
};

}  // namespace zarp::test
