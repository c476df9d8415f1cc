// A picture of a scrolling window's whole content: the window is scrolled page by page through
// its bars, each page is copied from the screen as shown, and the pages are stitched at their
// scroll positions into one PNG.
#pragma once

#include <windows.h>

#include <string>

#include "tests/windows/ui_test_host.h"
#include "ui/picture/Picture.h"

namespace testhost {

inline int PosicaoDaBarra(HWND janela, int barra) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  GetScrollInfo(janela, barra, &si);
  return si.nPos;
}

// Copies the client area of `janela` as the screen shows it into `destino` at (x, y).
inline void CopiarCliente(HWND janela, ui::TPixels& destino, int x, int y) {
  RECT r;
  GetClientRect(janela, &r);
  POINT origem{0, 0};
  ClientToScreen(janela, &origem);
  const int w = r.right, h = r.bottom;
  HDC tela = GetDC(nullptr);
  HDC memoria = CreateCompatibleDC(tela);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(tela, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ antigo = SelectObject(memoria, dib);
  BitBlt(memoria, 0, 0, w, h, tela, origem.x, origem.y, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const uint8_t*>(bits);
  for (int j = 0; j < h && y + j < destino.Height(); ++j)
    for (int i = 0; i < w && x + i < destino.Width(); ++i) {
      const uint8_t* p = px + (static_cast<size_t>(j) * w + i) * 4;
      destino.At(x + i, y + j) = {p[2], p[1], p[0], 255};
    }
  SelectObject(memoria, antigo);
  DeleteObject(dib);
  DeleteDC(memoria);
  ReleaseDC(nullptr, tela);
}

// Scrolls `janela` through its content of largura x altura pixels and writes the picture to
// `caminho`. The window is left scrolled to its end.
inline bool FotografarConteudo(HWND janela, int largura, int altura, const std::string& caminho) {
  ui::TPixels foto(largura, altura, false, {255, 255, 255, 255});
  SendMessageW(janela, WM_VSCROLL, SB_TOP, 0);
  for (int v = -1;;) {
    SendMessageW(janela, WM_HSCROLL, SB_LEFT, 0);
    for (int h = -1;;) {
      Pump();
      UpdateWindow(janela);
      RedrawWindow(janela, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      Pump();
      const int x = PosicaoDaBarra(janela, SB_HORZ), y = PosicaoDaBarra(janela, SB_VERT);
      CopiarCliente(janela, foto, x, y);
      if (x == h) break;
      h = x;
      SendMessageW(janela, WM_HSCROLL, SB_PAGERIGHT, 0);
      if (PosicaoDaBarra(janela, SB_HORZ) == x) break;
    }
    const int y = PosicaoDaBarra(janela, SB_VERT);
    if (y == v) break;
    v = y;
    SendMessageW(janela, WM_VSCROLL, SB_PAGEDOWN, 0);
    if (PosicaoDaBarra(janela, SB_VERT) == y) break;
  }
  Pump();
  try {
    ui::SavePictureFile(foto, caminho);
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace testhost
