// Loads arbitrary bytes into a test sheet. Whatever loads, fully or up to a damaged section, must
// save; that save must load into a fresh sheet and save again to the same bytes; and the load
// must leave every dataset in browse state, its controls live and its read-only flag as it was.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ficha/ZARPPersistencia.h"
#include "ficha/ZARPStreamUtils.h"
#include "fuzz/FichaFuzz.h"
#include "host/Streams.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using Bytes = std::vector<uint8_t>;
using zarp::fuzz::FichaFuzz;

Bytes Salvar(rt::TComponent& ficha) {
  auto s = rt::MakeCounted<host::TMemoryStream>();
  zarp::SalvarDataSets(ficha, s.Get());
  return s->Bytes();
}

void Carregar(rt::TComponent& ficha, Bytes bytes) {
  auto s = rt::MakeCounted<host::TMemoryStream>(std::move(bytes));
  zarp::EsvaziarDataSets(ficha);
  zarp::CarregarDataSets(ficha, s.Get());
}

[[noreturn]] void Achado(const char* oQue) {
  std::fprintf(stderr, "fuzz_carregar: %s\n", oQue);
  std::abort();
}

void ConferirEstado(FichaFuzz& ficha) {
  for (zarp::TZARPDataSet* ds : {ficha.tipos, ficha.lista, ficha.vazio}) {
    if (ds->State() != db::TDataSetState::dsBrowse) Achado("a dataset was left editing");
    if (ds->ControlsDisabled()) Achado("a dataset's controls were left suspended");
  }
  if (!ficha.vazio->SomenteLeitura() || ficha.tipos->SomenteLeitura())
    Achado("a read-only flag changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FichaFuzz ficha;
  try {
    Carregar(ficha, Bytes(data, data + size));
  } catch (const zarp::EStreamFicha&) {
    // A damaged stream: the clear error, with the sections before it loaded.
  }
  ConferirEstado(ficha);

  const Bytes primeiro = Salvar(ficha);
  FichaFuzz outra;
  Carregar(outra, primeiro);
  ConferirEstado(outra);
  if (Salvar(outra) != primeiro) Achado("the second save differs from the first");

  // The boxes of refused values are recorded by the offscreen backend; keep the record small.
  ui::offscreen::Instance().ClearMessages();
  return 0;
}
