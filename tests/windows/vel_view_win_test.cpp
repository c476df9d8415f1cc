// The VEL sheet's view through the real VELSistema.dll, as a host and a player see it: embedded
// in a host window, typed into with real keyboard messages through a plain host message loop,
// saved through IZARPFicha, released and embedded again; and a picture of the whole sheet.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "tests/windows/ui_test_host.h"
#include "tests/windows/vel_dll_host.h"
#include "tests/windows/vel_screenshot.h"

namespace {

using testhost::Consultar;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;

struct Procura {
  RECT alvo;
  const wchar_t* classe;
  HWND view;
  HWND achada;
};

BOOL CALLBACK Comparar(HWND hwnd, LPARAM p) {
  auto* d = reinterpret_cast<Procura*>(p);
  wchar_t classe[32] = {};
  GetClassNameW(hwnd, classe, 32);
  if (lstrcmpiW(classe, d->classe) != 0) return TRUE;
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, d->view, reinterpret_cast<POINT*>(&r), 2);
  if (EqualRect(&r, &d->alvo)) {
    d->achada = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The native window of class `classe` at exactly this rectangle of the view's client area.
HWND JanelaEm(HWND view, int left, int top, int width, int height,
              const wchar_t* classe = L"EDIT") {
  Procura d{{left, top, left + width, top + height}, classe, view, nullptr};
  EnumChildWindows(view, Comparar, reinterpret_cast<LPARAM>(&d));
  return d.achada;
}

std::wstring Texto(HWND hwnd) {
  wchar_t b[256] = {};
  GetWindowTextW(hwnd, b, 256);
  return b;
}

// One key as the keyboard delivers it: posted to the focused window and run through the host's
// plain loop (TranslateMessage makes the characters; there is no IsDialogMessage).
void Tecla(UINT vk) {
  HWND foco = GetFocus();
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(foco, WM_KEYDOWN, vk, 1 | (scan << 16));
  testhost::Pump();
  PostMessageW(foco, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
  testhost::Pump();
}

void Digitar(const char* texto) {
  for (const char* c = texto; *c; ++c) Tecla(static_cast<UINT>(VkKeyScanW(*c) & 0xFF));
}

// The deepest visible window under a point of the view's client area.
HWND JanelaNoPonto(HWND view, int x, int y) {
  POINT p{x, y};
  HWND atual = view;
  for (;;) {
    HWND filha = ChildWindowFromPointEx(atual, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!filha || filha == atual) return atual;
    MapWindowPoints(atual, filha, &p, 1);
    atual = filha;
  }
}

// What a right click does at a point of the view: the button goes down and up on the window
// under it, whose default handling asks for its context menu.
void CliqueDireito(HWND view, int x, int y) {
  HWND alvo = JanelaNoPonto(view, x, y);
  POINT p{x, y};
  MapWindowPoints(view, alvo, &p, 1);
  SendMessageW(alvo, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(alvo, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  testhost::Pump();
}

// A player at the menu that opens next: `descidas` presses of Down and then Enter, once the
// popup menu shows; and the text of the message box that may follow, closed with OK.
struct Jogador {
  int descidas = 0;
  bool escolheu = false;
  std::wstring caixa;
};
Jogador* g_jogador = nullptr;

void CALLBACK Jogar(HWND, UINT, UINT_PTR, DWORD) {
  Jogador& j = *g_jogador;
  if (!j.escolheu) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    for (int i = 0; i < j.descidas; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    j.escolheu = true;
    return;
  }
  if (HWND caixa = FindWindowW(L"#32770", nullptr)) {
    wchar_t texto[256] = {};
    GetDlgItemTextW(caixa, 0xFFFF, texto, 256);
    j.caixa = texto;
    PostMessageW(caixa, WM_COMMAND, IDOK, 0);
  }
}

// Right-clicks at a point of the view and chooses the menu's row `linha` (from 0).
Jogador EscolherNoMenu(HWND view, int x, int y, int linha) {
  Jogador j;
  j.descidas = linha + 1;
  g_jogador = &j;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, Jogar);
  CliqueDireito(view, x, y);
  for (int i = 0; i < 10; ++i) testhost::Pump();  // a box the choice opened closes too
  KillTimer(nullptr, timer);
  g_jogador = nullptr;
  return j;
}

bool Contem(const std::vector<uint8_t>& bytes, std::string_view texto) {
  return std::search(bytes.begin(), bytes.end(), texto.begin(), texto.end()) != bytes.end();
}

class VelView : public testhost::VelHost {
 protected:
  void SetUp() override {
    VelHost::SetUp();
    modulo = Modulo();
    modulo->SetCentral(central.Get());
    modulo->AtivarModulo();
    ASSERT_EQ(Registro().PluginCount(), 1);
  }
  void TearDown() override {
    modulo->DesativarModulo();
    modulo->SetCentral(nullptr);
    modulo.Reset();
    VelHost::TearDown();
  }
  rt::ComPtr<IZARPFicha> Nova() {
    IZARPFicha* f = nullptr;
    Registro().Plugin(0)->CriarFicha(&f);
    return rt::ComPtr<IZARPFicha>::Adopt(f);
  }

  rt::ComPtr<zarp::IZARPModulo> modulo;
};

TEST_F(VelView, KeysReachStaminaAndTabMovesToDestrezaThroughAPlainHostLoop) {
  auto ficha = Nova();
  auto visao = Consultar<IZARPFichaVisao>(ficha.Get());
  HWND janela = testhost::CreateHostWindow(900, 700);
  visao->AcoplarVisao(testhost::AsHost(janela));
  testhost::Pump();
  HWND view = GetWindow(janela, GW_CHILD);
  ASSERT_NE(view, nullptr);
  HWND stamina = JanelaEm(view, 7, 125, 41, 27);
  HWND destreza = JanelaEm(view, 7, 153, 41, 27);
  ASSERT_NE(stamina, nullptr);
  ASSERT_NE(destreza, nullptr);
  EXPECT_EQ(Texto(stamina), L"");

  SetForegroundWindow(janela);
  SetFocus(stamina);
  testhost::Pump();
  ASSERT_EQ(GetFocus(), stamina);
  Digitar("12");
  EXPECT_EQ(Texto(stamina), L"12");
  Tecla(VK_TAB);
  EXPECT_EQ(GetFocus(), destreza);
  Digitar("7");
  EXPECT_EQ(Texto(destreza), L"7");
  visao->LiberarVisao();
  EXPECT_FALSE(IsWindow(view));
  visao.Reset();
  ficha.Reset();
  DestroyWindow(janela);
  testhost::Pump();
}

TEST_F(VelView, TypingCommitsOnAFocusChangeTellsTheHostAndSaves) {
  auto ficha = Nova();
  auto visao = Consultar<IZARPFichaVisao>(ficha.Get());
  auto controller = rt::MakeCounted<host::TController>();
  visao->SetFichaVisaoController(controller.Get());
  HWND janela = testhost::CreateHostWindow(900, 700);
  visao->AcoplarVisao(testhost::AsHost(janela));
  testhost::Pump();
  HWND view = GetWindow(janela, GW_CHILD);
  ASSERT_NE(view, nullptr);

  HWND stamina = JanelaEm(view, 7, 125, 41, 27);
  HWND destreza = JanelaEm(view, 7, 153, 41, 27);
  ASSERT_NE(stamina, nullptr);
  ASSERT_NE(destreza, nullptr);
  EXPECT_EQ(Texto(stamina), L"");

  SetForegroundWindow(janela);
  SetFocus(stamina);
  testhost::Pump();
  ASSERT_EQ(GetFocus(), stamina);
  Digitar("12");
  EXPECT_EQ(Texto(stamina), L"12");
  // The first key inserted the sheet's one record, which the host hears of once.
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);

  Tecla(VK_TAB);
  EXPECT_EQ(GetFocus(), destreza);
  Digitar("7");
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);

  // Saving posts the pending change, the focused edit's text included.
  auto saida = rt::MakeCounted<host::TMemoryStream>();
  ficha->SalvarFicha(saida.Get());

  // A second document loads what was saved and shows it.
  auto outra = Nova();
  auto entrada = rt::MakeCounted<host::TMemoryStream>(saida->Bytes());
  outra->CarregarFicha(entrada.Get());
  auto outraVisao = Consultar<IZARPFichaVisao>(outra.Get());
  HWND janela2 = testhost::CreateHostWindow(400, 300);
  outraVisao->AcoplarVisao(testhost::AsHost(janela2));
  testhost::Pump();
  HWND view2 = GetWindow(janela2, GW_CHILD);
  EXPECT_EQ(Texto(JanelaEm(view2, 7, 125, 41, 27)), L"12");
  EXPECT_EQ(Texto(JanelaEm(view2, 7, 153, 41, 27)), L"7");
  outraVisao->LiberarVisao();
  outraVisao.Reset();
  outra.Reset();
  DestroyWindow(janela2);

  // Released and embedded again: a new view with the same values.
  visao->LiberarVisao();
  EXPECT_FALSE(IsWindow(view));
  visao->AcoplarVisao(testhost::AsHost(janela));
  testhost::Pump();
  view = GetWindow(janela, GW_CHILD);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Texto(JanelaEm(view, 7, 125, 41, 27)), L"12");
  EXPECT_EQ(Texto(JanelaEm(view, 7, 153, 41, 27)), L"7");

  visao->LiberarVisao();
  visao.Reset();
  ficha.Reset();
  DestroyWindow(janela);
  testhost::Pump();
}

TEST_F(VelView, TheWholeSheetScrolledThroughItsHeightMakesOnePicture) {
  auto ficha = Nova();
  auto entrada = rt::MakeCounted<host::TFileStream>(testhost::Dados("vel-sample-resaved.zarp"),
                                                    host::TFileStream::Mode::Read);
  ficha->CarregarFicha(entrada.Get());
  auto visao = Consultar<IZARPFichaVisao>(ficha.Get());
  HWND janela = testhost::CreateHostWindow(1000, 720);
  visao->AcoplarVisao(testhost::AsHost(janela));
  testhost::Pump();
  HWND view = GetWindow(janela, GW_CHILD);
  ASSERT_NE(view, nullptr);

  // A host window smaller than the page gets scroll bars over the whole content.
  SCROLLINFO v{}, h{};
  v.cbSize = h.cbSize = sizeof v;
  v.fMask = h.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &v));
  ASSERT_TRUE(GetScrollInfo(view, SB_HORZ, &h));
  EXPECT_EQ(v.nPos, 19);
  // The bars cover the content (rows 0 to 1141, columns 0 to 1366, once every kind of control
  // is built; the native view tests check the ranges exactly).
  EXPECT_GT(v.nMax - v.nMin + 1, static_cast<int>(v.nPage));
  EXPECT_GT(h.nMax - h.nMin + 1, static_cast<int>(h.nPage));

  const std::string caminho = std::string(VEL_SCREENSHOT_DIR) + "/vel-sheet.png";
  EXPECT_TRUE(testhost::FotografarConteudo(view, 1366, 1141, caminho)) << caminho;

  visao->LiberarVisao();
  visao.Reset();
  ficha.Reset();
  DestroyWindow(janela);
  testhost::Pump();
}

