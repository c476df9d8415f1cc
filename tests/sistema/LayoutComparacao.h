// One line per control in a common notation, so that the transcription of the sheet's tables,
// the page's layout rows and the control tree of a real view can be compared line by line and a
// difference reads as the two lines that differ.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/Exception.h"
#include "sistema/VELlayout.h"
#include "tests/sistema/LayoutTranscricao.h"

namespace vel::test {

struct Controle {
  std::string tipo;  // image label edit memo panel frame checkbox grid
  std::string nome;  // the name; labels: their caption in quotes, "*" for a text of ours
  std::string pai;   // "-": the form; "(unnamed)": the black panel without a name
  int left = 0, top = 0, width = -1, height = -1;  // -1 x -1: a label sized to its caption
  std::string fonte;                               // "default" or "<face> <height> [bold] <colour>"
  std::string fundo;  // labels: "transparent" or a colour; panels: black, black-single, face
  std::string flags;  // sorted, comma separated
  int tab = -1;
  std::string dados;  // "Source.field"; grids: "Source CxR WxH Menu"

  std::string Texto() const {
    std::ostringstream o;
    o << tipo << ' ' << nome << " in " << pai << " at " << left << ',' << top;
    if (width >= 0) o << " size " << width << 'x' << height;
    if (!fonte.empty()) o << " font [" << fonte << ']';
    if (!fundo.empty()) o << " back " << fundo;
    if (!flags.empty()) o << " flags [" << flags << ']';
    if (tab >= 0) o << " tab " << tab;
    if (!dados.empty()) o << " data " << dados;
    return o.str();
  }
};

inline std::string NomeDaCor(ui::TColor c) {
  if (c == ui::clBlack) return "black";
  if (c == ui::clWhite) return "white";
  if (c == ui::clWindowText) return "clWindowText";
  char b[16];
  std::snprintf(b, sizeof b, "#%06X", static_cast<unsigned>(c));
  return b;
}

inline std::string Fonte(const std::string& face, int altura, bool negrito, ui::TColor cor) {
  return face + ' ' + std::to_string(altura) + (negrito ? " bold " : " ") + NomeDaCor(cor);
}

inline std::string Juntar(std::set<std::string> partes) {
  std::string s;
  for (const std::string& p : partes) s += (s.empty() ? "" : ",") + p;
  return s;
}

// "-16 bold Times New Roman", "-13 clWindowText", "default": a font as the tables write it.
inline std::string FonteDaTabela(const std::string& texto) {
  if (texto == "default") return "default";
  std::istringstream in(texto);
  int altura = 0;
  in >> altura;
  bool negrito = false;
  ui::TColor cor = ui::clBlack;
  std::string face = "Tahoma", palavra, resto;
  while (in >> palavra) {
    if (palavra == "bold")
      negrito = true;
    else if (palavra == "clWindowText")
      cor = ui::clWindowText;
    else
      resto += (resto.empty() ? "" : " ") + palavra;
  }
  if (!resto.empty()) face = resto;
  return Fonte(face, altura, negrito, cor);
}

// The label styles: W white bold transparent, S a black bold "/" on an opaque white box,
// B black bold transparent; the credits' white bold texts on black.
inline void EstiloDaTabela(const std::string& estilo, Controle& c) {
  const int altura = -std::stoi(estilo.substr(estilo.find_first_of("0123456789")));
  if (estilo[0] == 'W') {
    c.fonte = Fonte("Tahoma", altura, true, ui::clWhite);
    c.fundo = "transparent";
  } else if (estilo[0] == 'S') {
    c.fonte = Fonte("Tahoma", altura, true, ui::clBlack);
    c.fundo = "white";
  } else if (estilo[0] == 'B') {
    c.fonte = Fonte("Tahoma", altura, true, ui::clBlack);
    c.fundo = "transparent";
  } else {  // white-15-on-black
    c.fonte = Fonte("Tahoma", altura, true, ui::clWhite);
    c.fundo = "black";
  }
}

inline std::set<std::string> FlagsDaTabela(const std::string& texto) {
  std::set<std::string> s;
  size_t a = 0;
  while (a < texto.size()) {
    size_t b = texto.find(',', a);
    if (b == std::string::npos) b = texto.size();
    std::string f = texto.substr(a, b - a);
    f.erase(0, f.find_first_not_of(' '));
    if (!f.empty() && f != "-") s.insert(f);
    a = b + 1;
  }
  return s;
}

// "<44>Conjunto<47>": <n> stands for n spaces.
inline std::string Espacos(const std::string& texto) {
  std::string s;
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '<' && i + 1 < texto.size() &&
        std::isdigit(static_cast<unsigned char>(texto[i + 1]))) {
      size_t fim = texto.find('>', i);
      s.append(static_cast<size_t>(std::stoi(texto.substr(i + 1, fim - i - 1))), ' ');
      i = fim;
    } else {
      s += texto[i];
    }
  }
  return s;
}

