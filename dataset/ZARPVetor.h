// A growable array that is one pointer wide while empty and holds its length in its own block:
// what a stored record keeps per kind of slot (calculated values, blob streams), most of which a
// table never uses. A million records of a table without calculated or blob fields then pay two
// pointers each for them instead of two vectors.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace zarp {

template <class T>
class TVetor {
 public:
  TVetor() = default;
  TVetor(size_t n, const T& valor) {
    Construir(n, [&](T* p, size_t) { new (p) T(valor); });
  }
  TVetor(const TVetor& o) {
    Construir(o.size(), [&](T* p, size_t i) { new (p) T(o[i]); });
  }
  TVetor(TVetor&& o) noexcept : bloco_(std::exchange(o.bloco_, nullptr)) {}
  TVetor& operator=(const TVetor& o) {
    if (this != &o) {
      TVetor copia(o);
      swap(copia);
    }
    return *this;
  }
  TVetor& operator=(TVetor&& o) noexcept {
    TVetor tomado(std::move(o));
    swap(tomado);
    return *this;
  }
  ~TVetor() { clear(); }

  size_t size() const {
    return bloco_ ? *std::launder(reinterpret_cast<const size_t*>(bloco_)) : 0;
  }
  bool empty() const { return size() == 0; }
  T& operator[](size_t i) { return Itens()[i]; }
  const T& operator[](size_t i) const { return Itens()[i]; }
  T* begin() { return Itens(); }
  T* end() { return Itens() + size(); }
  const T* begin() const { return Itens(); }
  const T* end() const { return Itens() + size(); }

  void swap(TVetor& o) noexcept { std::swap(bloco_, o.bloco_); }
  // n copies of valor; the block is kept when the length stays.
  void assign(size_t n, const T& valor) {
    if (n == size()) {
      for (T& v : *this) v = valor;
      return;
    }
    TVetor novo(n, valor);
    swap(novo);
  }
  // The first n items kept (moved), any new ones default-constructed.
  void resize(size_t n) {
    const size_t atual = size();
    if (n == atual) return;
    TVetor novo;
    novo.Construir(n, [&](T* p, size_t i) {
      if (i < atual)
        new (p) T(std::move((*this)[i]));
      else
        new (p) T();
    });
    swap(novo);
  }
  void clear() {
    if (!bloco_) return;
    for (T& v : *this) v.~T();
    ::operator delete(bloco_);
    bloco_ = nullptr;
  }

 private:
  // The length, then the items, each where its alignment wants it.
  static constexpr size_t kCabeca = (sizeof(size_t) + alignof(T) - 1) / alignof(T) * alignof(T);
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

  T* Itens() const {
    return bloco_ ? std::launder(reinterpret_cast<T*>(bloco_ + kCabeca)) : nullptr;
  }

  // A block of n items made by `fazer`(where, index); nothing when n is 0. On a failure the items
  // made so far are destroyed and the block freed.
  template <class F>
  void Construir(size_t n, F&& fazer) {
    clear();
    if (n == 0) return;
    auto* bloco = static_cast<char*>(::operator new(kCabeca + n * sizeof(T)));
    T* itens = reinterpret_cast<T*>(bloco + kCabeca);
    size_t feitos = 0;
    try {
      for (; feitos < n; ++feitos) fazer(itens + feitos, feitos);
    } catch (...) {
      while (feitos) itens[--feitos].~T();
      ::operator delete(bloco);
      throw;
    }
    new (bloco) size_t(n);
    bloco_ = bloco;
  }

  char* bloco_ = nullptr;
};

}  // namespace zarp
