// The comparison of a stream with what the sheet saves after loading it.
#include "tools/vel-sheet/Verificacao.h"

#include <deque>
#include <map>

#include "runtime/Exception.h"
#include "tools/vel-sheet/JsonFicha.h"

namespace vel::ferramenta {

namespace {

// Dataset and field names match as the loader matches them: ASCII letters in any case.
std::string Chave(std::string_view nome) {
  std::string k(nome);
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

int IndiceColuna(const Secao& s, std::string_view nome) {
  for (size_t i = 0; i < s.colunas.size(); ++i)
    if (Chave(s.colunas[i].nome) == Chave(nome)) return static_cast<int>(i);
  return -1;
}

bool Iguais(const rt::Variant& dado, const rt::Variant& guardado) {
  if (dado.IsNull() || guardado.IsNull()) return dado.IsNull() == guardado.IsNull();
  if (dado.Type() == guardado.Type()) return dado == guardado;
  try {
    return dado.ChangeType(guardado.Type()) == guardado;
  } catch (const std::exception&) {
    return false;
  }
}

std::string Lugar(const Secao& s, size_t registro, const Coluna& c) {
  return AnsiParaUtf8(s.nome) + ", record " + std::to_string(registro + 1) + ", field " +
         AnsiParaUtf8(c.nome);
}

}  // namespace

Verificacao Verificar(const sessao::TBiblioteca& biblioteca, const std::vector<Secao>& secoes,
                      const Bytes& bytes) {
  Verificacao v;
  rt::ComPtr<zarp::IZARPFicha> ficha = biblioteca.CriarFicha();
  sessao::ResultadoCarga carga = sessao::Carregar(ficha.Get(), bytes);
  v.carregou = carga.ok;
  v.falha = carga.falha.mensagem;
  v.salvo = sessao::Salvar(ficha.Get());
  const std::vector<Secao> guardadas = LerSecoes(v.salvo).secoes;

  // The boxes come in stream order, one per refused value: "Carregando field <name>: <why>".
  std::deque<std::string> caixas(carga.caixas.begin(), carga.caixas.end());
  const std::string kPrefixo = "Carregando field ";

  std::map<std::string, size_t> jaCarregados;  // records a dataset took from earlier sections
  for (const Secao& s : secoes) {
    const Secao* g = nullptr;
    for (const Secao& candidata : guardadas)
      if (Chave(candidata.nome) == Chave(s.nome)) g = &candidata;
    if (!g) {
      v.achados.push_back("section " + AnsiParaUtf8(s.nome) +
                          ": no dataset of the sheet has this name; " +
                          std::to_string(s.registros.size()) + " record" +
                          (s.registros.size() == 1 ? " is" : "s are") + " dropped");
      continue;
    }
    size_t& base = jaCarregados[Chave(s.nome)];
    if (s.registros.empty()) continue;
    std::vector<int> destino;
    for (const Coluna& c : s.colunas) {
      destino.push_back(IndiceColuna(*g, c.nome));
      if (destino.back() < 0)
        v.achados.push_back(AnsiParaUtf8(s.nome) + ", column " + AnsiParaUtf8(c.nome) +
                            ": no stored field of the dataset has this name; its values are "
                            "dropped");
    }
    for (size_t r = 0; r < s.registros.size(); ++r) {
      const size_t rg = base + r;
      if (rg >= g->registros.size()) break;  // a load that failed part way
      for (size_t c = 0; c < s.colunas.size(); ++c) {
        if (destino[c] < 0) continue;
        const auto oc = static_cast<size_t>(destino[c]);
        const rt::Variant& dado = s.registros[r][c];
        const rt::Variant& guardado = g->registros[rg][oc];
        if (Iguais(dado, guardado)) continue;
        const std::string prefixo = kPrefixo + AnsiParaUtf8(g->colunas[oc].nome) + ": ";
        if (!caixas.empty() && caixas.front().rfind(prefixo, 0) == 0) {
          v.achados.push_back(Lugar(s, r, s.colunas[c]) + ": " +
                              caixas.front().substr(prefixo.size()));
          caixas.pop_front();
        } else if (dado.Type() == rt::varString && guardado.Type() == rt::varString &&
                   dado.RawString().rfind(guardado.RawString(), 0) == 0) {
          v.achados.push_back(Lugar(s, r, s.colunas[c]) + ": a text of " +
                              std::to_string(dado.RawString().size()) + " characters is cut to " +
                              std::to_string(guardado.RawString().size()));
        }
        // Any other difference is a value the sheet derives, recomputed by the load.
      }
    }
    base += s.registros.size();
  }
  for (const std::string& c : caixas) v.achados.push_back(c);
  return v;
}

}  // namespace vel::ferramenta
