// The DLL's entry: runs the library's start-up when it is loaded and its shutdown when it is
// unloaded.
#include <windows.h>

#include "sistema/Biblioteca.h"

// Thread notifications stay on: the statically linked runtime keeps per-thread state through them.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      try {
        zarp::IniciarBiblioteca();
      } catch (...) {
        return FALSE;  // the loader then refuses the library; nothing may unwind into it
      }
      return TRUE;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved != null) the host's objects may already be gone, and the
      // process's memory goes with it: shutdown runs only when the library is unloaded.
      if (reserved == nullptr) {
        try {
          zarp::FinalizarBiblioteca();
        } catch (...) {
        }
      }
      return TRUE;
    default:
      return TRUE;
  }
}
