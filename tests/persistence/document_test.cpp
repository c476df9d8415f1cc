// Persistence through the sheet document's operations: a damaged stream ends the load with its
// error, after the clearing and before the after-event, and leaves the document with the
// sections before the damage, still read-only when it was. (The host's slots turn the error into
// the library's structured exception on Windows; the Wine tests cover that.)
#include <gtest/gtest.h>

#include "FichaTeste.h"
#include "ficha/ZARPFicha.h"
#include "ficha/ZARPStreamUtils.h"

namespace zarp::test {
namespace {

class TFichaDePersistencia : public TZARPFicha {
 public:
  ZARP_FICHA_CLASS(TFichaDePersistencia)
  explicit TFichaDePersistencia(rt::TComponent* owner) : TZARPFicha(owner) {
    for (const char16_t* nome : {u"PRIMEIRA", u"SEGUNDA"}) {
      auto* ds = new TZARPDataSet(this);
      ds->SetName(nome);
      db::DeclareField<db::TIntegerField>(this, ds, u"n");
      dataSets.push_back(ds);
    }
    auto evento = [this](const char* nome) {
      return [this, nome](rt::TComponent*) { log.push_back(nome); };
    };
    BeforeCarregarFicha = evento("BeforeCarregarFicha");
    AfterCaregarFicha = evento("AfterCaregarFicha");
    BeforeLimparFicha = evento("BeforeLimparFicha");
    AfterLimparFicha = evento("AfterLimparFicha");
    OnCreate = [this](rt::TComponent*) {
      for (TZARPDataSet* ds : dataSets) ds->Open();
    };
  }

  void Preencher() {
    for (TZARPDataSet* ds : dataSets)
      for (int i = 1; i <= 3; ++i) {
        ds->Append();
        ds->FieldByName(u"n")->SetAsInteger(i);
        ds->Post();
      }
  }

  std::vector<TZARPDataSet*> dataSets;
  std::vector<std::string> log;
};

// A new document and the host's reference to it, released at the end of the test.
struct Documento {
  Documento()
      : doc(static_cast<TFichaDePersistencia*>(
            ClasseFicha<TFichaDePersistencia>()->Create(nullptr))) {
    void* p = nullptr;
    doc->QueryInterface(IZARPFicha::IID, &p);
    ficha = rt::ComPtr<IZARPFicha>::Adopt(static_cast<IZARPFicha*>(p));
  }
  TFichaDePersistencia* doc;
  rt::ComPtr<IZARPFicha> ficha;
};

TEST(DocumentLoad, ADamagedStreamEndsTheLoadWithoutItsAfterEvent) {
  Documento origem;
  origem.doc->Preencher();
  auto salvo = Stream();
  origem.doc->SalvarFicha(salvo.Get());
  Bytes cortado = salvo->Bytes();
  cortado.resize(cortado.size() - 6);  // inside the last record of SEGUNDA

  Documento destino;
  destino.doc->Preencher();
  destino.doc->SetFichaSomenteLeitura(true);
  destino.doc->log.clear();
  auto s = Stream(cortado);
  try {
    destino.doc->CarregarFicha(s.Get());
    FAIL() << "loaded";
  } catch (const EStreamFicha& e) {
    EXPECT_EQ(e.Message(), u"Sheet stream ends inside section SEGUNDA (record 3 of 3)");
  }
  EXPECT_EQ(destino.doc->log, (std::vector<std::string>{"BeforeCarregarFicha", "BeforeLimparFicha",
                                                        "AfterLimparFicha"}));
  EXPECT_EQ(Registros(*destino.doc->dataSets[0]), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(destino.doc->dataSets[1]->RecordCount(), 0);
  for (TZARPDataSet* ds : destino.doc->dataSets) EXPECT_TRUE(ds->SomenteLeitura());
}

}  // namespace
}  // namespace zarp::test
