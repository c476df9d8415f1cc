// The demo host: a small sheet editor around VELSistema.dll, driving it only as a host does (its
// export, central services and plug-in registry, a sheet's IZARPFicha and IZARPFichaVisao, a
// controller). It loads the library, lists what registered, and shows one sheet in a resizable
// window with a File and a Sheet menu.
//
// Usage: demo-host [--dll PATH] [--read-only] [--screenshot OUT.png] [--save-as FILE] [SHEET]
//   SHEET              a sheet file to open (otherwise a new, empty sheet)
//   --read-only        opens the sheet read-only
//   --screenshot OUT   writes a PNG of the whole sheet, scrolled through its full height, and exits
//   --save-as FILE     saves the sheet to FILE (after the screenshot, if any) and exits
// With --screenshot or --save-as nothing waits for a user: messages go to the standard output and
// the exit status is 1 when anything failed.
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "host/ChamadaProtegida.h"
#include "host/Controller.h"
#include "host/Streams.h"
#include "runtime/Exception.h"
#include "tools/demo-host/ArquivoAtomico.h"
#include "tools/demo-host/Captura.h"
#include "tools/sessao/SessaoVEL.h"
#include "ui/picture/Png.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr wchar_t kTitulo[] = L"VEL-Sistema demo host";

enum Comando : UINT {
  cmNovo = 100,
  cmAbrir,
  cmSalvar,
  cmSalvarComo,
  cmExportar,
  cmSair,
  cmSomenteLeitura,
};

struct Opcoes {
  std::string dll = "VELSistema.dll";
  std::wstring ficha;
  std::wstring captura;
  std::wstring salvarComo;
  bool somenteLeitura = false;
  bool semUsuario() const { return !captura.empty() || !salvarComo.empty(); }
};

std::wstring Largo(const std::string& s) {
  const std::u16string u = rt::Utf8ToUtf16(s);
  return std::wstring(u.begin(), u.end());
}
std::string Estreito(const std::wstring& s) {
  return rt::Utf16ToUtf8(std::u16string(s.begin(), s.end()));
}

bool LerOpcoes(Opcoes& o) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool ok = true;
  for (int i = 1; i < argc && ok; ++i) {
    const std::wstring a = argv[i];
    const bool temValor = i + 1 < argc;
    if (a == L"--dll" && temValor)
      o.dll = Estreito(argv[++i]);
    else if (a == L"--screenshot" && temValor)
      o.captura = argv[++i];
    else if (a == L"--save-as" && temValor)
      o.salvarComo = argv[++i];
    else if (a == L"--read-only")
      o.somenteLeitura = true;
    else if (!a.empty() && a[0] != L'-' && o.ficha.empty())
      o.ficha = a;
    else
      ok = false;
  }
  LocalFree(argv);
  if (!ok)
    std::printf(
        "usage: demo-host [--dll PATH] [--read-only] [--screenshot OUT.png] [--save-as FILE] "
        "[SHEET]\n");
  return ok;
}

// Whole files are read before the library sees them, so a sheet that fails to load is never
// touched again.
bool LerArquivo(const std::wstring& caminho, Bytes& bytes, std::wstring& erro) {
  HANDLE h = CreateFileW(caminho.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    erro = demo::TextoDoErro(GetLastError());
    return false;
  }
  LARGE_INTEGER tamanho{};
  GetFileSizeEx(h, &tamanho);
  if (tamanho.QuadPart > (1ll << 30)) {
    CloseHandle(h);
    erro = L"the file is larger than any sheet";
    return false;
  }
  bytes.resize(static_cast<size_t>(tamanho.QuadPart));
  DWORD lidos = 0;
  const BOOL ok =
      bytes.empty() || ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &lidos, nullptr);
  if (!ok || lidos != bytes.size()) erro = demo::TextoDoErro(GetLastError());
  CloseHandle(h);
  return ok && lidos == bytes.size();
}

