// The host sequence of the programs around the library.
#include "tools/sessao/SessaoVEL.h"

#include <cstring>

#include "host/Streams.h"
#include "runtime/Exception.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "modulo/ZARPModuloDLL.h"
#include "sistema/Biblioteca.h"
#include "ui/offscreen/Offscreen.h"
#endif

namespace vel::sessao {

namespace {

constexpr const char* kIdVEL = "ZARP.VELSISTEMA.PLUGIN";

zarp::EntryPointZARPModuloProc CarregarExport(const std::string& dll, void*& modulo) {
#ifdef _WIN32
  HMODULE m = LoadLibraryA(dll.c_str());
  if (!m)
    throw std::runtime_error("cannot load " + dll + " (error " + std::to_string(GetLastError()) +
                             ")");
  modulo = m;
  FARPROC proc = GetProcAddress(m, "EntryPointZARPModulo");
  if (!proc) throw std::runtime_error(dll + " has no export EntryPointZARPModulo");
  return reinterpret_cast<zarp::EntryPointZARPModuloProc>(reinterpret_cast<void (*)()>(proc));
#else
  // Natively the library is linked in; its start-up runs as loading the DLL would run it.
  (void)dll;
  modulo = nullptr;
  zarp::IniciarBiblioteca();
  return &EntryPointZARPModulo;
#endif
}

void Descarregar(void* modulo) {
#ifdef _WIN32
  if (modulo) FreeLibrary(static_cast<HMODULE>(modulo));
#else
  (void)modulo;
  zarp::FinalizarBiblioteca();
#endif
}

}  // namespace

TBiblioteca::TBiblioteca(const std::string& dll) : central_(rt::MakeCounted<host::TCentral>()) {
  zarp::EntryPointZARPModuloProc entry = CarregarExport(dll, modulo_dll_);
  aberta_ = true;
  zarp::IZARPModulo* m = nullptr;
  entry(&m);
  modulo_ = rt::ComPtr<zarp::IZARPModulo>::Adopt(m);
  if (!modulo_) {
    Fechar();
    throw std::runtime_error(dll + " handed out no module");
  }
  modulo_->SetCentral(central_.Get());
  modulo_->AtivarModulo();
  for (int i = 0; i < Registro().PluginCount(); ++i)
    if (std::strcmp(Registro().Plugin(i)->ObterID(), kIdVEL) == 0) plugin_ = Registro().Plugin(i);
  if (!plugin_) {
    Fechar();
    throw std::runtime_error(dll + " registered no plug-in " + kIdVEL);
  }
}

TBiblioteca::~TBiblioteca() {
  Fechar();
}

void TBiblioteca::Fechar() {
  if (modulo_) {
    modulo_->DesativarModulo();
    modulo_->SetCentral(nullptr);
  }
  central_->Registro()->ReleaseAll();
  plugin_ = nullptr;
  if (!modulo_ && !aberta_) return;
  modulo_.Reset();
  Descarregar(modulo_dll_);
  modulo_dll_ = nullptr;
  aberta_ = false;
}

rt::ComPtr<zarp::IZARPFicha> TBiblioteca::CriarFicha() const {
  zarp::IZARPFicha* ficha = nullptr;
  plugin_->CriarFicha(&ficha);
  if (!ficha) throw std::runtime_error("the plug-in created no sheet");
  return rt::ComPtr<zarp::IZARPFicha>::Adopt(ficha);
}

#ifdef _WIN32

namespace {

// A hook of the thread's window creation: a dialog of the system's message-box class that is
// being activated is read and answered with OK.
thread_local std::vector<std::string>* tCaixas = nullptr;

LRESULT CALLBACK GanchoCbt(int codigo, WPARAM wp, LPARAM lp) {
  if (codigo == HCBT_ACTIVATE && tCaixas) {
    HWND w = reinterpret_cast<HWND>(wp);
    wchar_t classe[16] = {};
    GetClassNameW(w, classe, 16);
    if (std::wcscmp(classe, L"#32770") == 0) {
      HWND texto = GetDlgItem(w, 0xFFFF);  // the box's message text
      std::u16string t(static_cast<size_t>(texto ? GetWindowTextLengthW(texto) : 0), u'\0');
      if (!t.empty())
        GetWindowTextW(texto, reinterpret_cast<wchar_t*>(t.data()), static_cast<int>(t.size()) + 1);
      tCaixas->push_back(rt::Utf16ToUtf8(t));
      PostMessageW(w, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, codigo, wp, lp);
}

}  // namespace

TCaixasRespondidas::TCaixasRespondidas() {
  tCaixas = new std::vector<std::string>();
  gancho_ = SetWindowsHookExW(WH_CBT, GanchoCbt, nullptr, GetCurrentThreadId());
}

TCaixasRespondidas::~TCaixasRespondidas() {
  if (gancho_) UnhookWindowsHookEx(static_cast<HHOOK>(gancho_));
  delete tCaixas;
  tCaixas = nullptr;
}

std::vector<std::string> TCaixasRespondidas::Textos() const {
  return *tCaixas;
}

#else

// Natively the window system is the offscreen one: it answers every box with OK and logs it.
TCaixasRespondidas::TCaixasRespondidas() {
  ui::offscreen::Instance().ClearMessages();
}
TCaixasRespondidas::~TCaixasRespondidas() {
  ui::offscreen::Instance().ClearMessages();
}

std::vector<std::string> TCaixasRespondidas::Textos() const {
  std::vector<std::string> textos;
  for (const auto& m : ui::offscreen::Instance().Messages())
    textos.push_back(rt::Utf16ToUtf8(m.Text));
  return textos;
}

#endif

ResultadoCarga Carregar(zarp::IZARPFicha* ficha, const Bytes& bytes) {
  ResultadoCarga r;
  auto stream = rt::MakeCounted<host::TMemoryStream>(bytes);
  zarp::IZARPStream* s = stream.Get();
  TCaixasRespondidas caixas;
  r.ok = host::ChamarBiblioteca([ficha, s] { ficha->CarregarFicha(s); }, r.falha);
  r.caixas = caixas.Textos();
  return r;
}

Bytes Salvar(zarp::IZARPFicha* ficha) {
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  zarp::IZARPStream* s = stream.Get();
  host::FalhaBiblioteca falha;
  if (!host::ChamarBiblioteca([ficha, s] { ficha->SalvarFicha(s); }, falha))
    throw std::runtime_error("the sheet could not be saved: " + falha.mensagem);
  return stream->Bytes();
}

}  // namespace vel::sessao
