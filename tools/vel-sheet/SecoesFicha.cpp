// The sheet tool's reading and writing of whole sections, over the library's stream primitives.
#include "tools/vel-sheet/SecoesFicha.h"

#include "ficha/ZARPStreamUtils.h"
#include "host/Streams.h"
#include "runtime/Exception.h"
#include "runtime/Interfaced.h"

namespace vel::ferramenta {

bool TemCodificacao(uint16_t tipo) {
  switch (tipo) {
    case rt::varSmallint:
    case rt::varInteger:
    case rt::varSingle:
    case rt::varDouble:
    case rt::varCurrency:
    case rt::varDate:
    case rt::varBoolean:
    case rt::varShortInt:
    case rt::varByte:
    case rt::varWord:
    case rt::varInt64:
    case rt::varString:
    case rt::varArray:
      return true;
    default:
      return false;
  }
}

namespace {

// A value as the stream holds it. The library's reader hands on null for a present value of a
// code without an encoding; the tool keeps that it was present, so the bytes come back the same.
rt::Variant LerValor(zarp::TLeitorStream& leitor, uint16_t tipo) {
  rt::Variant valor;
  if (TemCodificacao(tipo)) {
    zarp::LerValorCampo(leitor, tipo, valor);
    return valor;
  }
  return leitor.LerByte() == 0 ? rt::Variant::Null() : rt::Variant::Tagged(tipo);
}

}  // namespace

Leitura LerSecoes(const Bytes& bytes) {
  Leitura leitura;
  auto stream = rt::MakeCounted<host::TMemoryStream>(bytes);
  zarp::TLeitorStream leitor(stream.Get());
  leitor.Sincronizar(static_cast<int64_t>(bytes.size()));
  const auto total = static_cast<int64_t>(bytes.size());
  while (leitor.Restantes() > 0) {
    Dano dano;
    dano.offset = total - leitor.Restantes();
    Secao secao;
    bool nomeLido = false;
    try {
      secao.nome = zarp::LerString(leitor);
      nomeLido = true;
      dano.secao = secao.nome;
      const int32_t f = leitor.LerInt32();
      leitor.ExigirItens(f, 6, 8, u"columns");
      for (int32_t i = 0; i < f; ++i) {
        Coluna c;
        c.nome = zarp::LerString(leitor);
        c.tipo = leitor.LerUInt16();
        secao.colunas.push_back(std::move(c));
      }
      const int32_t r = leitor.LerInt32();
      dano.registros = r;
      zarp::ExigirRegistros(leitor, r, f);
      secao.registros.reserve(static_cast<size_t>(r));
      for (int32_t i = 0; i < r; ++i) {
        std::vector<rt::Variant> registro;
        registro.reserve(secao.colunas.size());
        for (const Coluna& c : secao.colunas) registro.push_back(LerValor(leitor, c.tipo));
        secao.registros.push_back(std::move(registro));
        dano.registrosLidos = i + 1;
      }
      secao.numeroRegistro = leitor.LerInt32();
    } catch (const std::exception& e) {
      if (!nomeLido) dano.secao.clear();
      dano.mensagem = e.what();
      leitura.dano = std::move(dano);
      return leitura;
    }
    leitura.secoes.push_back(std::move(secao));
  }
  return leitura;
}

Bytes EscreverSecoes(const std::vector<Secao>& secoes) {
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  for (const Secao& s : secoes) {
    zarp::EscreverString(stream.Get(), s.nome);
    zarp::EscreverInt32(stream.Get(), static_cast<int32_t>(s.colunas.size()));
    for (const Coluna& c : s.colunas) {
      zarp::EscreverString(stream.Get(), c.nome);
      zarp::EscreverUInt16(stream.Get(), c.tipo);
    }
    zarp::EscreverInt32(stream.Get(), static_cast<int32_t>(s.registros.size()));
    for (const auto& registro : s.registros)
      for (size_t i = 0; i < s.colunas.size(); ++i)
        zarp::EscreverValor(stream.Get(), s.colunas[i].tipo, registro.at(i));
    zarp::EscreverInt32(stream.Get(), s.numeroRegistro);
  }
  return stream->Bytes();
}

}  // namespace vel::ferramenta