std::wstring NomeDoArquivo(const std::wstring& caminho) {
  const size_t barra = caminho.find_last_of(L"\\/");
  return barra == std::wstring::npos ? caminho : caminho.substr(barra + 1);
}

class DemoHost {
 public:
  explicit DemoHost(Opcoes o) : opcoes_(std::move(o)) {}

  int Executar() {
    try {
      biblioteca_ = std::make_unique<vel::sessao::TBiblioteca>(opcoes_.dll);
    } catch (const std::exception& e) {
      Avisar(L"Cannot start: " + Largo(e.what()), MB_ICONERROR);
      return 1;
    }
    std::printf("loaded %s: %d plug-in(s) registered\n", opcoes_.dll.c_str(),
                biblioteca_->Registro().PluginCount());
    for (int i = 0; i < biblioteca_->Registro().PluginCount(); ++i) {
      zarp::IZARPPlugin* p = biblioteca_->Registro().Plugin(i);
      std::printf("  plug-in \"%s\" (%s): %s\n", p->ObterNome(), p->ObterID(), p->ObterDescricao());
    }
    std::fflush(stdout);
    if (!CriarFicha()) return 1;
    CriarJanela();
    if (opcoes_.somenteLeitura) DefinirSomenteLeitura(true);
    if (!opcoes_.ficha.empty()) Abrir(opcoes_.ficha);
    ShowWindow(janela_, SW_SHOW);
    UpdateWindow(janela_);
    if (opcoes_.semUsuario()) return SemUsuario();
    Laco();
    return falhas_ ? 1 : 0;
  }

  ~DemoHost() {
    Fechar();
    visao_.Reset();
    ficha_.Reset();
    if (acel_) DestroyAcceleratorTable(acel_);
    biblioteca_.reset();
  }

 private:
  // --- The sheet ---------------------------------------------------------------------------------

  bool CriarFicha() {
    try {
      ficha_ = biblioteca_->CriarFicha();
    } catch (const std::exception& e) {
      Avisar(Largo(e.what()), MB_ICONERROR);
      return false;
    }
    void* p = nullptr;
    ficha_->QueryInterface(zarp::IZARPFichaVisao::IID, &p);
    visao_ = rt::ComPtr<zarp::IZARPFichaVisao>::Adopt(static_cast<zarp::IZARPFichaVisao*>(p));
    controller_->onFichaAlterada = [this] { Alterado(true); };
    visao_->SetFichaVisaoController(controller_.Get());
    return true;
  }

  // Runs one call into the library; its failure is shown with the library's message.
  template <class F>
  bool Chamar(F&& chamada, const std::wstring& oQue) {
    host::FalhaBiblioteca falha;
    if (host::ChamarBiblioteca(chamada, falha)) return true;
    if (!falha.silenciosa) Avisar(oQue + L": " + Largo(falha.mensagem), MB_ICONERROR);
    return false;
  }

  void Novo() {
    if (!PodeDescartar()) return;
    zarp::IZARPFicha* f = ficha_.Get();
    Chamar([f] { f->LimparFicha(); }, L"The sheet could not be cleared");
    arquivo_.clear();
    Alterado(false);
  }

  void Abrir(const std::wstring& caminho) {
    Bytes bytes;
    std::wstring erro;
    if (!LerArquivo(caminho, bytes, erro)) {
      Avisar(L"Cannot open " + caminho + L": " + erro, MB_ICONERROR);
      return;
    }
    auto stream = rt::MakeCounted<host::TMemoryStream>(std::move(bytes));
    zarp::IZARPFicha* f = ficha_.Get();
    zarp::IZARPStream* s = stream.Get();
    // Without a user, the boxes of values a field refused are answered and printed.
    std::unique_ptr<vel::sessao::TCaixasRespondidas> caixas;
    if (opcoes_.semUsuario()) caixas = std::make_unique<vel::sessao::TCaixasRespondidas>();
    const bool ok =
        Chamar([f, s] { f->CarregarFicha(s); },
               L"The sheet " + caminho + L" could not be opened, and the file is left as it is");
    if (caixas)
      for (const std::string& t : caixas->Textos()) std::printf("message: %s\n", t.c_str());
    if (ok) {
      arquivo_ = caminho;
    } else {
      // What loaded before the damage is not the file's sheet: the host goes on with an empty one.
      Chamar([f] { f->LimparFicha(); }, L"The sheet could not be cleared");
      arquivo_.clear();
    }
    Alterado(false);
  }

