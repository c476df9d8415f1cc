// How a host takes the library's failures: natively a C++ exception; on Windows the structured
// exception, caught as a compiler's __try would catch it: on 32-bit Windows by an exception
// registration of our own, on 64-bit Windows by a vectored handler.
#include "host/ChamadaProtegida.h"

#include <exception>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"

#ifdef _WIN32
#include <windows.h>

#include "runtime/HostGuard.h"
#endif

namespace host {

#ifndef _WIN32

bool ChamarBiblioteca(void (*chamada)(void*), void* contexto, FalhaBiblioteca& falha) {
  try {
    chamada(contexto);
    return true;
  } catch (const std::exception& e) {
    falha.mensagem = e.what();
    falha.silenciosa = dynamic_cast<const rt::EAbort*>(&e) != nullptr;
    return false;
  }
}

#elif defined(__i386__)

namespace {

// One registration on the thread's chain of exception handlers; the system hands the handler
// the registration's address, which is also the address of the whole frame.
struct Quadro {
  EXCEPTION_REGISTRATION_RECORD registro;
  void* retorno[5];  // for __builtin_setjmp
  FalhaBiblioteca* falha;
};

EXCEPTION_DISPOSITION __cdecl Tratador(EXCEPTION_RECORD* r, void* quadro, CONTEXT*, void*) {
  if (r->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  if (r->ExceptionCode != rt::kHostExceptionCode) return ExceptionContinueSearch;
  auto* q = static_cast<Quadro*>(quadro);
  // The message lives only until the library's next failure: copied now.
  const char* texto = r->NumberParameters >= 1
                          ? reinterpret_cast<const char*>(r->ExceptionInformation[0])
                          : nullptr;
  q->falha->mensagem = texto ? rt::Utf16ToUtf8(rt::FromAnsi(texto)) : std::string();
  q->falha->silenciosa = r->NumberParameters >= 2 && r->ExceptionInformation[1] != 0;
  // Every registration above ours is unwound (and ours becomes the chain's head), then the
  // call's frames are left for the point where the call began.
  RtlUnwind(quadro, nullptr, r, nullptr);
  __builtin_longjmp(q->retorno, 1);
}

// The head of the thread's registration chain, the first word of its information block.
EXCEPTION_REGISTRATION_RECORD* Cadeia() {
  EXCEPTION_REGISTRATION_RECORD* p;
  asm volatile("movl %%fs:0, %0" : "=r"(p));
  return p;
}
void DefinirCadeia(EXCEPTION_REGISTRATION_RECORD* p) {
  asm volatile("movl %0, %%fs:0" : : "r"(p) : "memory");
}

}  // namespace

__attribute__((noinline)) bool ChamarBiblioteca(void (*chamada)(void*), void* contexto,
                                                FalhaBiblioteca& falha) {
  volatile Quadro q{};
  q.falha = &falha;
  q.registro.Next = Cadeia();
  q.registro.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&Tratador);
  if (__builtin_setjmp(const_cast<void**>(q.retorno))) {
    DefinirCadeia(q.registro.Next);
    return false;
  }
  DefinirCadeia(const_cast<EXCEPTION_REGISTRATION_RECORD*>(&q.registro));
  chamada(contexto);
  DefinirCadeia(q.registro.Next);
  return true;
}

#else

namespace {

// 64-bit Windows keeps no handler chain on the stack: a vectored handler takes the library's
// exception for the call under way on its thread and leaves the frames since for the point where
// the call began.
struct Quadro {
  void* retorno[5];  // for __builtin_setjmp
  FalhaBiblioteca* falha;
};
thread_local Quadro* tAtual = nullptr;

LONG CALLBACK Tratador(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  Quadro* q = tAtual;
  if (!q || r->ExceptionCode != rt::kHostExceptionCode) return EXCEPTION_CONTINUE_SEARCH;
  const char* texto = r->NumberParameters >= 1
                          ? reinterpret_cast<const char*>(r->ExceptionInformation[0])
                          : nullptr;
  q->falha->mensagem = texto ? rt::Utf16ToUtf8(rt::FromAnsi(texto)) : std::string();
  q->falha->silenciosa = r->NumberParameters >= 2 && r->ExceptionInformation[1] != 0;
  __builtin_longjmp(q->retorno, 1);
}

}  // namespace

__attribute__((noinline)) bool ChamarBiblioteca(void (*chamada)(void*), void* contexto,
                                                FalhaBiblioteca& falha) {
  static const PVOID kTratador = AddVectoredExceptionHandler(1, Tratador);
  (void)kTratador;
  Quadro q{};
  q.falha = &falha;
  Quadro* volatile anterior = tAtual;
  if (__builtin_setjmp(q.retorno)) {
    tAtual = anterior;
    return false;
  }
  tAtual = &q;
  chamada(contexto);
  tAtual = anterior;
  return true;
}

#endif

}  // namespace host
