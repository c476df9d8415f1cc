// Stream basics and the memory stream.
#include "runtime/Stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "runtime/Exception.h"

namespace rt {

namespace {
constexpr int64_t kMaxMemory = 0x7FFFFFFF;
}

TStream::~TStream() = default;

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, TSeekOrigin::Current);
  int64_t size = Seek(0, TSeekOrigin::End);
  Seek(pos, TSeekOrigin::Beginning);
  return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(u"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  char buf[8192];
  int64_t left = count;
  while (left > 0) {
    auto n = static_cast<int32_t>(std::min<int64_t>(left, sizeof buf));
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= n;
  }
  return count;
}

TMemoryStream::~TMemoryStream() {
  std::free(data_);
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
  if (position_ < 0 || count <= 0 || position_ >= size_) return 0;
  auto n = static_cast<int32_t>(std::min<int64_t>(count, size_ - position_));
  std::memcpy(buffer, data_ + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (position_ < 0 || count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > kMaxMemory) return 0;
  if (end > size_) {
    if (end > capacity_ && !Reserve(end)) return 0;
    // Writing past the end leaves the gap as zeros, never as stale bytes.
    if (position_ > size_) std::memset(data_ + size_, 0, static_cast<size_t>(position_ - size_));
    size_ = end;
  }
  std::memcpy(data_ + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::Beginning:
      position_ = offset;
      break;
    case TSeekOrigin::Current:
      position_ += offset;
      break;
    case TSeekOrigin::End:
      position_ = size_ + offset;
      break;
  }
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > kMaxMemory) return;
  if (size > capacity_ && !Reserve(size)) return;
  if (size > size_) std::memset(data_ + size_, 0, static_cast<size_t>(size - size_));
  size_ = size;
  if (position_ > size_) position_ = size_;
}

void TMemoryStream::Clear() {
  std::free(data_);
  data_ = nullptr;
  size_ = capacity_ = position_ = 0;
}

bool TMemoryStream::Reserve(int64_t capacity) {
  // Round up to 8 KiB blocks once past the first few hundred bytes, so appending stays linear.
  int64_t want =
      capacity < 256 ? capacity : std::min(kMaxMemory, (capacity + 8191) & ~int64_t{8191});
  want = std::max(want, std::min(kMaxMemory, capacity_ + capacity_ / 4));
  void* p = std::realloc(data_, static_cast<size_t>(want));
  if (!p) return false;
  data_ = static_cast<char*>(p);
  capacity_ = want;
  return true;
}

}  // namespace rt