  bool Salvar(const std::wstring& caminho) {
    // A box commits what was typed into it when it loses the focus: the text being typed now is
    // part of what the user saves.
    HWND foco = GetFocus();
    if (foco && foco != janela_ && IsChild(janela_, foco)) {
      SetFocus(janela_);
      if (IsWindow(foco)) SetFocus(foco);
    }
    auto stream = rt::MakeCounted<host::TMemoryStream>();
    zarp::IZARPFicha* f = ficha_.Get();
    zarp::IZARPStream* s = stream.Get();
    if (!Chamar([f, s] { f->SalvarFicha(s); }, L"The sheet could not be saved")) return false;
    const std::wstring erro = demo::GravarAtomico(caminho, stream->Bytes());
    if (!erro.empty()) {
      Avisar(L"Could not save " + caminho + L": " + erro + L". The file on disk is unchanged.",
             MB_ICONERROR);
      return false;
    }
    if (opcoes_.semUsuario())
      std::printf("saved %s (%zu bytes)\n", Estreito(caminho).c_str(), stream->Bytes().size());
    arquivo_ = caminho;
    Alterado(false);
    return true;
  }

  bool SalvarAtual() { return arquivo_.empty() ? SalvarComo() : Salvar(arquivo_); }

  bool SalvarComo() {
    std::wstring caminho;
    if (!EscolherArquivo(true, L"VEL sheets (*.zarp)\0*.zarp\0All files\0*.*\0", L"zarp", caminho))
      return false;
    return Salvar(caminho);
  }

  void Exportar() {
    std::wstring caminho;
    if (EscolherArquivo(true, L"PNG pictures (*.png)\0*.png\0", L"png", caminho))
      Fotografar(caminho);
  }

  bool Fotografar(const std::wstring& caminho) {
    HWND vista = GetWindow(janela_, GW_CHILD);
    std::wstring erro;
    ui::TPixels img;
    try {
      img = demo::CapturarConteudo(vista ? vista : janela_);
      if (img.Empty())
        erro = L"the sheet shows nothing";
      else
        erro = demo::GravarAtomico(caminho, ui::EncodePng(img));
    } catch (const std::exception& e) {
      erro = Largo(e.what());
    }
    if (!erro.empty()) {
      Avisar(L"Could not export the picture " + caminho + L": " + erro, MB_ICONERROR);
      return false;
    }
    if (opcoes_.semUsuario())
      std::printf("screenshot %s: %d x %d\n", Estreito(caminho).c_str(), img.Width(), img.Height());
    return true;
  }

  void DefinirSomenteLeitura(bool valor) {
    zarp::IZARPFicha* f = ficha_.Get();
    if (!Chamar([f, valor] { f->SetFichaSomenteLeitura(valor); },
                L"The sheet's read-only state could not be changed"))
      return;
    somenteLeitura_ = valor;
    CheckMenuItem(GetMenu(janela_), cmSomenteLeitura, valor ? MF_CHECKED : MF_UNCHECKED);
    AtualizarTitulo();
  }

  // --- The window --------------------------------------------------------------------------------

  // The view goes first, while the window it lives in still exists; then the window.
  void Fechar() {
    if (visao_ && janela_) {
      host::FalhaBiblioteca f;
      zarp::IZARPFichaVisao* v = visao_.Get();
      host::ChamarBiblioteca([v] { v->LiberarVisao(); }, f);
    }
    if (janela_) DestroyWindow(janela_);
    janela_ = nullptr;
  }

