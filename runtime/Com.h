// COM basics shared by the library and every host: GUIDs, the base interface, the calling convention.
// Interfaces that cross to a host are pure abstract structs with no virtual destructor, so their
// layout is the COM layout on 32-bit Windows.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ZARP_STDCALL __stdcall
#else
#define ZARP_STDCALL
#endif

namespace rt {

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};

using HRESULT = int32_t;
inline constexpr HRESULT kOk = 0;
inline constexpr HRESULT kNoInterface = static_cast<HRESULT>(0x80004002u);

// {00000000-0000-0000-C000-000000000046}
inline constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000,
                                      {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
  virtual HRESULT ZARP_STDCALL QueryInterface(const GUID& iid, void** obj) = 0;
  virtual uint32_t ZARP_STDCALL AddRef() = 0;
  virtual uint32_t ZARP_STDCALL Release() = 0;
};

// Atomic reference-count steps: the Windows interlocked operations on Windows, std::atomic
// elsewhere. Both return the new value.
int32_t InterlockedInc(int32_t* target);
int32_t InterlockedDec(int32_t* target);

// A counted reference that adds one reference when it takes a pointer and releases it when it
// lets go; the library's stored host pointers live in these.
template <class I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(I* p) : p_(p) {  // NOLINT: implicit by design
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr o) noexcept {
    I* old = p_;
    p_ = o.p_;
    o.p_ = old;
    return *this;
  }
  void Reset() {
    I* old = p_;
    p_ = nullptr;
    if (old) old->Release();
  }
  // Takes over a reference that the caller already owns (for example from QueryInterface).
  static ComPtr Adopt(I* p) {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  I* Get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

}  // namespace rt
