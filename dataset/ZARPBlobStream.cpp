// Blob streams over a record's memory streams.
#include "dataset/ZARPBlobStream.h"

namespace zarp {

std::string TZMemoryStream::ObterString() {
  return Bytes();
}

int64_t TZBlobStream::GetSize() {
  return FMStream ? FMStream->GetSize() : 0;
}

void TZBlobStream::SetSize(int64_t size) {
  if (FMStream) FMStream->SetSize(size);
}

template <class Transfer>
int32_t TZBlobStream::AtOwnPosition(Transfer transfer) {
  if (!FMStream) return 0;
  FAntigaPosicao = FMStream->Position();
  FMStream->SetPosition(FPosicao);
  int32_t n;
  try {
    n = transfer();
  } catch (...) {
    FMStream->SetPosition(FAntigaPosicao);
    throw;
  }
  FPosicao += n;
  FMStream->SetPosition(FAntigaPosicao);
  return n;
}

int32_t TZBlobStream::Read(void* buffer, int32_t count) {
  return AtOwnPosition([&] { return FMStream->Read(buffer, count); });
}

int32_t TZBlobStream::Write(const void* buffer, int32_t count) {
  return AtOwnPosition([&] { return FMStream->Write(buffer, count); });
}

int64_t TZBlobStream::Seek(int64_t offset, rt::TSeekOrigin origin) {
  if (!FMStream) return 0;
  switch (origin) {
    case rt::TSeekOrigin::Beginning:
      FPosicao = offset;
      break;
    case rt::TSeekOrigin::Current:
      FPosicao += offset;
      break;
    case rt::TSeekOrigin::End:
      FPosicao = FMStream->GetSize() + offset;
      break;
    default:
      return 0;
  }
  return FPosicao;
}

}  // namespace zarp