inline std::vector<Controle> LerTranscricao() {
  std::vector<Controle> r;
  std::istringstream linhas(kTranscricao);
  std::string linha;
  while (std::getline(linhas, linha)) {
    if (linha.empty()) continue;
    Controle c;
    std::istringstream in(linha);
    in >> c.tipo;
    if (c.tipo == "label") {
      in >> std::ws;
      if (in.peek() == '"') {
        std::string cap;
        in.get();
        std::getline(in, cap, '"');
        c.nome = '"' + Espacos(cap) + '"';
      } else {
        in >> c.nome;
      }
    } else {
      in >> c.nome;
    }
    in >> c.pai >> c.left >> c.top;
    auto colchete = [&in] {
      in >> std::ws;
      std::string s;
      if (in.get() != '[') throw std::runtime_error("expected [");
      std::getline(in, s, ']');
      return s;
    };
    if (c.tipo == "label") {
      std::string a;
      in >> a;
      if (a.find('x') != std::string::npos && std::isdigit(static_cast<unsigned char>(a[0]))) {
        c.width = std::stoi(a);
        c.height = std::stoi(a.substr(a.find('x') + 1));
        c.flags = "fixed size";
        in >> a;
      }
      EstiloDaTabela(a, c);
    } else if (c.tipo == "image") {
      in >> c.width >> c.height;
    } else if (c.tipo == "edit" || c.tipo == "memo") {
      in >> c.width >> c.height;
      c.fonte = FonteDaTabela(colchete());
      std::set<std::string> flags = FlagsDaTabela(colchete());
      // "white" is the edit's colour, not a flag.
      if (flags.erase("white")) c.fundo = "white";
      c.flags = Juntar(flags);
      in >> c.tab >> c.dados;
    } else if (c.tipo == "panel") {
      std::string cor;
      in >> c.width >> c.height >> cor >> c.tab;
      c.fundo = cor == "black,single" ? "black-single" : cor;
    } else if (c.tipo == "frame") {
      in >> c.width >> c.height;
      c.fundo = "face";
    } else if (c.tipo == "checkbox") {
      in >> c.width >> c.height >> c.tab;
      c.fundo = "black";
      c.flags = "cross-hair";
    } else if (c.tipo == "grid") {
      std::string fonte, cr, painel, menu;
      in >> c.width >> c.height >> fonte >> cr >> painel >> menu >> c.tab;
      c.dados = fonte + ' ' + cr + ' ' + painel + ' ' + menu;
      c.fundo = "black";
      c.flags = "cross-hair";
    }
    if (in.fail()) throw std::runtime_error("bad transcription line: " + linha);
    r.push_back(c);
  }
  return r;
}

