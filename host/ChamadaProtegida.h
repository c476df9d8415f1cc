// A call into the library as a host makes it: a failure inside arrives as the library's
// structured exception (on Windows) or its exception (natively), and the host takes it here,
// with its message, and carries on.
#pragma once

#include <string>
#include <type_traits>

namespace host {

struct FalhaBiblioteca {
  std::string mensagem;     // UTF-8
  bool silenciosa = false;  // a silent abort: the operation was refused, nothing need be shown
};

// Runs `chamada`; false when the library's failure ended it, and `falha` then says what. On
// Windows the frames of `chamada` are left without unwinding, so it must hold nothing that needs
// destroying: hand it its arguments ready made.
bool ChamarBiblioteca(void (*chamada)(void*), void* contexto, FalhaBiblioteca& falha);

template <class F>
bool ChamarBiblioteca(F&& chamada, FalhaBiblioteca& falha) {
  using Funcao = std::remove_reference_t<F>;
  return ChamarBiblioteca([](void* c) { (*static_cast<Funcao*>(c))(); }, &chamada, falha);
}

}  // namespace host
