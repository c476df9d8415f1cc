// Blob values: the memory stream a record keeps per blob field, and the stream handed to blob
// fields, which reads and writes that memory stream at a position of its own.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Stream.h"

namespace zarp {

class TZCustomDataSet;

class TZMemoryStream : public rt::TMemoryStream {
 public:
  // The whole content as 8-bit text, whatever the position; the position is left as it was.
  std::string ObterString();
};

// A view of a record's memory stream. Several may be open over one memory stream: each keeps
// its own position and puts the memory stream's position back after every transfer. Without a
// memory stream every operation answers 0 and does nothing.
class TZBlobStream : public rt::TStream {
 public:
  TZBlobStream(rt::TStream* stream, TZCustomDataSet* dataSet)
      : FMStream(stream), FDataSet(dataSet) {}

  int64_t GetSize() override;
  void SetSize(int64_t size) override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // Does not clamp; an origin other than the three answers 0 and leaves the position alone.
  int64_t Seek(int64_t offset, rt::TSeekOrigin origin) override;

  rt::TStream* MemoryStream() const { return FMStream; }
  TZCustomDataSet* DataSet() const { return FDataSet; }

 private:
  template <class Transfer>
  int32_t AtOwnPosition(Transfer transfer);

  rt::TStream* FMStream;  // the record's stream; not owned
  TZCustomDataSet* FDataSet;
  int64_t FPosicao = 0;
  int64_t FAntigaPosicao = 0;
};

}  // namespace zarp