  void CriarJanela() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DemoHost::Procedimento;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VELDemoHost";
    RegisterClassExW(&wc);

    HMENU arquivo = CreatePopupMenu();
    AppendMenuW(arquivo, MF_STRING, cmNovo, L"&New\tCtrl+N");
    AppendMenuW(arquivo, MF_STRING, cmAbrir, L"&Open...\tCtrl+O");
    AppendMenuW(arquivo, MF_STRING, cmSalvar, L"&Save\tCtrl+S");
    AppendMenuW(arquivo, MF_STRING, cmSalvarComo, L"Save &As...\tCtrl+Shift+S");
    AppendMenuW(arquivo, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(arquivo, MF_STRING, cmExportar, L"&Export picture...");
    AppendMenuW(arquivo, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(arquivo, MF_STRING, cmSair, L"E&xit");
    HMENU ficha = CreatePopupMenu();
    AppendMenuW(ficha, MF_STRING, cmSomenteLeitura, L"&Read-only\tCtrl+R");
    HMENU barra = CreateMenu();
    AppendMenuW(barra, MF_POPUP, reinterpret_cast<UINT_PTR>(arquivo), L"&File");
    AppendMenuW(barra, MF_POPUP, reinterpret_cast<UINT_PTR>(ficha), L"&Sheet");

    ACCEL teclas[] = {
        {FVIRTKEY | FCONTROL, 'N', cmNovo},
        {FVIRTKEY | FCONTROL, 'O', cmAbrir},
        {FVIRTKEY | FCONTROL, 'S', cmSalvar},
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', cmSalvarComo},
        {FVIRTKEY | FCONTROL, 'R', cmSomenteLeitura},
    };
    acel_ = CreateAcceleratorTableW(teclas, static_cast<int>(std::size(teclas)));

    janela_ = CreateWindowExW(0, L"VELDemoHost", kTitulo, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, 1024, 768, nullptr, barra,
                              GetModuleHandleW(nullptr), this);
    zarp::IZARPFichaVisao* v = visao_.Get();
    const auto alvo = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(janela_));
    Chamar([v, alvo] { v->AcoplarVisao(alvo); }, L"The sheet's view could not be shown");
    Redimensionar();
    AtualizarTitulo();
  }

  // The view fills the client area (the library follows the host window's size); its size limits
  // follow every resize.
  void Redimensionar() {
    RECT rc;
    GetClientRect(janela_, &rc);
    zarp::IZARPFichaVisao* v = visao_.Get();
    const int32_t l = rc.right, a = rc.bottom;
    if (l > 0 && a > 0) Chamar([v, l, a] { v->SetVisaoConstraints(l, a); }, L"Resizing failed");
  }

  void Alterado(bool alterado) {
    if (alterado_ == alterado) return;
    alterado_ = alterado;
    AtualizarTitulo();
  }

  void AtualizarTitulo() {
    if (!janela_) return;
    std::wstring t = arquivo_.empty() ? L"Untitled" : NomeDoArquivo(arquivo_);
    if (alterado_) t += L"*";
    if (somenteLeitura_) t += L" (read-only)";
    t += std::wstring(L" - ") + kTitulo;
    SetWindowTextW(janela_, t.c_str());
  }

