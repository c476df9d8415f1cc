// The sample VEL character that the golden sheet files under tests/data are made of, and a
// document holder, shared by the sheet tool that writes those files and the tests.
#pragma once

#include <cstdint>
#include <vector>

#include "sistema/VELvisao.h"

namespace vel {

// A VEL document held as a host holds it: made through the sheet class with the one reference
// of its holder, which releases it at the end.
class Documento {
 public:
  Documento();
  ~Documento() { doc_->_Release(); }
  Documento(const Documento&) = delete;
  Documento& operator=(const Documento&) = delete;

  zarp::TZARPFicha1* operator->() const { return doc_; }
  zarp::TZARPFicha1& operator*() const { return *doc_; }

  // The document saved into, or loaded from, the substitute host's memory stream.
  std::vector<uint8_t> Salvar() const;
  void Carregar(const std::vector<uint8_t>& bytes) const;

 private:
  zarp::TZARPFicha1* doc_;
};

// Fills an empty document with the sample character: one record in each sheet dataset (level
// boxes "3" and "2"), two skills, two equipment items, one "DON" and one "Perícia", texts in the
// 8-bit code page and one description longer than 8192 characters. Its derived values are those
// that the equipment list computed.
void PreencherAmostra(zarp::TZARPFicha1& doc);

// The sample as an older program left it: the same character saved with derived values that no
// longer match their bases, which a load recomputes from the equipment list.
std::vector<uint8_t> BytesAmostraAntiga();

// What a host stores after opening a sheet and saving it again: the bytes loaded into a new
// document and saved.
std::vector<uint8_t> Regravar(const std::vector<uint8_t>& bytes);

}  // namespace vel
