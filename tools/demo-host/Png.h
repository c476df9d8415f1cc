// A picture as a PNG file: 8-bit RGB, no interlace.
#pragma once

#include <string>

#include "tools/demo-host/Captura.h"

namespace demo {

// False, with the reason in `erro`, when the file cannot be written.
bool GravarPng(const Imagem& imagem, const std::wstring& caminho, std::wstring& erro);

}  // namespace demo
