// The stitched picture of a scrolling window.
#include "tools/demo-host/Captura.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace demo {

namespace {

struct Barra {
  bool ativa = false;
  int conteudo = 0;  // the content's extent along the bar
  int maxPos = 0;
};

Barra LerBarra(HWND w, int qual, int visivel) {
  Barra b;
  const LONG estilo = GetWindowLongW(w, GWL_STYLE);
  if (!(estilo & (qual == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) {
    b.conteudo = visivel;
    return b;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(w, qual, &si);
  b.conteudo = std::max(visivel, si.nMax - si.nMin + 1);
  b.maxPos = std::max(0, si.nMax - static_cast<int>(si.nPage) + 1);
  b.ativa = b.maxPos > 0;
  return b;
}

int Posicao(HWND w, int qual) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  GetScrollInfo(w, qual, &si);
  return si.nPos;
}

// Moves the bar as a drag of its thumb ending at `pos` would, and answers where it stands.
int Rolar(HWND w, int qual, int pos) {
  SetScrollPos(w, qual, pos, FALSE);
  SendMessageW(w, qual == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
  return Posicao(w, qual);
}

// The window's client area as it stands on the screen, children included.
void CopiarPagina(HWND w, int largura, int altura, std::vector<uint32_t>& pagina) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC tela = GetDC(w);
  HDC memoria = CreateCompatibleDC(tela);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = largura;
  bi.bmiHeader.biHeight = -altura;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(tela, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  pagina.assign(static_cast<size_t>(largura) * static_cast<size_t>(altura), 0xFFFFFF);
  if (dib && bits) {
    HGDIOBJ antigo = SelectObject(memoria, dib);
    BitBlt(memoria, 0, 0, largura, altura, tela, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(pagina.data(), bits, pagina.size() * sizeof(uint32_t));
    SelectObject(memoria, antigo);
    DeleteObject(dib);
  }
  DeleteDC(memoria);
  ReleaseDC(w, tela);
}

}  // namespace

ui::TPixels CapturarConteudo(HWND janela) {
  RECT rc;
  GetClientRect(janela, &rc);
  const int visivelL = rc.right, visivelA = rc.bottom;
  if (visivelL <= 0 || visivelA <= 0) return {};
  const Barra h = LerBarra(janela, SB_HORZ, visivelL);
  const Barra v = LerBarra(janela, SB_VERT, visivelA);
  const int antesH = Posicao(janela, SB_HORZ), antesV = Posicao(janela, SB_VERT);
  ui::TPixels img(h.conteudo, v.conteudo, false, ui::TRgba{255, 255, 255, 255});

  std::vector<uint32_t> pagina;
  // Pages are taken at the positions the bars reach; a bar that stops short ends its pass.
  for (int alvoY = 0, ultimoY = -1;;) {
    const int y = v.ativa ? Rolar(janela, SB_VERT, std::min(alvoY, v.maxPos)) : 0;
    if (y == ultimoY) break;
    for (int alvoX = 0, ultimoX = -1;;) {
      const int x = h.ativa ? Rolar(janela, SB_HORZ, std::min(alvoX, h.maxPos)) : 0;
      if (x == ultimoX) break;
      CopiarPagina(janela, visivelL, visivelA, pagina);
      // The screen's rows are 0x00RRGGBB words; the picture's are RGBA bytes.
      for (int linha = 0; linha < visivelA && y + linha < img.Height(); ++linha) {
        const int n = std::min(visivelL, img.Width() - x);
        const uint32_t* de = &pagina[static_cast<size_t>(linha) * visivelL];
        ui::TRgba* para = img.Row(y + linha) + x;
        for (int i = 0; i < n; ++i)
          para[i] = {static_cast<uint8_t>(de[i] >> 16), static_cast<uint8_t>(de[i] >> 8),
                     static_cast<uint8_t>(de[i]), 255};
      }
      ultimoX = x;
      if (!h.ativa || x >= h.maxPos) break;
      alvoX = x + visivelL;
    }
    ultimoY = y;
    if (!v.ativa || y >= v.maxPos) break;
    alvoY = y + visivelA;
  }
  if (h.ativa) Rolar(janela, SB_HORZ, antesH);
  if (v.ativa) Rolar(janela, SB_VERT, antesV);
  return img;
}

}  // namespace demo
