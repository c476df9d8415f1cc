// bench_ficha_dll: saving and loading the VEL sheet's skills list through the real VELSistema.dll,
// as a host does it (LoadLibrary, the export, the substitute host's central services, memory
// streams and controller), beside the floor of the same host-stream calls issued with the values
// at hand. Nothing of the library is linked into this program. Runs under Wine.
//
//   bench_ficha_dll              the table: 10^3 .. 10^6 records, times, ratios, allocations
//   bench_ficha_dll --memoria N  a fresh process loading N records: working set, peak and stream
//
// Allocations are counted in the DLL itself: its imports of the C runtime's heap functions are
// pointed at counting wrappers, so every allocation of the library (its operator new included)
// is seen, and none of the host's.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ListaHabilidades.h"
#include "host/Central.h"
#include "host/Controller.h"
#include "host/Streams.h"
#include "modulo/ZARPModulo.h"
#include "runtime/HostGuard.h"

namespace {

using bench::Bytes;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;
using zarp::IZARPModulo;

// --- Allocations of the DLL
// ------------------------------------------------------------------------

using TMalloc = void*(__cdecl*)(size_t);
using TCalloc = void*(__cdecl*)(size_t, size_t);
using TRealloc = void*(__cdecl*)(void*, size_t);
TMalloc gMalloc = nullptr;
TCalloc gCalloc = nullptr;
TRealloc gRealloc = nullptr;
int64_t gAlocacoes = 0;

void* __cdecl ContarMalloc(size_t n) {
  ++gAlocacoes;
  return gMalloc(n);
}
void* __cdecl ContarCalloc(size_t n, size_t m) {
  ++gAlocacoes;
  return gCalloc(n, m);
}
void* __cdecl ContarRealloc(void* p, size_t n) {
  ++gAlocacoes;
  return gRealloc(p, n);
}

// Points the module's imports of malloc, calloc and realloc from the C runtime at the counters.
bool ContarAlocacoesDe(HMODULE modulo) {
  auto* base = reinterpret_cast<uint8_t*>(modulo);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return false;
  int trocados = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
       ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "msvcrt.dll") != 0) continue;
    auto* nomes = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* enderecos = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; nomes->u1.AddressOfData; ++nomes, ++enderecos) {
      if (IMAGE_SNAP_BY_ORDINAL(nomes->u1.Ordinal)) continue;
      const char* nome =
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + nomes->u1.AddressOfData)->Name;
      void* novo = nullptr;
      if (std::strcmp(nome, "malloc") == 0) {
        gMalloc = reinterpret_cast<TMalloc>(enderecos->u1.Function);
        novo = reinterpret_cast<void*>(&ContarMalloc);
      } else if (std::strcmp(nome, "calloc") == 0) {
        gCalloc = reinterpret_cast<TCalloc>(enderecos->u1.Function);
        novo = reinterpret_cast<void*>(&ContarCalloc);
      } else if (std::strcmp(nome, "realloc") == 0) {
        gRealloc = reinterpret_cast<TRealloc>(enderecos->u1.Function);
        novo = reinterpret_cast<void*>(&ContarRealloc);
      }
      if (!novo) continue;
      DWORD antes;
      VirtualProtect(&enderecos->u1.Function, sizeof(void*), PAGE_READWRITE, &antes);
      enderecos->u1.Function = reinterpret_cast<uintptr_t>(novo);
      VirtualProtect(&enderecos->u1.Function, sizeof(void*), antes, &antes);
      ++trocados;
    }
  }
  return trocados > 0;
}

// --- The host
// ----------------------------------------------------------------------------------------

LONG CALLBACK MostrarFalha(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == rt::kHostExceptionCode && r->NumberParameters >= 1)
    std::fprintf(stderr, "library failure: %s\n",
                 reinterpret_cast<const char*>(r->ExceptionInformation[0]));
  return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void Falhar(const char* o_que) {
  std::fprintf(stderr, "bench_ficha_dll: %s\n", o_que);
  std::exit(1);
}

