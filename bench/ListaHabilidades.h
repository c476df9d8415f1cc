// The VEL sheet's skills list (DATAA5: sksty, pgref, habilname, eqpdef) filled with made-up
// records, and the floor that the sheet format sets for saving and loading it: the host-stream
// calls of the format (one per count, string and value), issued with the values at hand. The
// native benchmark and the Windows benchmark of the DLL share it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "modulo/ZARPModulo.h"

namespace bench {

using Bytes = std::vector<uint8_t>;

inline constexpr int kTamanhosLista[] = {1000, 10000, 100000, 1000000};
inline constexpr std::string_view kLista = "DATAA5";

struct TColunaPiso {
  std::string_view nome;
  uint16_t tipo;
};
// The columns as the sheet writes them: name and type code, in field order.
inline constexpr TColunaPiso kColunas[] = {
    {"sksty", 256}, {"pgref", 3}, {"habilname", 256}, {"eqpdef", 256}};

// One record's values. Every field is present: the sheet's own lists have no empty cells.
struct THabilidade {
  std::string_view sksty, habilname, eqpdef;
  int32_t pgref;
};

// Record i of the made-up list; its texts are written into `texto`, reused from call to call.
// About 80 bytes per record in the stream, as a real character's skills take.
inline THabilidade GerarHabilidade(int i, std::string& texto) {
  texto.clear();
  texto += static_cast<char>('A' + i % 26);
  texto += static_cast<char>('0' + i % 10);
  const size_t a = texto.size();
  texto += "Habilidade de combate ";
  texto += std::to_string(i);
  const size_t b = texto.size();
  texto += "Escudo de madeira reforcado (defesa ";
  texto += std::to_string(i % 97);
  texto += ")";
  std::string_view t = texto;
  return {t.substr(0, a), t.substr(a, b - a), t.substr(b), i % 1000};
}

// The whole list made up front, so that the floor has nothing to compute while it is timed.
class THabilidades {
 public:
  explicit THabilidades(int n) {
    std::string t;
    std::vector<size_t> cortes;
    cortes.reserve(static_cast<size_t>(n) * 3);
    pgref_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      THabilidade h = GerarHabilidade(i, t);
      for (std::string_view s : {h.sksty, h.habilname, h.eqpdef}) {
        cortes.push_back(texto_.size());
        texto_ += s;
      }
      pgref_.push_back(h.pgref);
    }
    cortes.push_back(texto_.size());
    cortes_ = std::move(cortes);
  }
  int Count() const { return static_cast<int>(pgref_.size()); }
  THabilidade operator()(int i) const {
    auto k = static_cast<size_t>(i) * 3;
    return {Texto(k), Texto(k + 1), Texto(k + 2), pgref_[static_cast<size_t>(i)]};
  }

 private:
  std::string_view Texto(size_t k) const {
    return std::string_view(texto_).substr(cortes_[k], cortes_[k + 1] - cortes_[k]);
  }
  std::string texto_;
  std::vector<size_t> cortes_;
  std::vector<int32_t> pgref_;
};

// --- The floor of saving
// --------------------------------------------------------------------------

inline void PisoInt32(zarp::IZARPStream* st, int32_t v) {
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                  static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  st->Write(b, 4);
}

inline void PisoTexto(zarp::IZARPStream* st, std::string_view s) {
  PisoInt32(st, static_cast<int32_t>(s.size()));
  st->Write(s.data(), static_cast<int32_t>(s.size()));
}

// The section names of a saved empty sheet, in the order the sheet writes them.
inline std::vector<std::string> SecoesDaFichaVazia(const Bytes& vazia) {
  std::vector<std::string> nomes;
  size_t p = 0;
  auto int32 = [&] {
    int32_t v = 0;
    if (p + 4 <= vazia.size()) std::memcpy(&v, vazia.data() + p, 4);
    p += 4;
    return v;
  };
  while (p < vazia.size()) {
    auto n = static_cast<size_t>(int32());
    nomes.emplace_back(reinterpret_cast<const char*>(vazia.data() + p), n);
    p += n + 12;  // no columns, no records, record number -1
  }
  return nomes;
}

// Writes a sheet whose skills list holds `n` records (`registro(i)` gives the values of record
// i) and whose other datasets are empty, with exactly the calls and bytes of the sheet's own
// save: the same count placeholder written over at the end, one Write per presence byte, count,
// text and number.
template <class Fonte>
void EscreverFicha(zarp::IZARPStream* st, const std::vector<std::string>& secoes, int n,
                   const Fonte& registro) {
  static constexpr uint8_t kPresente = 1;
  for (const std::string& secao : secoes) {
    PisoTexto(st, secao);
    if (secao != kLista || n == 0) {
      PisoInt32(st, 0);
      PisoInt32(st, 0);
      PisoInt32(st, -1);
      continue;
    }
    PisoInt32(st, static_cast<int32_t>(std::size(kColunas)));
    for (const TColunaPiso& c : kColunas) {
      PisoTexto(st, c.nome);
      uint8_t tipo[2] = {static_cast<uint8_t>(c.tipo), static_cast<uint8_t>(c.tipo >> 8)};
      st->Write(tipo, 2);
    }
    const int64_t contagem = st->GetPosition();
    PisoInt32(st, 0);
    for (int i = 0; i < n; ++i) {
      const THabilidade h = registro(i);
      st->Write(&kPresente, 1);
      PisoTexto(st, h.sksty);
      st->Write(&kPresente, 1);
      PisoInt32(st, h.pgref);
      st->Write(&kPresente, 1);
      PisoTexto(st, h.habilname);
      st->Write(&kPresente, 1);
      PisoTexto(st, h.eqpdef);
    }
    const int64_t fim = st->GetPosition();
    st->SetPosition(contagem);
    PisoInt32(st, n);
    st->SetPosition(fim);
    PisoInt32(st, n - 1);
  }
}

// --- The floor of loading
// -------------------------------------------------------------------------

inline volatile int64_t gDescartados = 0;

// Walks a sheet stream from position 0 as the sheet's load walks it, with the format's reads one
// call per item (a count, then the bytes it counts) into values at hand; answers the number of
// records read.
inline int64_t PisoLer(zarp::IZARPStream* st) {
  auto int32 = [st] {
    int32_t v = 0;
    st->Read(&v, 4);
    return v;
  };
  std::string texto;
  auto ler = [&] {
    texto.resize(static_cast<size_t>(int32()));
    st->Read(texto.data(), static_cast<int32_t>(texto.size()));
  };
  int64_t registros = 0, soma = 0;
  std::vector<uint16_t> tipos;
  st->SetPosition(0);
  while (st->GetSize() - st->GetPosition() > 0) {
    ler();
    tipos.resize(static_cast<size_t>(int32()));
    for (uint16_t& t : tipos) {
      ler();
      st->Read(&t, 2);
    }
    const int32_t r = int32();
    for (int32_t i = 0; i < r; ++i) {
      for (uint16_t t : tipos) {
        uint8_t presente = 0;
        st->Read(&presente, 1);
        if (!presente) continue;
        if (t == 256) {
          ler();
          soma += texto.size();
        } else {
          soma += int32();
        }
      }
    }
    registros += r;
    soma += int32();
  }
  gDescartados = soma;  // the values are read, and kept from being optimised away
  return registros;
}

}  // namespace bench