  // Unsaved changes are saved, dropped or kept, as the user answers.
  bool PodeDescartar() {
    if (!alterado_) return true;
    const std::wstring nome = arquivo_.empty() ? L"Untitled" : NomeDoArquivo(arquivo_);
    switch (MessageBoxW(janela_, (L"Save the changes to " + nome + L"?").c_str(), kTitulo,
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDYES:
        return SalvarAtual();
      case IDNO:
        return true;
      default:
        return false;
    }
  }

  bool EscolherArquivo(bool salvar, const wchar_t* filtro, const wchar_t* extensao,
                       std::wstring& caminho) {
    wchar_t nome[MAX_PATH] = {};
    if (salvar && !arquivo_.empty() && std::wstring(extensao) == L"zarp")
      lstrcpynW(nome, arquivo_.c_str(), MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = janela_;
    ofn.lpstrFilter = filtro;
    ofn.lpstrFile = nome;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = extensao;
    ofn.Flags =
        OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (salvar ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(salvar ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
    caminho = nome;
    return true;
  }

  void Comandar(UINT id) {
    switch (id) {
      case cmNovo:
        Novo();
        break;
      case cmAbrir: {
        std::wstring caminho;
        if (PodeDescartar() &&
            EscolherArquivo(false, L"VEL sheets (*.zarp)\0*.zarp\0All files\0*.*\0", L"zarp",
                            caminho))
          Abrir(caminho);
        break;
      }
      case cmSalvar:
        SalvarAtual();
        break;
      case cmSalvarComo:
        SalvarComo();
        break;
      case cmExportar:
        Exportar();
        break;
      case cmSair:
        PostMessageW(janela_, WM_CLOSE, 0, 0);
        break;
      case cmSomenteLeitura:
        DefinirSomenteLeitura(!somenteLeitura_);
        break;
      default:
        break;
    }
  }

  static LRESULT CALLBACK Procedimento(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(
          w, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<DemoHost*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (!self) return DefWindowProcW(w, msg, wp, lp);
    switch (msg) {
      case WM_SIZE:
        if (self->janela_) self->Redimensionar();
        return 0;
      case WM_COMMAND:
        if (HIWORD(wp) == 0 || HIWORD(wp) == 1) self->Comandar(LOWORD(wp));
        return 0;
      case WM_CLOSE:
        if (self->PodeDescartar()) self->Fechar();
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(w, msg, wp, lp);
    }
  }

  // The host's own loop: accelerators are translated first, wherever the focus is inside the
  // sheet, since the view's windows are children of the main window.
  void Laco() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (TranslateAcceleratorW(janela_, acel_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // Lets the window and the view paint before a picture is taken.
  void Escoar() {
    MSG msg;
    for (int rodada = 0; rodada < 3; ++rodada) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      RedrawWindow(janela_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      Sleep(20);
    }
  }

  int SemUsuario() {
    Escoar();
    if (!opcoes_.captura.empty() && !Fotografar(opcoes_.captura)) ++falhas_;
    if (!opcoes_.salvarComo.empty() && !Salvar(opcoes_.salvarComo)) ++falhas_;
    alterado_ = false;  // nothing to ask: the run was told what to save
    Fechar();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return falhas_ ? 1 : 0;
  }

  // Errors: a message box for a user, a line on the standard output for a run without one.
  void Avisar(const std::wstring& texto, UINT icone) {
    ++falhas_;
    if (opcoes_.semUsuario()) {
      std::printf("%s\n", Estreito(texto).c_str());
      std::fflush(stdout);
      return;
    }
    MessageBoxW(janela_, texto.c_str(), kTitulo, MB_OK | icone);
  }

  Opcoes opcoes_;
  std::unique_ptr<vel::sessao::TBiblioteca> biblioteca_;
  rt::ComPtr<zarp::IZARPFicha> ficha_;
  rt::ComPtr<zarp::IZARPFichaVisao> visao_;
  rt::ComPtr<host::TController> controller_ = rt::MakeCounted<host::TController>();
  HWND janela_ = nullptr;
  HACCEL acel_ = nullptr;
  std::wstring arquivo_;
  bool alterado_ = false;
  bool somenteLeitura_ = false;
  int falhas_ = 0;
};

}  // namespace

int main() {
  Opcoes opcoes;
  if (!LerOpcoes(opcoes)) return 2;
  int status;
  {
    DemoHost host(std::move(opcoes));
    status = host.Executar();
  }
  std::fflush(stdout);
  return status;
}
