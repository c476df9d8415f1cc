// A picture of a scrolling window's whole content: scrolled through its full height (and width)
// a page at a time, each page copied from the screen into its place, the scroll position put
// back afterwards.
#pragma once

#include <windows.h>

#include "ui/picture/Pixels.h"

namespace demo {

// An empty picture when the window has no area; the picture error of the toolkit when the
// content is larger than any picture it holds.
ui::TPixels CapturarConteudo(HWND janela);

}  // namespace demo
