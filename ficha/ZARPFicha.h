// The sheet document: the per-character data module that owns a sheet's datasets, answers the
// host through IZARPFicha and IZARPFichaVisao on one count of its own, and makes its view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dataset/ZARPOwnerDatasets.h"
#include "modulo/ZARPModulo.h"
#include "runtime/Com.h"
#include "runtime/HostGuard.h"
#include "ui/DataModule.h"
#include "visao/ZARPBaseVisaoFicha.h"

// Declares a sheet class's name both for its class reference (kClassName) and for ClassName(),
// which also gives the module name its view's stored references use.
#define ZARP_FICHA_CLASS(cls) RT_CLASS_NAME(cls)

namespace db {
class TDataSet;
}

namespace zarp {

class TZARPFicha;

// Fired with the new value after every SetFichaSomenteLeitura; it has no sender.
using TReadOnlyEvent = std::function<void(bool somenteLeitura)>;

// What a sheet-class reference points at: the class's name and its construction, which builds
// the document with `owner` (descriptors pass none) and runs its after-construction step, so a
// new document comes back with a count of 0.
struct TZARPFichaClassRec {
  std::u16string_view ClassName;
  TZARPFicha* (*Create)(rt::TComponent* owner);
};

// A sheet class, as a plug-in descriptor holds it; null means none.
using TZARPFichaClass = const TZARPFichaClassRec*;

// A sheet class derives from TZARPFicha, builds its components in its constructor (usually from
// a ui::DataModuleDescription through ApplyDescription), may assign OnCreate to open its
// datasets, and names its view class by overriding ObterClasseVisao:
//
//   class TMinhaFicha : public zarp::TZARPFicha {
//    public:
//     ZARP_FICHA_CLASS(TMinhaFicha)
//     explicit TMinhaFicha(rt::TComponent* owner) : TZARPFicha(owner) {
//       ApplyDescription(kDescription);
//     }
//     TFrmBaseVisaoFichaClass ObterClasseVisao() override { return ClasseVisao<TfrmMinha>(); }
//   };
//   TZARPFicha* doc = ClasseFicha<TMinhaFicha>()->Create(nullptr);  // count 0
//
// A document is made only through its class reference and ends when its count returns to 0 (or
// with its owner): never delete one that a host may hold.
class TZARPFicha : public ui::TDataModule {
 public:
  ZARP_FICHA_CLASS(TZARPFicha)
  explicit TZARPFicha(rt::TComponent* owner);
  ~TZARPFicha() override;

  // Fires the creation event with the construction's reference still held, then drops it.
  void AfterConstruction() override;

  // The document's own operations, in slot order. The host's slots lead straight to them, so a
  // sheet class that overrides one changes what the host sees.
  virtual void DestruirVisao();
  // The sheet's view class; the base has none.
  virtual TFrmBaseVisaoFichaClass ObterClasseVisao();
  // The view, created for `acoplarEm` first when there is none and `criar` is set (and the
  // sheet names a view class). While it is built, the view's stored references to this sheet
  // class's module name resolve to this document.
  virtual TFrmBaseVisaoFicha* ObterVisao(uint32_t acoplarEm, bool criar);
  virtual void CarregarFicha(IZARPStream* stream);
  virtual void SalvarFicha(IZARPStream* stream);
  // Sets every owned host-bound dataset's read-only flag (cancelling a pending edit), in
  // component order, then fires OnSetSomenteLeitura; a repeated value repeats it all.
  virtual void SetFichaSomenteLeitura(bool value);
  virtual void LimparFicha();
  // Embeds the view (created if needed, moved if it exists) into the host window `acoplarEm`.
  virtual void AcoplarVisao(uint32_t acoplarEm);
  virtual void LiberarVisao();
  virtual void SetFichaVisaoController(IZARPFichaVisaoController* controller);
  // Limits an existing view's size (0: no limit); never creates a view and keeps nothing.
  virtual void SetVisaoConstraints(int32_t maxWidth, int32_t maxHeight);

  // The one count of the three interfaces. Releasing the last reference destroys the document.
  int32_t _AddRef();
  int32_t _Release();
  // A host-bound dataset's notice of a change: passed to the host's controller, if there is one.
  void NotificarAlteracao(db::TDataSet* dataSet);

  // Answers IZARPFicha, IZARPFichaVisao and IZARPOwnerDatasets, and the base identity with the
  // IZARPFicha pointer; every answer adds one reference. Datasets reach it as a component's.
  rt::HRESULT QueryInterface(const rt::GUID& iid, void** obj);
  rt::HRESULT QueryComponentInterface(const rt::GUID& iid, void** obj) override;

