// Saving, loading and clearing the datasets of a sheet document: one section of the sheet stream
// per host-bound dataset the document owns, matched back by dataset and field name. The document
// wraps these in its before and after events.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modulo/ZARPModulo.h"

namespace db {
class TField;
}
namespace rt {
class TComponent;
}

namespace zarp {

class TZARPDataSet;
class TLeitorStream;

// One column of the section being loaded: its name and type code as the stream gives them, and
// the target's field of that name (none when there is no target or no such field).
struct TZFieldDef {
  std::string Nome;
  uint16_t Tipo = 0;
  db::TField* Field = nullptr;
};

// One section per open host-bound dataset of `dono`, in component order, from the stream's
// current position. A pending edit or insert is posted first.
void SalvarDataSets(rt::TComponent& dono, IZARPStream* stream);

// Reads the stream from position 0 section by section into the datasets of `dono` that the
// sections name (ignoring case); sections and columns that match nothing are read and dropped.
// A field that refuses a loaded value is reported in the toolkit's error box and loading goes
// on. A stream that ends inside a section, or holds an impossible count, raises EStreamFicha
// naming the section; the sections before it stay loaded, the one at hand is taken back out.
void CarregarDataSets(rt::TComponent& dono, IZARPStream* stream);

// Empties every open host-bound dataset of `dono`, cancelling a pending edit or insert.
void EsvaziarDataSets(rt::TComponent& dono);

// The steps, one dataset or one section each.
void SalvarDataSet(TZARPDataSet& dataSet, IZARPStream* stream);
// Reads the rest of one section, whose name `secao` has been read; without a target it is read
// and dropped. The caller has lifted the target's read-only flag and suspended its controls.
void CarregarDataSet(TZARPDataSet* alvo, TLeitorStream& leitor, std::u16string_view secao);
// The stream's size minus its position, in 64 bits.
int64_t BytesRestantes(IZARPStream* stream);
void EsvaziarDataSet(TZARPDataSet& dataSet);

}  // namespace zarp
