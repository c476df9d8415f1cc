// Test sheets for the document and descriptor tests: a sheet with two host-bound datasets, a
// plain component and a view whose probe resolves stored references while the view is built;
// a sheet without a view class; live counts and one shared log of what happened, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/DataSet.h"
#include "db/Field.h"
#include "ficha/ZARPFicha.h"
#include "host/Controller.h"
#include "runtime/Exception.h"
#include "ui/Description.h"
#include "visao/ZARPVisaoFicha.h"

namespace fichas {

// What the test sheets and views did, in order, and how many of each are alive.
struct Registro {
  static inline std::vector<std::string> log;
  static inline int fichasVivas = 0;
  static inline int visoesVivas = 0;
  static void Limpar() { log.clear(); }
};

// A component of the view that resolves, while the view is built, each of `referencias`
// ("Module.Component") through the global-component lookup and keeps what it got.
inline std::vector<std::u16string> referencias;

class TSonda : public rt::TComponent {
 public:
  explicit TSonda(rt::TComponent* owner) : rt::TComponent(owner) {
    for (const std::u16string& r : referencias)
      resolvidos.push_back(rt::ResolveComponentReference(r, owner));
  }
  std::vector<rt::TComponent*> resolvidos;
};

inline rt::TComponent* CriarSonda(rt::TComponent* owner, std::span<const ui::StoredProperty>) {
  return new TSonda(owner);
}

inline const ui::ComponentDescription kComponentesVisao[] = {
    {.Create = CriarSonda, .Name = u"Sonda"},
};

// A small sheet view: 300 x 200, with the probe.
class TfrmTeste : public zarp::TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmTeste)
  TfrmTeste(rt::TComponent* owner, uint32_t acoplarEm) : TfrmVisaoFicha(owner, acoplarEm) {
    ApplyDescription({.Name = u"frmTeste",
                      .ClientWidth = 300,
                      .ClientHeight = 200,
                      .Components = kComponentesVisao});
    ++Registro::visoesVivas;
  }
  ~TfrmTeste() override {
    --Registro::visoesVivas;
    Registro::log.push_back("view freed");
  }
  TSonda& Sonda() const { return Find<TSonda>(u"Sonda"); }
};

// A view whose construction fails once its probe has run.
class TfrmFalha : public zarp::TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmFalha)
  TfrmFalha(rt::TComponent* owner, uint32_t acoplarEm) : TfrmVisaoFicha(owner, acoplarEm) {
    ApplyDescription({.Components = kComponentesVisao});
    throw rt::Exception(u"view refused");
  }
};

// A host-bound dataset that reports its destruction.
class TDataSetTeste : public zarp::TZARPDataSet {
 public:
  using TZARPDataSet::TZARPDataSet;
  ~TDataSetTeste() override {
    Registro::log.push_back("dataset freed: " + rt::Utf16ToUtf8(Name()));
  }
};

// The test sheet: DATA1 and DATA2 (host-bound, an integer field "num" each) around a plain
// component "Something", opened by the creation event, with the view TfrmTeste.
class TTestFicha : public zarp::TZARPFicha {
 public:
  ZARP_FICHA_CLASS(TTestFicha)
  explicit TTestFicha(rt::TComponent* owner) : TZARPFicha(owner) {
    DATA1 = NovoDataSet(u"DATA1");
    Something = new rt::TComponent(this);
    Something->SetName(u"Something");
    DATA2 = NovoDataSet(u"DATA2");
    DATA1num = db::DeclareField<db::TIntegerField>(this, DATA1, u"num");
    DATA2num = db::DeclareField<db::TIntegerField>(this, DATA2, u"num");
    OnCreate = [this](rt::TComponent*) {
      DATA1->Open();
      DATA2->Open();
      if (aoCriar) aoCriar(*this);
    };
    OnDestroy = [](rt::TComponent*) { Registro::log.push_back("destroy event"); };
    ++Registro::fichasVivas;
  }
  ~TTestFicha() override { --Registro::fichasVivas; }

  zarp::TFrmBaseVisaoFichaClass ObterClasseVisao() override { return classeVisao; }

  TfrmTeste* Visao() const { return dynamic_cast<TfrmTeste*>(VisaoInstanciada()); }

  // Runs at the end of the creation event of every TTestFicha, when set.
  static inline std::function<void(TTestFicha&)> aoCriar;
  zarp::TFrmBaseVisaoFichaClass classeVisao = zarp::ClasseVisao<TfrmTeste>();

  TDataSetTeste* DATA1;
  rt::TComponent* Something;
  TDataSetTeste* DATA2;
  db::TIntegerField* DATA1num;
  db::TIntegerField* DATA2num;

 private:
  TDataSetTeste* NovoDataSet(std::u16string nome) {
    auto* ds = new TDataSetTeste(this);
    ds->SetName(std::move(nome));
    return ds;
  }
};

// A sheet class whose name begins with a lower-case t, which its lookup name keeps.
class tfichaMinuscula : public TTestFicha {
 public:
  ZARP_FICHA_CLASS(tfichaMinuscula)
  using TTestFicha::TTestFicha;
};

// The base document as it stands: no datasets and no view class.
class TFichaSemVisao : public zarp::TZARPFicha {
 public:
  ZARP_FICHA_CLASS(TFichaSemVisao)
  using TZARPFicha::TZARPFicha;
};

// One interface of a document, with a reference of the caller's own.
template <class I>
rt::ComPtr<I> Obter(zarp::TZARPFicha& doc) {
  void* p = nullptr;
  doc.QueryInterface(I::IID, &p);
  return rt::ComPtr<I>::Adopt(static_cast<I*>(p));
}

// A new document of class T, as a descriptor makes it: count 0, owned by nobody yet.
template <class T = TTestFicha>
T* Nova() {
  return static_cast<T*>(zarp::ClasseFicha<T>()->Create(nullptr));
}

// A host controller that logs its release.
class TControllerTeste : public host::TController {
 public:
  using TController::TController;
  uint32_t ZARP_STDCALL Release() override {
    Registro::log.push_back("controller released");
    return TController::Release();
  }
};

}  // namespace fichas
