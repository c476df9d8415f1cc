// The plug-in descriptor: what the host sees of one kind of sheet (name, credits, identifier,
// new documents), registered with the host's registry while the module is active; and the
// library's list of descriptors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ficha/ZARPFicha.h"
#include "modulo/ZARPModulo.h"
#include "modulo/ZARPModuloDLL.h"
#include "runtime/Interfaced.h"

namespace zarp {

// Lives by its count like every counted object: the host's references (its registry's, once
// registered) keep it; the library keeps only a plain pointer in the plug-in list.
//
//   TPluginFicha::Create(u"VEL-Sistema", u"credits", u"ZARP.VELSISTEMA.PLUGIN",
//                        ClasseFicha<TZARPFicha1>());
class TPluginFicha : public rt::TInterfacedObject<IZARPPlugin> {
 public:
  // Converts the texts to the system code page, joins the plug-in list and registers its
  // NotificarModulo with the module, which registers it with the host at once if the module is
  // active. The count is 0 when it returns. Needs the module and the plug-in list.
  static TPluginFicha* Create(std::u16string_view nomePlugin, std::u16string_view descricaoPlugin,
                              std::u16string_view idPlugin, TZARPFichaClass classeFicha);
  TPluginFicha(rt::Constructing c, std::u16string_view nomePlugin,
               std::u16string_view descricaoPlugin, std::u16string_view idPlugin,
               TZARPFichaClass classeFicha);

  // The stored 8-bit texts themselves: never null, valid while the descriptor lives and the
  // text is unchanged.
  const char* ZARP_STDCALL ObterNome() override;
  const char* ZARP_STDCALL ObterDescricao() override;
  const char* ZARP_STDCALL ObterID() override;
  // A new document of the sheet class, with the host's reference as its only one; null when
  // the descriptor has no sheet class. Whatever *ficha held is not released.
  void ZARP_STDCALL CriarFicha(IZARPFicha** ficha) override;
  // The module's activation callback: registers with the host's registry on true, unregisters
  // on false; nothing without a central or a registry.
  virtual void NotificarModulo(bool ativar);

  const std::string& ZARPNomePlugin() const { return FZARPNomePlugin; }
  void SetZARPNomePlugin(std::string value) { FZARPNomePlugin = std::move(value); }
  const std::string& ZARPDescricaoPlugin() const { return FZARPDescricaoPlugin; }
  void SetZARPDescricaoPlugin(std::string value) { FZARPDescricaoPlugin = std::move(value); }
  const std::string& ZARPIDPlugin() const { return FZARPIDPlugin; }
  void SetZARPIDPlugin(std::string value) { FZARPIDPlugin = std::move(value); }
  TZARPFichaClass FichaClass() const { return FFichaClass; }
  void SetFichaClass(TZARPFichaClass value) { FFichaClass = value; }

 protected:
  // Unregisters its callback (and so, while the module is active, itself from the host) and
  // leaves the plug-in list.
  ~TPluginFicha() override;

 private:
  TMetodoNotificarModulo Metodo();
  void SairDaLista();

  std::string FZARPNomePlugin;
  std::string FZARPDescricaoPlugin;
  std::string FZARPIDPlugin;
  TZARPFichaClass FFichaClass = nullptr;
};

// The plug-in list: plain pointers, in creation order. Created empty at start-up, before any
// descriptor; at shutdown the descriptors still in it are destroyed, the last first, whatever
// their counts, and the list is freed.
void CriarListaPlugins();
void LiberarListaPlugins();
// The list's descriptors; empty when there is no list.
const std::vector<TPluginFicha*>& ListaPlugins();

}  // namespace zarp
