// Helpers for the VEL sheet tests: the document holder and the sample character of the golden
// files, the records and message boxes as the persistence tests read them, and a counter of the
// runs of the equipment list's calculated-fields event.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/DataSet.h"
#include "host/Controller.h"
#include "sistema/VELvisao.h"
#include "tests/persistence/FichaTeste.h"
#include "tools/vel-sheet/AmostraVEL.h"

namespace vel::test {

using Bytes = std::vector<uint8_t>;
using zarp::TZARPFicha1;
// The values of every record of a dataset, one line per record, first to last.
using zarp::test::Registros;
// The message boxes that the offscreen backend recorded.
using zarp::test::Caixas;

// Counts the runs of DATAA6's calculated-fields event (the sheet's own handler still runs) and
// the dataset state each run saw.
class ContadorCalculos {
 public:
  explicit ContadorCalculos(TZARPFicha1& doc) {
    auto original = doc.DATAA6->OnCalcFields;
    doc.DATAA6->OnCalcFields = [this, original](db::TDataSet* ds) {
      ++runs;
      estados.push_back(ds->State());
      original(ds);
    };
  }
  int runs = 0;
  std::vector<db::TDataSetState> estados;
};

}  // namespace vel::test
