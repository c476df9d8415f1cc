// The demo host: a small Windows program that drives VELSistema.dll the way a host does (load,
// export, central services, activation, plug-ins, deactivation, unload) and prints each step.
// Usage: demo-host [path-to-VELSistema.dll]
#include <windows.h>

#include <cstdio>
#include <string>

#include "host/Central.h"
#include "modulo/ZARPModulo.h"
#include "runtime/HostGuard.h"

namespace {

// A failure inside the library arrives as the library's structured exception; a host reports it.
LONG CALLBACK ReportLibraryFailure(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != rt::kHostExceptionCode) return EXCEPTION_CONTINUE_SEARCH;
  const char* message = record->NumberParameters >= 1
                            ? reinterpret_cast<const char*>(record->ExceptionInformation[0])
                            : "";
  std::printf("library failure: %s\n", message);
  std::fflush(stdout);
  ExitProcess(3);
}

class DemoHost {
 public:
  explicit DemoHost(std::string dllPath) : dllPath_(std::move(dllPath)) {}
  ~DemoHost() { Unload(); }

  bool Load() {
    library_ = LoadLibraryA(dllPath_.c_str());
    if (!library_) {
      std::printf("cannot load %s (error %lu)\n", dllPath_.c_str(), GetLastError());
      return false;
    }
    FARPROC proc = GetProcAddress(library_, "EntryPointZARPModulo");
    entry_ = reinterpret_cast<zarp::EntryPointZARPModuloProc>(reinterpret_cast<void (*)()>(proc));
    std::printf("loaded %s; EntryPointZARPModulo %s\n", dllPath_.c_str(),
                entry_ ? "found" : "missing");
    return entry_ != nullptr;
  }

  bool ObtainModule() {
    zarp::IZARPModulo* modulo = nullptr;
    entry_(&modulo);
    modulo_ = rt::ComPtr<zarp::IZARPModulo>::Adopt(modulo);
    std::printf("module obtained: %s\n", modulo_ ? "yes" : "no");
    return static_cast<bool>(modulo_);
  }

  void Activate() {
    modulo_->SetCentral(central_.Get());
    modulo_->AtivarModulo();
    host::TRegistroPlugins* registro = central_->Registro();
    std::printf("module activated: %d plug-in(s) registered\n", registro->Count("RegistrarPlugin"));
    for (int i = 0; i < registro->PluginCount(); ++i) {
      zarp::IZARPPlugin* plugin = registro->Plugin(i);
      std::printf("  plug-in \"%s\" (%s): %s\n", plugin->ObterNome(), plugin->ObterID(),
                  plugin->ObterDescricao());
    }
  }

  // Documents and the sheet window come here: CriarFicha on a registered plug-in, load, embed
  // the view in a host window, run the message loop until the window closes.

  void Deactivate() {
    modulo_->DesativarModulo();
    std::printf("module deactivated: %d plug-in(s) unregistered\n",
                central_->Registro()->Count("DesregistrarPlugin"));
    modulo_->SetCentral(nullptr);
  }

  void Unload() {
    central_->Registro()->ReleaseAll();
    modulo_.Reset();
    if (library_) {
      FreeLibrary(library_);
      library_ = nullptr;
      std::printf("library unloaded\n");
    }
  }

 private:
  std::string dllPath_;
  HMODULE library_ = nullptr;
  zarp::EntryPointZARPModuloProc entry_ = nullptr;
  rt::ComPtr<zarp::IZARPModulo> modulo_;
  rt::ComPtr<host::TCentral> central_ = rt::MakeCounted<host::TCentral>();
};

}  // namespace

int main(int argc, char** argv) {
  AddVectoredExceptionHandler(1, ReportLibraryFailure);
  DemoHost demo(argc > 1 ? argv[1] : "VELSistema.dll");
  if (!demo.Load() || !demo.ObtainModule()) return 1;
  demo.Activate();
  demo.Deactivate();
  demo.Unload();
  return 0;
}
