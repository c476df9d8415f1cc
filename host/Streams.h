// The substitute host's byte streams: one in memory and one over a file, both with 64-bit sizes
// and positions. A test can make either stop transferring at a given offset, as a failing disk
// or a truncated transfer would.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace host {

// The shared rules: Read and Write transfer nothing for a count <= 0 and answer the bytes moved;
// a position past the end is allowed, and writing there fills the gap with zeros.
class TMemoryStream : public rt::TInterfacedObject<zarp::IZARPStream> {
 public:
  explicit TMemoryStream(rt::Constructing c, std::vector<uint8_t> bytes = {})
      : TInterfacedObject(c), bytes_(std::move(bytes)) {}

  int64_t ZARP_STDCALL GetSize() override { return static_cast<int64_t>(bytes_.size()); }
  int64_t ZARP_STDCALL GetPosition() override { return position_; }
  void ZARP_STDCALL SetPosition(int64_t position) override;
  int32_t ZARP_STDCALL Read(void* buffer, int32_t count) override;
  int32_t ZARP_STDCALL Write(const void* buffer, int32_t count) override;

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  void SetBytes(std::vector<uint8_t> bytes);
  // From this offset on, nothing more is read or written (-1: no limit).
  void SetFailAt(int64_t offset) { failAt_ = offset; }

 private:
  std::vector<uint8_t> bytes_;
  int64_t position_ = 0;
  int64_t failAt_ = -1;
};

class TFileStream : public rt::TInterfacedObject<zarp::IZARPStream> {
 public:
  enum class Mode { Read, Create, ReadWrite };
  // Throws std::runtime_error when the file cannot be opened.
  TFileStream(rt::Constructing c, const std::string& path, Mode mode);

  int64_t ZARP_STDCALL GetSize() override;
  int64_t ZARP_STDCALL GetPosition() override { return position_; }
  void ZARP_STDCALL SetPosition(int64_t position) override;
  int32_t ZARP_STDCALL Read(void* buffer, int32_t count) override;
  int32_t ZARP_STDCALL Write(const void* buffer, int32_t count) override;

  void SetFailAt(int64_t offset) { failAt_ = offset; }

 private:
  std::fstream file_;
  int64_t position_ = 0;
  int64_t failAt_ = -1;
};

}  // namespace host
