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
    const wchar_t* classe = Sistema(j.classe) ? j.classe.c_str() : L"VELBenchPiso";
    criadas[i] =
        CreateWindowExW(j.estiloEx, classe, L"", raiz ? (j.estilo & ~WS_VISIBLE) : j.estilo,
                        j.r.left, j.r.top, j.r.right - j.r.left, j.r.bottom - j.r.top,
                        raiz ? host : criadas[static_cast<size_t>(j.pai)], nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  }
  if (!criadas.empty()) ShowWindow(criadas[0], SW_SHOW);
  if (!criadas.empty()) DestroyWindow(criadas[0]);
}

double Agora() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER x;
    QueryPerformanceFrequency(&x);
    return x;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Drenar() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace

int main() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VELBenchPiso";
  RegisterClassW(&wc);
  wc.lpszClassName = L"VELBenchHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"VELBenchHost", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              1000, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const uint32_t alvo = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host));

  vel::Documento doc;
  vel::PreencherAmostra(*doc);

  // Once to warm up, and to see what the view holds.
  const size_t objetosAntes = ui::CurrentBackend().NativeObjectCount();
  doc->AcoplarVisao(alvo);
  Drenar();
  const std::vector<Janela> arvore = Arvore(host);
  const size_t objetos = ui::CurrentBackend().NativeObjectCount() - objetosAntes;
  doc->LiberarVisao();
  Drenar();
  std::map<std::wstring, int> porClasse;
  for (const Janela& j : arvore) ++porClasse[Sistema(j.classe) ? j.classe : L"(own class)"];

  constexpr int kRodadas = 15;
  std::vector<double> visao, piso;
  for (int i = 0; i < kRodadas; ++i) {
    double t0 = Agora();
    doc->AcoplarVisao(alvo);
    doc->LiberarVisao();
    visao.push_back(Agora() - t0);
    Drenar();
    t0 = Agora();
    CriarPiso(host, arvore);
    piso.push_back(Agora() - t0);
    Drenar();
  }
  const double v = Mediana(visao), p = Mediana(piso);
  std::printf("VEL view: create + embed + destroy, %d runs (median)\n", kRodadas);
  std::printf("  view   %8.2f ms\n  floor  %8.2f ms  (%zu bare windows)\n  ratio  %8.2f x\n", v, p,
              arvore.size(), v / p);
  std::printf("native objects the view holds (windows, fonts, brushes, bitmaps): %zu\n", objetos);
  for (const auto& [classe, n] : porClasse) std::printf("  %-12ls %d windows\n", classe.c_str(), n);
  DestroyWindow(host);
  return 0;
}
