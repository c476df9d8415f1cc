// The real DLL as a host sees it: loaded with LoadLibrary and reached only through its export.
// Every test loads and unloads the library, so each one runs a full start-up and shutdown.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Central.h"
#include "modulo/ZARPModulo.h"

namespace {

using zarp::EntryPointZARPModuloProc;
using zarp::IZARPModulo;

template <class F>
F ProcAs(FARPROC proc) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

class Dll : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryW(L"VELSistema.dll");
    ASSERT_NE(library, nullptr) << "LoadLibrary failed: " << GetLastError();
    entry = ProcAs<EntryPointZARPModuloProc>(GetProcAddress(library, "EntryPointZARPModulo"));
    ASSERT_NE(entry, nullptr);
  }
  void TearDown() override {
    if (library) FreeLibrary(library);
  }
  IZARPModulo* Obtain() {
    IZARPModulo* modulo = nullptr;
    entry(&modulo);
    return modulo;
  }

  HMODULE library = nullptr;
  EntryPointZARPModuloProc entry = nullptr;
};

// The section names of a PE file on disk; names past eight characters ("/4") are read from the
// COFF string table, as the linker and objcopy write them.
std::vector<std::string> SectionNames(const std::wstring& path) {
  std::ifstream f(std::filesystem::path(path), std::ios::binary);
  const std::vector<char> b{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  auto at = [&](size_t offset, auto& value) {
    if (offset + sizeof value > b.size()) throw std::runtime_error("truncated PE file");
    std::memcpy(&value, b.data() + offset, sizeof value);
  };
  IMAGE_DOS_HEADER dos;
  at(0, dos);
  IMAGE_FILE_HEADER file;
  at(static_cast<size_t>(dos.e_lfanew) + 4, file);
  const size_t first =
      static_cast<size_t>(dos.e_lfanew) + 4 + sizeof file + file.SizeOfOptionalHeader;
  const size_t strings = file.PointerToSymbolTable + size_t{18} * file.NumberOfSymbols;
  std::vector<std::string> names;
  for (size_t i = 0; i < file.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    at(first + i * sizeof section, section);
    std::string name(reinterpret_cast<const char*>(section.Name),
                     strnlen(reinterpret_cast<const char*>(section.Name), 8));
    if (name.size() > 1 && name[0] == '/' && file.PointerToSymbolTable != 0) {
      const size_t offset = strings + std::stoul(name.substr(1));
      if (offset >= b.size()) throw std::runtime_error("section name past the file");
      name = std::string(b.data() + offset, strnlen(b.data() + offset, b.size() - offset));
    }
    names.push_back(name);
  }
  return names;
}

TEST_F(Dll, TheLoadedDllIsTheStrippedOneBesideTheProgram) {
  wchar_t module[MAX_PATH], program[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(library, module, MAX_PATH), 0u);
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  std::wstring dir(program);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  EXPECT_EQ(_wcsicmp(module, (dir + L"VELSistema.dll").c_str()), 0);

  const std::vector<std::string> names = SectionNames(module);
  ASSERT_FALSE(names.empty());
  bool debugLink = false;
  for (const std::string& name : names) {
    EXPECT_NE(name.rfind(".debug", 0), 0u) << "the loaded DLL carries " << name;
    debugLink = debugLink || name == ".gnu_debuglink";
  }
  EXPECT_TRUE(debugLink) << "the loaded DLL does not name its debug file";
}

TEST_F(Dll, TheExportByNameAndByOrdinalOneIsOneFunction) {
  FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCEA(1));
  EXPECT_EQ(reinterpret_cast<void*>(byOrdinal), reinterpret_cast<void*>(entry));
  EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(2)), nullptr);
  // stdcall, undecorated: no "_EntryPointZARPModulo@4" or similar.
  EXPECT_EQ(GetProcAddress(library, "EntryPointZARPModulo@4"), nullptr);
  EXPECT_EQ(GetProcAddress(library, "_EntryPointZARPModulo@4"), nullptr);
}

TEST_F(Dll, TwoCallsYieldTheSameModuleWithOneReferenceEach) {
  IZARPModulo* a = Obtain();
  IZARPModulo* b = Obtain();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  // The library's own reference plus one for each call.
  EXPECT_EQ(a->AddRef(), 4u);
  EXPECT_EQ(a->Release(), 3u);
  EXPECT_EQ(a->Release(), 2u);
  EXPECT_EQ(b->Release(), 1u);
}

TEST_F(Dll, TheModuleAnswersItsInterfaceAndTheBaseIdentityOnly) {
  IZARPModulo* modulo = Obtain();
  void* p = nullptr;
  ASSERT_EQ(modulo->QueryInterface(IZARPModulo::IID, &p), rt::kOk);
  EXPECT_EQ(p, modulo);
  static_cast<IZARPModulo*>(p)->Release();
  ASSERT_EQ(modulo->QueryInterface(rt::IID_IUnknown, &p), rt::kOk);
  EXPECT_EQ(p, modulo);
  static_cast<IZARPModulo*>(p)->Release();
  EXPECT_EQ(modulo->QueryInterface(zarp::IZARPFicha::IID, &p), rt::kNoInterface);
  EXPECT_EQ(p, nullptr);
  modulo->Release();
}

TEST_F(Dll, ActivationRoundTripsRegisterAndUnregisterInPairs) {
  auto central = rt::MakeCounted<host::TCentral>();
  IZARPModulo* modulo = Obtain();
  modulo->SetCentral(central.Get());
  EXPECT_EQ(central->RefCount(), 2);

  for (int round = 0; round < 3; ++round) {
    modulo->AtivarModulo();
    modulo->AtivarModulo();  // already active: nothing more
    int registered = central->Registro()->Count("RegistrarPlugin");
    EXPECT_EQ(central->Registro()->PluginCount(),
              registered - central->Registro()->Count("DesregistrarPlugin"));
    modulo->DesativarModulo();
    modulo->DesativarModulo();
    EXPECT_EQ(central->Registro()->PluginCount(), 0);
    EXPECT_EQ(central->Registro()->Count("RegistrarPlugin"),
              central->Registro()->Count("DesregistrarPlugin"));
  }

  modulo->SetCentral(nullptr);
  EXPECT_EQ(central->RefCount(), 1);
  modulo->Release();
}

TEST_F(Dll, UnloadingDestroysTheModuleAndLetsGoOfTheCentralEvenIfTheHostForgot) {
  auto central = rt::MakeCounted<host::TCentral>();
  IZARPModulo* modulo = Obtain();
  modulo->SetCentral(central.Get());
  EXPECT_EQ(central->RefCount(), 2);
  // The host keeps its module reference past the unload; the library ends the module anyway.
  FreeLibrary(library);
  library = nullptr;
  EXPECT_EQ(central->RefCount(), 1);

  // Loaded again, the library starts afresh: a new, inactive module without a central.
  SetUp();
  IZARPModulo* again = Obtain();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->AddRef(), 3u);
  again->Release();
  again->Release();
}

}  // namespace
