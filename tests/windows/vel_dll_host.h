// A host of the real VELSistema.dll for the Windows tests: LoadLibrary, the export, the substitute
// host's central services and registry. Nothing of the library is linked into the test program.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/Central.h"
#include "host/Controller.h"
#include "host/Streams.h"
#include "modulo/ZARPModulo.h"
#include "runtime/HostGuard.h"

namespace testhost {

using Bytes = std::vector<uint8_t>;

// A failure inside the library reaches a host as the library's structured exception; a test
// that gets one names the message before the process ends.
inline LONG CALLBACK MostrarFalha(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == rt::kHostExceptionCode && r->NumberParameters >= 1)
    ADD_FAILURE() << "library failure: "
                  << reinterpret_cast<const char*>(r->ExceptionInformation[0]);
  return EXCEPTION_CONTINUE_SEARCH;
}
inline const PVOID kMostrarFalha = AddVectoredExceptionHandler(1, MostrarFalha);

inline std::string Dados(const char* nome) {
  return std::string(VEL_TEST_DATA_DIR) + "/" + nome;
}

inline Bytes LerArquivo(const char* nome) {
  std::ifstream f(Dados(nome), std::ios::binary);
  EXPECT_TRUE(f.good()) << Dados(nome);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

template <class I>
rt::ComPtr<I> Consultar(rt::IUnknown* objeto) {
  void* p = nullptr;
  EXPECT_EQ(objeto->QueryInterface(I::IID, &p), rt::kOk);
  return rt::ComPtr<I>::Adopt(static_cast<I*>(p));
}

class VelHost : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryW(L"VELSistema.dll");
    ASSERT_NE(library, nullptr) << "LoadLibrary failed: " << GetLastError();
    FARPROC proc = GetProcAddress(library, "EntryPointZARPModulo");
    entry = reinterpret_cast<zarp::EntryPointZARPModuloProc>(reinterpret_cast<void (*)()>(proc));
    ASSERT_NE(entry, nullptr);
  }
  void TearDown() override {
    if (library) FreeLibrary(library);
    // Whatever the library held of the host is released by its shutdown at the latest.
    EXPECT_EQ(central->RefCount(), 1);
  }

  rt::ComPtr<zarp::IZARPModulo> Modulo() {
    zarp::IZARPModulo* modulo = nullptr;
    entry(&modulo);
    return rt::ComPtr<zarp::IZARPModulo>::Adopt(modulo);
  }
  host::TRegistroPlugins& Registro() { return *central->Registro(); }

  HMODULE library = nullptr;
  zarp::EntryPointZARPModuloProc entry = nullptr;
  rt::ComPtr<host::TCentral> central = rt::MakeCounted<host::TCentral>();
};

}  // namespace testhost
