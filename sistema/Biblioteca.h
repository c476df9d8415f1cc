// Library start-up and shutdown: the one place that orders the library's global objects, so their
// order never depends on how C++ static initialisers across files happen to run.
#pragma once

namespace zarp {

// Runs when the library is attached to a process, before a host can call the export; native tests
// call it directly. A second call while the library is up does nothing.
void IniciarBiblioteca();
// Runs when the library is detached: undoes the start-up in reverse.
void FinalizarBiblioteca();

}  // namespace zarp
