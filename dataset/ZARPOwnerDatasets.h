// The interface through which a host-bound dataset tells its owner (the sheet document) that a
// change began, was cancelled or removed a record. Internal: never crosses to the host.
#pragma once

#include "runtime/Com.h"

namespace db {
class TDataSet;
}

namespace zarp {

struct IZARPOwnerDatasets : rt::IUnknown {
  // {7FE92084-C232-4D31-A7C9-5A0DFC8FCAF1}
  static constexpr rt::GUID IID = {
      0x7FE92084, 0xC232, 0x4D31, {0xA7, 0xC9, 0x5A, 0x0D, 0xFC, 0x8F, 0xCA, 0xF1}};
  // The library's own calling convention: only datasets of this library call it.
  virtual void NotificarAlteracao(db::TDataSet* dataSet) = 0;  // slot 3
};

}  // namespace zarp