// The DLL, activated, with one VEL document and its controller: what a host holds while a
// character is open.
class THost {
 public:
  THost() {
    biblioteca_ = LoadLibraryW(L"VELSistema.dll");
    if (!biblioteca_) Falhar("LoadLibrary(VELSistema.dll) failed");
    contando_ = ContarAlocacoesDe(biblioteca_);
    auto entrada = reinterpret_cast<zarp::EntryPointZARPModuloProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(biblioteca_, "EntryPointZARPModulo")));
    if (!entrada) Falhar("no EntryPointZARPModulo");
    IZARPModulo* modulo = nullptr;
    entrada(&modulo);
    modulo_ = rt::ComPtr<IZARPModulo>::Adopt(modulo);
    modulo_->SetCentral(central_.Get());
    modulo_->AtivarModulo();
    if (central_->Registro()->PluginCount() != 1) Falhar("the sheet did not register");
    IZARPFicha* ficha = nullptr;
    central_->Registro()->Plugin(0)->CriarFicha(&ficha);
    if (!ficha) Falhar("CriarFicha gave no document");
    ficha_ = rt::ComPtr<IZARPFicha>::Adopt(ficha);
    void* p = nullptr;
    if (ficha_->QueryInterface(IZARPFichaVisao::IID, &p) != rt::kOk) Falhar("no IZARPFichaVisao");
    auto visao = rt::ComPtr<IZARPFichaVisao>::Adopt(static_cast<IZARPFichaVisao*>(p));
    visao->SetFichaVisaoController(controller_.Get());
  }
  ~THost() {
    ficha_ = nullptr;
    modulo_->DesativarModulo();
    modulo_ = nullptr;
    FreeLibrary(biblioteca_);
  }
  IZARPFicha* Ficha() const { return ficha_.Get(); }
  bool ContaAlocacoes() const { return contando_; }
  int Notices() const { return controller_->FichaAlteradaCount(); }

 private:
  HMODULE biblioteca_ = nullptr;
  bool contando_ = false;
  rt::ComPtr<host::TCentral> central_ = rt::MakeCounted<host::TCentral>();
  rt::ComPtr<host::TController> controller_ = rt::MakeCounted<host::TController>();
  rt::ComPtr<IZARPModulo> modulo_;
  rt::ComPtr<IZARPFicha> ficha_;
};

rt::ComPtr<host::TMemoryStream> StreamVazio(size_t capacidade) {
  Bytes bytes;
  bytes.reserve(capacidade);
  auto s = rt::MakeCounted<host::TMemoryStream>();
  s->SetBytes(std::move(bytes));
  return s;
}

// --- Timing --------------------------------------------------------------------------------------

double Agora() {
  static const double freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / freq;
}

// The best of several runs, in milliseconds: the machine is shared, and the best run is the one
// that others disturbed least.
struct TMelhor {
  double ms = 1e300;
  void Medir(double inicio) { ms = std::min(ms, (Agora() - inicio) * 1000.0); }
};

struct TLinha {
  int n = 0;
  size_t bytes = 0;
  TMelhor carregar, pisoCarregar, salvar, pisoSalvar;
  double alocCarregar = 0, alocSalvar = 0;
  bool iguais = false;
};

TLinha Medir(THost& host, const std::vector<std::string>& secoes, int n) {
  TLinha l;
  l.n = n;
  const bench::THabilidades lista(n);
  auto entrada = StreamVazio(0);
  bench::EscreverFicha(entrada.Get(), secoes, n, lista);
  l.bytes = entrada->Bytes().size();

  // Allocations of one load and one save, then the checked bytes.
  IZARPFicha* ficha = host.Ficha();
  int64_t antes = gAlocacoes;
  ficha->CarregarFicha(entrada.Get());
  l.alocCarregar = static_cast<double>(gAlocacoes - antes) / n;
  auto saida = StreamVazio(l.bytes);
  antes = gAlocacoes;
  ficha->SalvarFicha(saida.Get());
  l.alocSalvar = static_cast<double>(gAlocacoes - antes) / n;
  l.iguais = saida->Bytes() == entrada->Bytes();

  // Each side at least three times and for at least half a second, alternating, so that a busy
  // moment of the machine falls on both.
  const int minimo = 3;
  const double inicio = Agora();
  for (int r = 0; r < minimo || (Agora() - inicio < 2.0 && r < 200); ++r) {
    double t = Agora();
    int64_t lidos = bench::PisoLer(entrada.Get());
    l.pisoCarregar.Medir(t);
    if (lidos != n) Falhar("the floor read a different number of records");

    t = Agora();
    ficha->CarregarFicha(entrada.Get());
    l.carregar.Medir(t);

    saida = StreamVazio(l.bytes);
    t = Agora();
    bench::EscreverFicha(saida.Get(), secoes, n, lista);
    l.pisoSalvar.Medir(t);

    saida = StreamVazio(l.bytes);
    t = Agora();
    ficha->SalvarFicha(saida.Get());
    l.salvar.Medir(t);
  }
  return l;
}

