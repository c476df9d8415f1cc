// vel-artwork OUTDIR [--pagina FILE]: draws the VEL sheet's seven pictures from the page's layout
// rows into OUTDIR under their file names (sistema/artwork holds the library's copies); with
// --pagina also the page as its artwork alone makes it, for a look at the whole.
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/Exception.h"
#include "tools/vel-artwork/Arte.h"
#include "ui/picture/Picture.h"

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--pagina") == 0)) {
    std::fprintf(stderr, "usage: vel-artwork OUTDIR [--pagina FILE]\n");
    return 2;
  }
  try {
    const std::string pasta = argv[1];
    for (size_t i = 0; i < zarp::vel::kFiguras.size(); ++i)
      ui::SavePictureFile(vel::arte::Desenhar(static_cast<int>(i)),
                          pasta + "/" + std::string(zarp::vel::kFiguras[i].Arquivo));
    if (argc == 4) ui::SavePictureFile(vel::arte::Pagina(), argv[3]);
  } catch (const rt::Exception& e) {
    std::fprintf(stderr, "vel-artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