// A layout row in the common notation.
inline Controle DaLinha(const zarp::vel::Linha& l) {
  using namespace zarp::vel;
  Controle c;
  const std::string nome = rt::Utf16ToUtf8(l.Nome);
  auto pai = [](std::u16string_view p) {
    if (p.empty()) return std::string("-");
    const Linha* dono = nullptr;
    for (const Linha& x : kPagina)
      if (x.Referencia() == p) dono = &x;
    if (dono && dono->Nome.empty()) return std::string("(unnamed)");
    return rt::Utf16ToUtf8(p);
  };
  c.pai = pai(l.Pai);
  c.left = l.Left;
  c.top = l.Top;
  c.width = l.Width;
  c.height = l.Height;
  auto fonte = [](const zarp::vel::FonteControle& f) {
    if (f.Padrao()) return std::string("default");
    return Fonte(rt::Utf16ToUtf8(f.Nome), f.Altura, f.Negrito, f.Cor);
  };
  std::set<std::string> flags;
  if (l.Flags & kSemBorda) flags.insert("no border");
  if (l.Flags & kDireitaEsquerda) flags.insert("right-to-left");
  if (l.Flags & kDesabilitado) flags.insert("disabled");
  if (l.Flags & kSomenteLeitura) flags.insert("read-only");
  if (l.Flags & kBarraVertical) flags.insert("vertical scroll bar");
  if (l.Flags & kCruz) flags.insert("cross-hair");
  if (l.Flags & kTamanhoFixo) flags.insert("fixed size");
  c.flags = Juntar(flags);
  c.tab = l.Tab;
  switch (l.Tipo) {
    case TipoControle::Imagem:
      c.tipo = "image";
      c.nome = nome;
      break;
    case TipoControle::Rotulo:
      c.tipo = "label";
      c.nome = l.Flags & kTamanhoFixo ? "*" : '"' + rt::Utf16ToUtf8(l.Texto) + '"';
      if (!(l.Flags & kTamanhoFixo)) c.width = c.height = -1;
      c.fonte = fonte(l.Fonte);
      c.fundo = l.Cor ? NomeDaCor(*l.Cor) : "transparent";
      break;
    case TipoControle::Edit:
    case TipoControle::Memo:
      c.tipo = l.Tipo == TipoControle::Edit ? "edit" : "memo";
      c.nome = nome;
      c.fonte = fonte(l.Fonte);
      if (l.Cor) c.fundo = NomeDaCor(*l.Cor);
      c.dados = rt::Utf16ToUtf8(l.FonteDados) + '.' + rt::Utf16ToUtf8(l.Campo);
      break;
    case TipoControle::Painel:
      c.tipo = l.Cor ? "panel" : "frame";
      c.nome = l.Nome.empty() ? "(unnamed)" : nome;
      c.fundo = !l.Cor ? "face" : (l.Flags & kBordaSimples) ? "black-single" : NomeDaCor(*l.Cor);
      break;
    case TipoControle::CheckBox:
      c.tipo = "checkbox";
      c.nome = nome;
      c.fundo = NomeDaCor(*l.Cor);
      break;
    case TipoControle::Grade:
      c.tipo = "grid";
      c.nome = nome;
      c.fundo = NomeDaCor(*l.Cor);
      c.dados = rt::Utf16ToUtf8(l.FonteDados) + ' ' + std::to_string(l.Colunas) + 'x' +
                std::to_string(l.Linhas) + ' ' + std::to_string(l.PainelLargura) + 'x' +
                std::to_string(l.PainelAltura) + ' ' + rt::Utf16ToUtf8(l.Menu);
      break;
  }
  return c;
}

// Compares two lists line by line; each difference is one failure naming both lines.
inline void CompararListas(const std::vector<Controle>& esperado,
                           const std::vector<Controle>& obtido) {
  const size_t n = std::min(esperado.size(), obtido.size());
  for (size_t i = 0; i < n; ++i) EXPECT_EQ(esperado[i].Texto(), obtido[i].Texto()) << "row " << i;
  EXPECT_EQ(esperado.size(), obtido.size());
}

}  // namespace vel::test
