// The library as a host finds it, for the programs around it: loaded (on Windows VELSistema.dll
// through LoadLibrary; natively the same code linked in), reached only through its export, its
// module activated with the substitute host's central services, and sheets made through the
// registered plug-in. Every failure of the library is taken as a host takes it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Central.h"
#include "host/ChamadaProtegida.h"
#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace vel::sessao {

using Bytes = std::vector<uint8_t>;

class TBiblioteca {
 public:
  // Throws std::runtime_error when the library cannot be loaded or registers no VEL plug-in.
  explicit TBiblioteca(const std::string& dll = "VELSistema.dll");
  ~TBiblioteca();
  TBiblioteca(const TBiblioteca&) = delete;
  TBiblioteca& operator=(const TBiblioteca&) = delete;

  host::TRegistroPlugins& Registro() const { return *central_->Registro(); }
  // The registered plug-in whose identifier is the VEL sheet's.
  zarp::IZARPPlugin* Plugin() const { return plugin_; }
  // A new, empty sheet: the host holds its only reference.
  rt::ComPtr<zarp::IZARPFicha> CriarFicha() const;

 private:
  // Deactivates, lets go of every reference and unloads; a second call does nothing.
  void Fechar();

  bool aberta_ = false;
  void* modulo_dll_ = nullptr;  // the loaded DLL (Windows)
  rt::ComPtr<zarp::IZARPModulo> modulo_;
  rt::ComPtr<host::TCentral> central_;
  zarp::IZARPPlugin* plugin_ = nullptr;
};

// Message boxes that the library opens while this lives, on this thread: each answered with OK
// at once and its text kept (UTF-8), for programs that run without a user.
class TCaixasRespondidas {
 public:
  TCaixasRespondidas();
  ~TCaixasRespondidas();
  TCaixasRespondidas(const TCaixasRespondidas&) = delete;
  TCaixasRespondidas& operator=(const TCaixasRespondidas&) = delete;
  std::vector<std::string> Textos() const;

 private:
  void* gancho_ = nullptr;
};

// A sheet's bytes in and out through the host's memory stream.
struct ResultadoCarga {
  bool ok = true;
  host::FalhaBiblioteca falha;      // when !ok: the library's message
  std::vector<std::string> caixas;  // the boxes the load showed ("Carregando field ...")
};
ResultadoCarga Carregar(zarp::IZARPFicha* ficha, const Bytes& bytes);
// Throws std::runtime_error with the library's message when the save fails.
Bytes Salvar(zarp::IZARPFicha* ficha);

}  // namespace vel::sessao
