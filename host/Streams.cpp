// The substitute host's memory and file streams.
#include "host/Streams.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace host {

namespace {
// How many of `count` bytes at `position` may move before the failure offset.
int64_t Allowed(int64_t position, int32_t count, int64_t failAt) {
  if (count <= 0) return 0;
  if (failAt < 0) return count;
  return std::clamp<int64_t>(failAt - position, 0, count);
}
}  // namespace

void TMemoryStream::SetPosition(int64_t position) {
  position_ = std::max<int64_t>(position, 0);
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
  int64_t size = GetSize();
  int64_t n = std::min(Allowed(position_, count, failAt_), std::max<int64_t>(size - position_, 0));
  if (n <= 0) return 0;
  std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  int64_t n = Allowed(position_, count, failAt_);
  if (n <= 0) return 0;
  if (position_ + n > GetSize()) bytes_.resize(static_cast<size_t>(position_ + n));
  std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(n));
  position_ += n;
  return static_cast<int32_t>(n);
}

void TMemoryStream::SetBytes(std::vector<uint8_t> bytes) {
  bytes_ = std::move(bytes);
  position_ = 0;
}

TFileStream::TFileStream(rt::Constructing c, const std::string& path, Mode mode)
    : TInterfacedObject(c) {
  std::ios::openmode flags = std::ios::binary | std::ios::in;
  if (mode == Mode::Create) flags |= std::ios::out | std::ios::trunc;
  if (mode == Mode::ReadWrite) flags |= std::ios::out;
  file_.open(path, flags);
  if (!file_) throw std::runtime_error("cannot open " + path);
}

int64_t TFileStream::GetSize() {
  file_.clear();
  file_.seekg(0, std::ios::end);
  return static_cast<int64_t>(file_.tellg());
}

void TFileStream::SetPosition(int64_t position) {
  position_ = std::max<int64_t>(position, 0);
}

int32_t TFileStream::Read(void* buffer, int32_t count) {
  int64_t n = Allowed(position_, count, failAt_);
  if (n <= 0) return 0;
  file_.clear();
  file_.seekg(position_);
  file_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(n));
  int64_t got = file_.gcount();
  position_ += got;
  return static_cast<int32_t>(got);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  int64_t n = Allowed(position_, count, failAt_);
  if (n <= 0) return 0;
  file_.clear();
  int64_t size = GetSize();
  if (position_ > size) {
    // Some runtimes do not extend a file by seeking past its end: fill the gap explicitly.
    file_.seekp(size);
    std::vector<char> zeros(static_cast<size_t>(position_ - size), '\0');
    file_.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  }
  file_.seekp(position_);
  file_.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(n));
  if (!file_) return 0;
  file_.flush();
  position_ += n;
  return static_cast<int32_t>(n);
}

}  // namespace host