std::vector<std::string> Secoes(THost& host) {
  auto vazia = StreamVazio(0);
  host.Ficha()->SalvarFicha(vazia.Get());
  return bench::SecoesDaFichaVazia(vazia->Bytes());
}

int Tabela() {
  THost host;
  const std::vector<std::string> secoes = Secoes(host);
  std::printf(
      "VEL sheet, skills list %.*s, through VELSistema.dll; floor = the same stream calls\n",
      static_cast<int>(bench::kLista.size()), bench::kLista.data());
  std::printf("with the values at hand. Best of >= 3 runs, ms.%s\n\n",
              host.ContaAlocacoes() ? "" : " (allocations not countable)");
  std::printf("%9s %11s | %9s %9s %6s | %9s %9s %6s | %9s %9s | %s\n", "records", "bytes", "load",
              "floor", "ratio", "save", "floor", "ratio", "alloc/rec", "alloc/rec", "bytes");
  std::printf("%9s %11s | %9s %9s %6s | %9s %9s %6s | %9s %9s | %s\n", "", "", "", "", "", "", "",
              "", "load", "save", "equal");
  int status = 0;
  for (int n : bench::kTamanhosLista) {
    TLinha l = Medir(host, secoes, n);
    std::printf("%9d %11zu | %9.2f %9.2f %6.2f | %9.2f %9.2f %6.2f | %9.2f %9.2f | %s\n", l.n,
                l.bytes, l.carregar.ms, l.pisoCarregar.ms, l.carregar.ms / l.pisoCarregar.ms,
                l.salvar.ms, l.pisoSalvar.ms, l.salvar.ms / l.pisoSalvar.ms, l.alocCarregar,
                l.alocSalvar, l.iguais ? "yes" : "NO");
    std::fflush(stdout);
    if (!l.iguais) status = 1;
  }
  return status;
}

// --- Memory
// ----------------------------------------------------------------------------------------

struct TMemoria {
  double atual, pico;
};

TMemoria Memoria() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return {c.WorkingSetSize / 1048576.0, c.PeakWorkingSetSize / 1048576.0};
}

// One load of n records in a process that has done nothing else, so that the peak is the load's.
int MedirMemoria(int n) {
  THost host;
  const std::vector<std::string> secoes = Secoes(host);
  const TMemoria base = Memoria();
  auto entrada = StreamVazio(0);
  {
    std::string texto;
    bench::EscreverFicha(entrada.Get(), secoes, n,
                         [&](int i) { return bench::GerarHabilidade(i, texto); });
  }
  const TMemoria comStream = Memoria();
  const double stream = entrada->Bytes().size() / 1048576.0;
  host.Ficha()->CarregarFicha(entrada.Get());
  const TMemoria carregado = Memoria();
  std::printf("%d records loaded through VELSistema.dll, stream %.1f MB\n", n, stream);
  std::printf("  working set: %.1f MB with the empty sheet, %.1f MB with the host's stream\n",
              base.atual, comStream.atual);
  std::printf(
      "  peak working set while loading: %.1f MB (%.1f MB over the empty sheet = %.2f x "
      "the stream; %.1f MB over sheet and stream = %.2f x)\n",
      carregado.pico, carregado.pico - base.atual, (carregado.pico - base.atual) / stream,
      carregado.pico - comStream.atual, (carregado.pico - comStream.atual) / stream);
  std::printf("  working set after the load: %.1f MB (the records: %.1f MB = %.2f x the stream)\n",
              carregado.atual, carregado.atual - comStream.atual,
              (carregado.atual - comStream.atual) / stream);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  AddVectoredExceptionHandler(1, MostrarFalha);
  if (argc == 3 && std::strcmp(argv[1], "--memoria") == 0) return MedirMemoria(std::atoi(argv[2]));
  if (argc != 1) {
    std::fputs("usage: bench_ficha_dll [--memoria RECORDS]\n", stderr);
    return 2;
  }
  return Tabela();
}
