// vel-artwork OUTDIR: draws the VEL sheet's seven pictures from the page's layout rows and writes
// them into OUTDIR under their file names.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/vel-artwork/Arte.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vel-artwork OUTDIR\n");
    return 2;
  }
  const std::string pasta = argv[1];
  for (size_t i = 0; i < zarp::vel::kFiguras.size(); ++i) {
    const vel::arte::Quadro q = vel::arte::Desenhar(static_cast<int>(i));
    const std::string nome = pasta + "/" + std::string(zarp::vel::kFiguras[i].Arquivo) + ".pam";
    std::ofstream out(nome, std::ios::binary);
    out << "P7\nWIDTH " << q.Largura << "\nHEIGHT " << q.Altura
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    out.write(reinterpret_cast<const char*>(q.Pixels.data()),
              static_cast<std::streamsize>(q.Pixels.size() * 4));
    if (!out) {
      std::fprintf(stderr, "vel-artwork: cannot write %s\n", nome.c_str());
      return 1;
    }
  }
  return 0;
}
