// The library's start-up and shutdown sequence.
#include "sistema/Biblioteca.h"

#include "ficha/ZARPFicha.h"
#include "ficha/ZARPPluginFicha.h"
#include "modulo/ZARPModuloDLL.h"
#include "sistema/VELvisao.h"

namespace zarp {

void IniciarBiblioteca() {
  if (ModuloNativo()) return;

  // 1. The module object, with the library's own reference (count 1).
  CriarModuloNativo();

  // 2. The empty plug-in list.
  CriarListaPlugins();

  // 3. The VEL sheet's descriptor: it appends itself to the list and registers its activation
  //    callback with the still inactive module.
  CriarPluginVEL();
}

void FinalizarBiblioteca() {
  // 3. Nothing to undo for the VEL descriptor: it goes with the plug-in list.

  // 2. Every descriptor still in the plug-in list is destroyed, last to first; then the list is
  //    freed and the view-lookup name cleared.
  LiberarListaPlugins();
  LimparLookupVisao();

  // 1. The library's reference to the module; the module is destroyed even if a host still holds
  //    references, because its code is about to go.
  LiberarModuloNativo();
}

}  // namespace zarp
