// bench_visao_win: creating, embedding and destroying the VEL sheet's view in a host window under
// Windows (Wine), beside the floor of the same native windows created bare with CreateWindowEx in
// the same run: the same classes, styles, rectangles and parents, no fonts, texts or behaviour.
// Prints per-run medians, the ratio, and the native windows and GDI objects the view holds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/WinBenchHost.h"
#include "tools/vel-sheet/AmostraVEL.h"
#include "ui/Backend.h"

namespace {

struct Janela {
  std::wstring classe;
  DWORD estilo, estiloEx;
  RECT r;   // in the parent's client coordinates
  int pai;  // index of the parent in the list; -1: the host window
};

struct Coleta {
  std::vector<Janela>* lista;
  std::map<HWND, int> indices;
  HWND host;
};

BOOL CALLBACK Coletar(HWND hwnd, LPARAM p) {
  auto* c = reinterpret_cast<Coleta*>(p);
  wchar_t classe[64] = {};
  GetClassNameW(hwnd, classe, 64);
  HWND pai = GetParent(hwnd);
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, pai, reinterpret_cast<POINT*>(&r), 2);
  const auto it = c->indices.find(pai);
  c->lista->push_back({classe, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)),
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)), r,
                       it == c->indices.end() ? -1 : it->second});
  c->indices[hwnd] = static_cast<int>(c->lista->size()) - 1;
  return TRUE;
}

// The tree of native windows inside `host`, parents before children (EnumChildWindows walks
// depth first).
std::vector<Janela> Arvore(HWND host) {
  std::vector<Janela> lista;
  Coleta c{&lista, {}, host};
  EnumChildWindows(host, Coletar, reinterpret_cast<LPARAM>(&c));
  return lista;
}

bool Sistema(const std::wstring& classe) {
  return lstrcmpiW(classe.c_str(), L"EDIT") == 0 || lstrcmpiW(classe.c_str(), L"BUTTON") == 0 ||
         lstrcmpiW(classe.c_str(), L"STATIC") == 0 || lstrcmpiW(classe.c_str(), L"SCROLLBAR") == 0;
}

// The floor: the same windows, created bare. Windows of the toolkit's own classes become
// windows of a plain class with the default window procedure.
void CriarPiso(HWND host, const std::vector<Janela>& arvore) {
  std::vector<HWND> criadas(arvore.size());
  for (size_t i = 0; i < arvore.size(); ++i) {
    const Janela& j = arvore[i];
    const bool raiz = j.pai < 0;
    const wchar_t* classe = Sistema(j.classe) ? j.classe.c_str() : L"VELBenchPlain";
    criadas[i] =
        CreateWindowExW(j.estiloEx, classe, L"", raiz ? (j.estilo & ~WS_VISIBLE) : j.estilo,
                        j.r.left, j.r.top, j.r.right - j.r.left, j.r.bottom - j.r.top,
                        raiz ? host : criadas[static_cast<size_t>(j.pai)], nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  }
  if (!criadas.empty()) ShowWindow(criadas[0], SW_SHOW);
  if (!criadas.empty()) DestroyWindow(criadas[0]);
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Medida {
  double visao, piso;
  size_t janelas, objetos;
  std::map<std::wstring, int> porClasse;
};

// Creating, embedding and destroying the view of `doc` in `host`, and the floor of its windows.
Medida Medir(zarp::TZARPFicha1& doc, HWND host) {
  const uint32_t alvo = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host));
  // Once to warm up, and to see what the view holds.
  const size_t objetosAntes = ui::CurrentBackend().NativeObjectCount();
  doc.AcoplarVisao(alvo);
  benchwin::Pump();
  const std::vector<Janela> arvore = Arvore(host);
  Medida m{};
  m.janelas = arvore.size();
  m.objetos = ui::CurrentBackend().NativeObjectCount() - objetosAntes;
  doc.LiberarVisao();
  benchwin::Pump();
  for (const Janela& j : arvore) ++m.porClasse[Sistema(j.classe) ? j.classe : L"(own class)"];

  constexpr int kRodadas = 15;
  std::vector<double> visao, piso;
  for (int i = 0; i < kRodadas; ++i) {
    double t0 = benchwin::Now();
    doc.AcoplarVisao(alvo);
    doc.LiberarVisao();
    visao.push_back(benchwin::Now() - t0);
    benchwin::Pump();
    t0 = benchwin::Now();
    CriarPiso(host, arvore);
    piso.push_back(benchwin::Now() - t0);
    benchwin::Pump();
  }
  m.visao = Mediana(visao);
  m.piso = Mediana(piso);
  return m;
}

}  // namespace

int main() {
  HWND host = benchwin::NewHost();

  // A new sheet, and one filled in (every region, a description of 9,000 characters).
  vel::Documento nova, amostra;
  vel::PreencherAmostra(*amostra);
  const Medida vazia = Medir(*nova, host);
  const Medida cheia = Medir(*amostra, host);

  std::printf("VEL view: create + embed + destroy, 15 runs (median), beside the floor of the same\n"
              "native windows created bare\n");
  std::printf("  %-10s %8s %9s %9s %7s\n", "sheet", "windows", "view", "floor", "ratio");
  for (const auto& [nome, m] : {std::pair{"new", &vazia}, std::pair{"filled in", &cheia}})
    std::printf("  %-10s %8zu %6.2f ms %6.2f ms %6.2f x\n", nome, m->janelas, m->visao, m->piso,
                m->visao / m->piso);
  std::printf("native objects the view holds (windows, fonts, brushes, bitmaps): %zu\n",
              cheia.objetos);
  for (const auto& [classe, n] : cheia.porClasse)
    std::printf("  %-12ls %d windows\n", classe.c_str(), n);
  DestroyWindow(host);
  return 0;
}
