// A picture of a scrolling window's whole content: scrolled through its full height (and width)
// a page at a time, each page copied from the screen into its place, the scroll position put
// back afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace demo {

struct Imagem {
  int largura = 0, altura = 0;
  std::vector<uint32_t> pixels;  // top-down rows of 0x00RRGGBB
};

// An empty picture when the window has no area.
Imagem CapturarConteudo(HWND janela);

}  // namespace demo
