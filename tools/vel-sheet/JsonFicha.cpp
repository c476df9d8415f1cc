// Sheet sections to JSON and back, with a clear message for every value that does not fit.
#include "tools/vel-sheet/JsonFicha.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"

namespace vel::ferramenta {

using Json = nlohmann::ordered_json;

std::string AnsiParaUtf8(std::string_view ansi) {
  return rt::Utf16ToUtf8(rt::FromAnsi(ansi));
}

std::string Utf8ParaAnsi(std::string_view utf8, const std::string& onde) {
  const std::u16string texto = rt::Utf8ToUtf16(utf8);
  std::string ansi = rt::ToAnsi(texto);
  if (rt::FromAnsi(ansi) != texto)
    throw EJsonFicha(onde + ": the text has characters that the sheet's 8-bit code page lacks");
  return ansi;
}

namespace {

// Currency: a 64-bit count of ten-thousandths, written as an exact decimal text.
std::string TextoMoeda(int64_t v) {
  const bool negativo = v < 0;
  const uint64_t a = negativo ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  char texto[32];
  std::snprintf(texto, sizeof texto, "%s%llu.%04llu", negativo ? "-" : "",
                static_cast<unsigned long long>(a / 10000),
                static_cast<unsigned long long>(a % 10000));
  return texto;
}

[[noreturn]] void Falhar(const std::string& onde, const std::string& oQue, const Json& valor) {
  // A list or an object is named, not printed: it may nest deeper than is worth showing.
  std::string visto = valor.is_array() ? "a list" : valor.is_object() ? "an object" : valor.dump();
  if (visto.size() > 40) visto = visto.substr(0, 37) + "...";
  throw EJsonFicha(onde + ": expected " + oQue + ", found " + visto);
}

int64_t MoedaDeTexto(const std::string& texto, const std::string& onde, const Json& valor) {
  size_t i = 0;
  const bool negativo = !texto.empty() && texto[0] == '-';
  if (negativo) ++i;
  uint64_t inteiro = 0;
  int digitos = 0, decimais = 0;
  uint64_t fracao = 0;
  for (; i < texto.size() && texto[i] >= '0' && texto[i] <= '9'; ++i, ++digitos) {
    if (inteiro > (std::numeric_limits<uint64_t>::max() - 9) / 10)
      Falhar(onde, "a currency", valor);
    inteiro = inteiro * 10 + static_cast<uint64_t>(texto[i] - '0');
  }
  if (i < texto.size() && texto[i] == '.') {
    for (++i; i < texto.size() && texto[i] >= '0' && texto[i] <= '9'; ++i, ++decimais) {
      if (decimais == 4) Falhar(onde, "a currency of at most four decimals", valor);
      fracao = fracao * 10 + static_cast<uint64_t>(texto[i] - '0');
    }
  }
  if (i != texto.size() || digitos + decimais == 0)
    Falhar(onde, "a currency such as \"12.5000\"", valor);
  for (int d = decimais; d < 4; ++d) fracao *= 10;
  const uint64_t limite = negativo ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (inteiro > (limite - fracao) / 10000) Falhar(onde, "a currency within 64 bits", valor);
  const uint64_t total = inteiro * 10000 + fracao;
  return negativo ? static_cast<int64_t>(0 - total) : static_cast<int64_t>(total);
}

Json ValorParaJson(const rt::Variant& v, uint16_t tipo) {
  if (v.IsNull()) return nullptr;
  switch (tipo) {
    case rt::varSmallint:
    case rt::varInteger:
    case rt::varShortInt:
    case rt::varByte:
    case rt::varWord:
    case rt::varInt64:
      return v.AsInt64();
    case rt::varSingle:
    case rt::varDouble:
    case rt::varDate: {
      const double d = v.AsDouble();
      if (std::isnan(d)) return "NaN";
      if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
      return d;
    }
    case rt::varCurrency:
      return TextoMoeda(v.AsCurrency());
    case rt::varBoolean:
      return v.AsBoolean();
    case rt::varString:
    case rt::varArray:
      return AnsiParaUtf8(v.RawString());
    default:
      return true;
  }
}

rt::Variant InteiroDeJson(const Json& j, uint16_t tipo, const std::string& onde) {
  struct Faixa {
    int64_t min;
    uint64_t max;
    const char* nome;
  };
  Faixa f{};
  switch (tipo) {
    case rt::varSmallint:
      f = {INT16_MIN, INT16_MAX, "a whole number from -32768 to 32767"};
      break;
    case rt::varInteger:
      f = {INT32_MIN, INT32_MAX, "a 32-bit whole number"};
      break;
    case rt::varShortInt:
      f = {INT8_MIN, INT8_MAX, "a whole number from -128 to 127"};
      break;
    case rt::varByte:
      f = {0, UINT8_MAX, "a whole number from 0 to 255"};
      break;
    case rt::varWord:
      f = {0, UINT16_MAX, "a whole number from 0 to 65535"};
      break;
    default:
      f = {INT64_MIN, INT64_MAX, "a 64-bit whole number"};
      break;
  }
  if (j.is_number_unsigned()) {
    const auto u = j.get<uint64_t>();
    if (u > f.max) Falhar(onde, f.nome, j);
    return rt::Variant::OfInteger(tipo, static_cast<int64_t>(u));
  }
  if (!j.is_number_integer()) Falhar(onde, f.nome, j);
  const auto i = j.get<int64_t>();
  if (i < f.min || (i > 0 && static_cast<uint64_t>(i) > f.max)) Falhar(onde, f.nome, j);
  return rt::Variant::OfInteger(tipo, i);
}

rt::Variant ValorDeJson(const Json& j, uint16_t tipo, const std::string& onde) {
  if (j.is_null()) return rt::Variant::Null();
  switch (tipo) {
    case rt::varSmallint:
    case rt::varInteger:
    case rt::varShortInt:
    case rt::varByte:
    case rt::varWord:
    case rt::varInt64:
      return InteiroDeJson(j, tipo, onde);
    case rt::varSingle:
    case rt::varDouble:
    case rt::varDate: {
      double d;
      if (j.is_number()) {
        d = j.get<double>();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "NaN") {
        d = std::numeric_limits<double>::quiet_NaN();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "Infinity") {
        d = std::numeric_limits<double>::infinity();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "-Infinity") {
        d = -std::numeric_limits<double>::infinity();
      } else {
        Falhar(onde, "a number", j);
      }
      if (tipo == rt::varSingle && std::isfinite(d) &&
          std::fabs(d) > std::numeric_limits<float>::max())
        Falhar(onde, "a number that a single float holds", j);
      return rt::Variant::OfFloat(tipo, d);
    }
    case rt::varCurrency:
      if (j.is_string()) return rt::Variant::Currency(MoedaDeTexto(j.get<std::string>(), onde, j));
      // A number of units, read through its decimal text; the text is the exact form.
      if (j.is_number()) return rt::Variant::Currency(MoedaDeTexto(j.dump(), onde, j));
      Falhar(onde, "a currency such as \"12.5000\"", j);
    case rt::varBoolean:
      if (!j.is_boolean()) Falhar(onde, "true or false", j);
      return rt::Variant(j.get<bool>());
    case rt::varString:
    case rt::varArray:
      if (!j.is_string()) Falhar(onde, "a text", j);
      return rt::Variant(Utf8ParaAnsi(j.get_ref<const std::string&>(), onde));
    default:
      if (!(j.is_boolean() && j.get<bool>()))
        Falhar(onde, "true (a value without content) or null", j);
      return rt::Variant::Tagged(tipo);
  }
}

// Objects only when every column name is its own key.
bool NomesUnicos(const Secao& s) {
  std::set<std::string> nomes;
  for (const Coluna& c : s.colunas)
    if (!nomes.insert(c.nome).second) return false;
  return true;
}

const Json& Membro(const Json& objeto, const char* chave, const std::string& onde,
                   const char* oQue) {
  auto it = objeto.find(chave);
  if (it == objeto.end()) throw EJsonFicha(onde + ": \"" + chave + "\" is missing (" + oQue + ")");
  return *it;
}

}  // namespace

Json ParaJson(const std::vector<Secao>& secoes) {
  Json lista = Json::array();
  for (const Secao& s : secoes) {
    Json colunas = Json::array();
    for (const Coluna& c : s.colunas)
      colunas.push_back({{"name", AnsiParaUtf8(c.nome)}, {"type", c.tipo}});
    const bool objetos = NomesUnicos(s);
    Json registros = Json::array();
    for (const auto& r : s.registros) {
      Json registro = objetos ? Json::object() : Json::array();
      for (size_t i = 0; i < s.colunas.size(); ++i) {
        Json v = ValorParaJson(r[i], s.colunas[i].tipo);
        if (objetos)
          registro[AnsiParaUtf8(s.colunas[i].nome)] = std::move(v);
        else
          registro.push_back(std::move(v));
      }
      registros.push_back(std::move(registro));
    }
    lista.push_back({{"name", AnsiParaUtf8(s.nome)},
                     {"columns", std::move(colunas)},
                     {"records", std::move(registros)},
                     {"record_number", s.numeroRegistro}});
  }
  return Json{{"sections", std::move(lista)}};
}

std::vector<Secao> DeJson(const Json& json) {
  if (!json.is_object()) Falhar("the document", "an object with \"sections\"", json);
  const Json& lista = Membro(json, "sections", "the document", "the list of sections");
  if (!lista.is_array()) Falhar("sections", "a list", lista);
  std::vector<Secao> secoes;
  for (size_t n = 0; n < lista.size(); ++n) {
    const std::string ondeS = "sections[" + std::to_string(n) + "]";
    const Json& js = lista[n];
    if (!js.is_object()) Falhar(ondeS, "an object", js);
    for (const auto& [chave, _] : js.items())
      if (chave != "name" && chave != "columns" && chave != "records" && chave != "record_number")
        throw EJsonFicha(ondeS + ": unknown member \"" + chave + "\"");
    Secao s;
    const Json& nome = Membro(js, "name", ondeS, "the dataset's name");
    if (!nome.is_string()) Falhar(ondeS + ".name", "a text", nome);
    s.nome = Utf8ParaAnsi(nome.get_ref<const std::string&>(), ondeS + ".name");

    static const Json kVazia = Json::array();
    auto it = js.find("columns");
    const Json& colunas = it == js.end() ? kVazia : *it;
    if (!colunas.is_array()) Falhar(ondeS + ".columns", "a list", colunas);
    for (size_t i = 0; i < colunas.size(); ++i) {
      const std::string ondeC = ondeS + ".columns[" + std::to_string(i) + "]";
      const Json& jc = colunas[i];
      if (!jc.is_object()) Falhar(ondeC, "an object with \"name\" and \"type\"", jc);
      const Json& cn = Membro(jc, "name", ondeC, "the field's name");
      const Json& ct = Membro(jc, "type", ondeC, "the type code");
      if (!cn.is_string()) Falhar(ondeC + ".name", "a text", cn);
      if (!ct.is_number_unsigned() || ct.get<uint64_t>() > UINT16_MAX)
        Falhar(ondeC + ".type", "a type code from 0 to 65535", ct);
      s.colunas.push_back({Utf8ParaAnsi(cn.get_ref<const std::string&>(), ondeC + ".name"),
                           static_cast<uint16_t>(ct.get<uint64_t>())});
    }
    const bool objetos = NomesUnicos(s);

    it = js.find("records");
    const Json& registros = it == js.end() ? kVazia : *it;
    if (!registros.is_array()) Falhar(ondeS + ".records", "a list", registros);
    for (size_t r = 0; r < registros.size(); ++r) {
      const std::string ondeR = ondeS + ".records[" + std::to_string(r) + "]";
      const Json& jr = registros[r];
      std::vector<rt::Variant> registro(s.colunas.size(), rt::Variant::Null());
      if (jr.is_array()) {
        if (jr.size() != s.colunas.size())
          throw EJsonFicha(ondeR + ": " + std::to_string(jr.size()) + " values for " +
                           std::to_string(s.colunas.size()) + " columns");
        for (size_t i = 0; i < jr.size(); ++i)
          registro[i] =
              ValorDeJson(jr[i], s.colunas[i].tipo, ondeR + "[" + std::to_string(i) + "]");
      } else if (jr.is_object()) {
        if (!objetos)
          throw EJsonFicha(ondeR +
                           ": the section repeats a column name; give its records as lists");
        for (const auto& [chave, valor] : jr.items()) {
          size_t i = 0;
          while (i < s.colunas.size() && AnsiParaUtf8(s.colunas[i].nome) != chave) ++i;
          if (i == s.colunas.size())
            throw EJsonFicha(ondeR + ": \"" + chave + "\" is not a column of the section");
          registro[i] = ValorDeJson(valor, s.colunas[i].tipo, ondeR + "." + chave);
        }
      } else {
        Falhar(ondeR, "an object or a list of values", jr);
      }
      s.registros.push_back(std::move(registro));
    }

    it = js.find("record_number");
    if (it == js.end()) {
      s.numeroRegistro = static_cast<int32_t>(s.registros.size()) - 1;
    } else {
      if (!it->is_number_integer() ||
          (it->is_number_unsigned() && it->get<uint64_t>() > INT32_MAX) ||
          it->get<int64_t>() < INT32_MIN || it->get<int64_t>() > INT32_MAX)
        Falhar(ondeS + ".record_number", "a 32-bit whole number", *it);
      s.numeroRegistro = static_cast<int32_t>(it->get<int64_t>());
    }
    if (s.colunas.size() > static_cast<size_t>(INT32_MAX) ||
        s.registros.size() > static_cast<size_t>(INT32_MAX))
      throw EJsonFicha(ondeS + ": too large for a sheet stream");
    secoes.push_back(std::move(s));
  }
  return secoes;
}

std::vector<Secao> DeTextoJson(std::string_view texto) {
  Json json;
  try {
    json = Json::parse(texto);
  } catch (const Json::exception& e) {  // a syntax error, or a number beyond any double
    throw EJsonFicha(std::string("not readable as JSON: ") + e.what());
  }
  return DeJson(json);
}

}  // namespace vel::ferramenta