  TFrmBaseVisaoFicha* VisaoInstanciada() const { return FVisaoInstanciada; }
  IZARPFichaVisaoController* FichaVisaoController() const { return FFichaVisaoController.Get(); }
  bool FichaSomenteLeitura() const { return FFichaSomenteLeitura; }
  int32_t RefCount() const { return FRefCount; }

  // The events a sheet class may assign; each fires with the document as sender.
  ui::TNotifyEvent BeforeCarregarFicha;
  ui::TNotifyEvent BeforeSalvarFicha;
  ui::TNotifyEvent BeforeLimparFicha;
  ui::TNotifyEvent AfterCaregarFicha;
  ui::TNotifyEvent AfterSalvarFicha;
  ui::TNotifyEvent AfterLimparFicha;
  TReadOnlyEvent OnSetSomenteLeitura;

 private:
  // The three interfaces, each its own object inside the document so that the document's
  // operations keep their names. Slots 0 to 2 are the document's QueryInterface, _AddRef and
  // _Release; like every slot a host calls, they run inside the host-call guard.
  template <class I>
  class TInterface : public I {
   public:
    explicit TInterface(TZARPFicha& ficha) : F(ficha) {}
    rt::HRESULT ZARP_STDCALL QueryInterface(const rt::GUID& iid, void** obj) final {
      return rt::GuardHostCall([&] { return F.QueryInterface(iid, obj); });
    }
    uint32_t ZARP_STDCALL AddRef() final {
      return rt::GuardHostCall([&] { return static_cast<uint32_t>(F._AddRef()); });
    }
    uint32_t ZARP_STDCALL Release() final {
      return rt::GuardHostCall([&] { return static_cast<uint32_t>(F._Release()); });
    }

   protected:
    TZARPFicha& F;
  };
  // Called by the library's own datasets only, in its own calling convention.
  class TOwnerDatasets final : public TInterface<IZARPOwnerDatasets> {
   public:
    using TInterface::TInterface;
    void NotificarAlteracao(db::TDataSet* dataSet) override { F.NotificarAlteracao(dataSet); }
  };
  class TFichaVisao final : public TInterface<IZARPFichaVisao> {
   public:
    using TInterface::TInterface;
    void ZARP_STDCALL AcoplarVisao(uint32_t acoplarEm) override;
    void ZARP_STDCALL LiberarVisao() override;
    void ZARP_STDCALL SetFichaVisaoController(IZARPFichaVisaoController* controller) override;
    void ZARP_STDCALL SetVisaoConstraints(int32_t maxWidth, int32_t maxHeight) override;
  };
  class TFicha final : public TInterface<IZARPFicha> {
   public:
    using TInterface::TInterface;
    void ZARP_STDCALL CarregarFicha(IZARPStream* stream) override;
    void ZARP_STDCALL SalvarFicha(IZARPStream* stream) override;
    void ZARP_STDCALL LimparFicha() override;
    void ZARP_STDCALL SetFichaSomenteLeitura(bool value) override;
  };

  void Disparar(const ui::TNotifyEvent& evento);
  // Destroys the view without virtual dispatch (the destructor's step).
  void DestruirVisaoInstanciada();

  TFrmBaseVisaoFicha* FVisaoInstanciada = nullptr;
  rt::ComPtr<IZARPFichaVisaoController> FFichaVisaoController;
  // The count is 1 from allocation until the creation event has run.
  int32_t FRefCount = 1;
  bool FFichaSomenteLeitura = false;

  TOwnerDatasets FOwnerDatasets{*this};
  TFichaVisao FFichaVisao{*this};
  TFicha FFicha{*this};
};

template <class T>
TZARPFicha* CriarFichaDaClasse(rt::TComponent* owner) {
  return ui::Construct<T>(owner);
}

template <class T>
inline constexpr TZARPFichaClassRec kClasseFicha{T::kClassName, &CriarFichaDaClasse<T>};

// The class reference of sheet class T.
template <class T>
constexpr TZARPFichaClass ClasseFicha() {
  return &kClasseFicha<T>;
}

// The module name under which a sheet class's view finds its document while the view is built:
// the class name without a leading capital T, in ASCII capitals ("TZARPFicha1": "ZARPFICHA1").
std::u16string NomeLookupVisao(std::u16string_view className);
// Clears the module-wide view lookup; the library does it at shutdown.
void LimparLookupVisao();

}  // namespace zarp