// A new sheet's view embedded in a host window of its own, in the foreground; released, and
// the window destroyed, at the end of the scope.
struct Embutida {
  Embutida(rt::ComPtr<IZARPFicha> f, int largura, int altura)
      : ficha(std::move(f)),
        visao(Consultar<IZARPFichaVisao>(ficha.Get())),
        janela(testhost::CreateHostWindow(largura, altura)) {
    visao->AcoplarVisao(testhost::AsHost(janela));
    testhost::Pump();
    view = GetWindow(janela, GW_CHILD);
    SetForegroundWindow(janela);
  }
  ~Embutida() {
    visao->LiberarVisao();
    visao.Reset();
    ficha.Reset();
    DestroyWindow(janela);
    testhost::Pump();
  }
  Embutida(const Embutida&) = delete;
  Embutida& operator=(const Embutida&) = delete;

  rt::ComPtr<IZARPFicha> ficha;
  rt::ComPtr<IZARPFichaVisao> visao;
  HWND janela;
  HWND view = nullptr;
};

TEST_F(VelView, ASkillIsInsertedFromTheGridsRealPopupMenuTypedIntoAndSaved) {
  const Embutida folha(Nova(), 1100, 800);
  HWND view = folha.view;
  ASSERT_NE(view, nullptr);

  // The skills list is empty: its grid shows no panel, so the first panel's name box is hidden.
  constexpr int kNomeX = 548 - 2 + 137, kNomeY = 370 + 4;
  HWND nome = JanelaEm(view, kNomeX, kNomeY, 269, 24);
  ASSERT_NE(nome, nullptr);
  EXPECT_FALSE(IsWindowVisible(nome));
  const Jogador j = EscolherNoMenu(view, 548 + 200, 370 + 150, 0);  // "Inserir Habilidade"
  ASSERT_TRUE(j.escolheu);
  EXPECT_EQ(j.caixa, L"");
  EXPECT_TRUE(IsWindowVisible(nome));
  SetFocus(nome);
  testhost::Pump();
  ASSERT_EQ(GetFocus(), nome);
  Digitar("furtividade");
  EXPECT_EQ(Texto(nome), L"furtividade");

  auto saida = rt::MakeCounted<host::TMemoryStream>();
  folha.ficha->SalvarFicha(saida.Get());
  EXPECT_TRUE(Contem(saida->Bytes(), "habilname"));
  EXPECT_TRUE(Contem(saida->Bytes(), "furtividade"));
}

TEST_F(VelView, RemovingADonFromTheEmptyListSaysSoInAMessageBox) {
  const Embutida folha(Nova(), 1400, 800);
  HWND view = folha.view;
  ASSERT_NE(view, nullptr);

  const Jogador j = EscolherNoMenu(view, 989 + 100, 342 + 100, 1);  // "Remover Don"
  ASSERT_TRUE(j.escolheu);
  EXPECT_EQ(j.caixa, L"Cannot perform this operation on an empty dataset");
}

}  // namespace
