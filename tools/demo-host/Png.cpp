// PNG encoding with zlib: signature, IHDR, one IDAT of filter-0 rows, IEND.
#include "tools/demo-host/Png.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace demo {

namespace {

void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Bloco(std::vector<uint8_t>& out, const char tipo[5], const std::vector<uint8_t>& dados) {
  Be32(out, static_cast<uint32_t>(dados.size()));
  const size_t inicio = out.size();
  out.insert(out.end(), tipo, tipo + 4);
  out.insert(out.end(), dados.begin(), dados.end());
  Be32(out, static_cast<uint32_t>(
                crc32(0, out.data() + inicio, static_cast<uInt>(out.size() - inicio))));
}

}  // namespace

bool GravarPng(const Imagem& img, const std::wstring& caminho, std::wstring& erro) {
  std::vector<uint8_t> linhas;
  linhas.reserve(static_cast<size_t>(img.altura) * (1 + 3 * static_cast<size_t>(img.largura)));
  for (int y = 0; y < img.altura; ++y) {
    linhas.push_back(0);  // filter: none
    for (int x = 0; x < img.largura; ++x) {
      const uint32_t p = img.pixels[static_cast<size_t>(y) * img.largura + x];
      linhas.push_back(static_cast<uint8_t>(p >> 16));
      linhas.push_back(static_cast<uint8_t>(p >> 8));
      linhas.push_back(static_cast<uint8_t>(p));
    }
  }
  uLongf tamanho = compressBound(static_cast<uLong>(linhas.size()));
  std::vector<uint8_t> comprimido(tamanho);
  if (compress2(comprimido.data(), &tamanho, linhas.data(), static_cast<uLong>(linhas.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    erro = L"the picture could not be compressed";
    return false;
  }
  comprimido.resize(tamanho);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> cabecalho;
  Be32(cabecalho, static_cast<uint32_t>(img.largura));
  Be32(cabecalho, static_cast<uint32_t>(img.altura));
  cabecalho.insert(cabecalho.end(),
                   {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  Bloco(png, "IHDR", cabecalho);
  Bloco(png, "IDAT", comprimido);
  Bloco(png, "IEND", {});

  FILE* f = _wfopen(caminho.c_str(), L"wb");
  if (!f) {
    erro = L"the file cannot be created";
    return false;
  }
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  if (std::fclose(f) != 0 || !ok) {
    erro = L"the file cannot be written";
    _wremove(caminho.c_str());
    return false;
  }
  return true;
}

}  // namespace demo
