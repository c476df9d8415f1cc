// The base sheet view: the form class a document's view machinery knows, created for the host
// window it is meant to be embedded in. Also the view-class reference documents hand around.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/Component.h"
#include "ui/Description.h"
#include "ui/Forms.h"

// Declares a view class's name both for class references (kClassName) and for ClassName().
#define ZARP_VISAO_CLASS(cls) RT_CLASS_NAME(cls)

namespace zarp {

class TFrmBaseVisaoFicha;

// What a view-class reference points at: the class's name and its constructor (which also runs
// the after-construction step).
struct TFrmBaseVisaoFichaClassRec {
  std::u16string_view ClassName;
  TFrmBaseVisaoFicha* (*Create)(rt::TComponent* owner, uint32_t acoplarEm);
};

// A view class, as a document's ObterClasseVisao names it; null means no view class.
using TFrmBaseVisaoFichaClass = const TFrmBaseVisaoFichaClassRec*;

class TFrmBaseVisaoFicha : public ui::TForm {
 public:
  ZARP_VISAO_CLASS(TFrmBaseVisaoFicha)
  // `acoplarEm` is the host window the view is meant for. It is stored before any stored
  // description is applied or any child control exists: those steps belong to the derived
  // classes' constructors, which run after this one.
  TFrmBaseVisaoFicha(rt::TComponent* owner, uint32_t acoplarEm);

  uint32_t AcoplarEm() const { return FAcoplarEm; }

 private:
  uint32_t FAcoplarEm;
};

template <class T>
TFrmBaseVisaoFicha* CriarVisao(rt::TComponent* owner, uint32_t acoplarEm) {
  return ui::Construct<T>(owner, acoplarEm);
}

template <class T>
inline constexpr TFrmBaseVisaoFichaClassRec kClasseVisao{T::kClassName, &CriarVisao<T>};

// The class reference of view class T.
template <class T>
constexpr TFrmBaseVisaoFichaClass ClasseVisao() {
  return &kClasseVisao<T>;
}

}  // namespace zarp
