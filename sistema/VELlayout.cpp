// The rows of the VEL page, region by region, each in the order its controls are created. The
// helpers below put a row's columns in the order a reader checks them: name, field, position,
// size, font, flags, tab number, data source.
#include "sistema/VELlayout.h"

#include <string>

namespace zarp::vel {
namespace {

constexpr std::u16string_view DS1 = u"DataSourceDATAA1";
constexpr std::u16string_view DS2 = u"DataSourceDATAA2";
constexpr std::u16string_view DS3 = u"DataSourceDATAA3";
constexpr std::u16string_view DS4 = u"DataSourceDATAA4";
constexpr std::u16string_view DS5 = u"DataSourceDATAA5";
constexpr std::u16string_view DS6 = u"DataSourceDATAA6";
constexpr std::u16string_view DS7 = u"DataSourceDATAA7";
constexpr std::u16string_view DS8 = u"DataSourceDATAA8";
constexpr std::u16string_view DS9 = u"DataSourceDATAA9";

// The key the "Oficios" rows use for the black panel that has no name.
constexpr std::u16string_view kSemNome = u"(Oficios: painel sem nome)";

constexpr int FiguraDe(std::u16string_view imagem) {
  for (size_t i = 0; i < kFiguras.size(); ++i)
    if (kFiguras[i].Imagem == imagem) return static_cast<int>(i);
  return -1;
}

constexpr Linha Imagem(std::u16string_view nome, int left, int top, int width, int height,
                       FlagsControle flags = 0) {
  return {.Tipo = TipoControle::Imagem,
          .Nome = nome,
          .Left = left,
          .Top = top,
          .Width = width,
          .Height = height,
          .Flags = flags,
          .Figura = FiguraDe(nome)};
}

constexpr Linha Rotulo(std::u16string_view texto, int left, int top, const Estilo& estilo,
                       std::u16string_view pai = {}) {
  return {.Tipo = TipoControle::Rotulo,
          .Pai = pai,
          .Left = left,
          .Top = top,
          .Fonte = estilo.Texto,
          .Cor = estilo.Fundo,
          .Texto = texto};
}

// A label that keeps the size it is given (the credits panel's texts, named so that the view
// can find them).
constexpr Linha RotuloFixo(std::u16string_view nome, std::u16string_view texto, int left, int top,
                           int width, int height, const Estilo& estilo, std::u16string_view pai) {
  Linha l = Rotulo(texto, left, top, estilo, pai);
  l.Nome = nome;
  l.Width = width;
  l.Height = height;
  l.Flags = kTamanhoFixo;
  return l;
}

constexpr Linha Texto(TipoControle tipo, std::u16string_view nome, std::u16string_view campo,
                      int left, int top, int width, int height, const FonteControle& fonte,
                      FlagsControle flags, int tab, std::u16string_view dados,
                      std::u16string_view pai) {
  return {.Tipo = tipo,
          .Nome = nome,
          .Pai = pai,
          .Left = left,
          .Top = top,
          .Width = width,
          .Height = height,
          .Fonte = fonte,
          .Flags = flags,
          .Tab = tab,
          .FonteDados = dados,
          .Campo = campo};
}

constexpr Linha Edit(std::u16string_view nome, std::u16string_view campo, int left, int top,
                     int width, int height, const FonteControle& fonte, FlagsControle flags,
                     int tab, std::u16string_view dados, std::u16string_view pai = {}) {
  return Texto(TipoControle::Edit, nome, campo, left, top, width, height, fonte, flags, tab, dados,
               pai);
}

constexpr Linha Memo(std::u16string_view nome, std::u16string_view campo, int left, int top,
                     int width, int height, const FonteControle& fonte, FlagsControle flags,
                     int tab, std::u16string_view dados, std::u16string_view pai = {}) {
  return Texto(TipoControle::Memo, nome, campo, left, top, width, height, fonte, flags, tab, dados,
               pai);
}

// An edit of a grid's panel template with a white background.
constexpr Linha EditBranco(std::u16string_view nome, std::u16string_view campo, int left, int top,
                           int width, int height, const FonteControle& fonte, int tab,
                           std::u16string_view dados, std::u16string_view pai) {
  Linha l = Edit(nome, campo, left, top, width, height, fonte, 0, tab, dados, pai);
  l.Cor = ui::clWhite;
  return l;
}

// A black panel of the page (raised border, no caption of its own).
constexpr Linha Painel(std::u16string_view nome, int left, int top, int width, int height, int tab,
                       std::u16string_view pai = {}) {
  return {.Tipo = TipoControle::Painel,
          .Nome = nome,
          .Pai = pai,
          .Left = left,
          .Top = top,
          .Width = width,
          .Height = height,
          .Cor = ui::clBlack,
          .Tab = tab};
}

// A frame: a panel of the toolkit's grey face around an edit of a grid's panel template.
constexpr Linha Moldura(std::u16string_view nome, int left, int top, int width, int height,
                        std::u16string_view pai) {
  return {.Tipo = TipoControle::Painel,
          .Nome = nome,
          .Pai = pai,
          .Left = left,
          .Top = top,
          .Width = width,
          .Height = height};
}

constexpr Linha CheckBox(std::u16string_view nome, int left, int top, int tab) {
  return {.Tipo = TipoControle::CheckBox,
          .Nome = nome,
          .Left = left,
          .Top = top,
          .Width = 12,
          .Height = 17,
          .Cor = ui::clBlack,
          .Flags = kCruz,
          .Tab = tab};
}

constexpr Linha Grade(std::u16string_view nome, std::u16string_view dados, int left, int top,
                      int width, int height, int colunas, int linhas, int painelLargura,
                      int painelAltura, std::u16string_view menu, int tab) {
  return {.Tipo = TipoControle::Grade,
          .Nome = nome,
          .Left = left,
          .Top = top,
          .Width = width,
          .Height = height,
          .Cor = ui::clBlack,
          .Flags = kCruz,
          .Tab = tab,
          .FonteDados = dados,
          .Colunas = colunas,
          .Linhas = linhas,
          .PainelLargura = painelLargura,
          .PainelAltura = painelAltura,
          .Menu = menu};
}

constexpr FlagsControle SB = kSemBorda;
constexpr FlagsControle RL = kDireitaEsquerda;
constexpr FlagsControle DIS = kDesabilitado;
constexpr FlagsControle RO = kSomenteLeitura;
constexpr FlagsControle VS = kBarraVertical;

constexpr std::u16string_view kConjunto =
    u"                                            Conjunto"
    u"                                               ";
static_assert(kConjunto.size() == 44 + 8 + 47);

constexpr std::u16string_view kTextoAviso =
    u"Ficha não oficial, feita por fãs. O VEL-Sistema é de seus autores.";
constexpr std::u16string_view kTextoCreditos = u"Ficha VEL-Sistema — plug-in da equipe VELSistema";

// clang-format off
constexpr Linha kLinhas[] = {
    // Artwork.
    Imagem(u"Image5",  539,  48,  450, 324),
    Imagem(u"Image2",    0,  48,  545, 344),
    Imagem(u"Image1",   -4,  -2, 1354,  27, kCentro),
    Imagem(u"Image6",  576, -28,  200,  70),
    Imagem(u"Image3",    0, 870,  545, 252),
    Imagem(u"Image4",    1, 394,  544, 473),
    Imagem(u"Image7",  540, 655,  450,  35),

    // Character block: labels.
    Rotulo(u"Planilha de Personagem", 8, 60, W16),
    Rotulo(u"Capacidade", 8, 103, W16),
    Rotulo(u"Stamina", 57, 129, W16),
    Rotulo(u"Destreza", 57, 161, W16),
    Rotulo(u"Intelecto", 57, 190, W16),
    Rotulo(u"Carisma", 57, 217, W16),
    Rotulo(u"PV", 177, 103, W16),
    Rotulo(u"Eq", 406, 103, W16),
    Rotulo(u"Dl", 454, 103, W16),
    Rotulo(u"A/a", 497, 103, W16),
    Rotulo(u"O", 171, 164, W16),
    Rotulo(u"B", 172, 182, W16),
    Rotulo(u"S", 172, 201, W16),
    Rotulo(u"Teste Base", 394, 157, W16),
    Rotulo(u"Fortitude", 454, 182, W16),
    Rotulo(u"Vontade", 454, 217, W16),
    Rotulo(u"Vitalidade", 153, 255, W16),
    Rotulo(u"Machucado / Cansado", 13, 283, W16),
    Rotulo(u"Ferido / Fatigado", 16, 319, W16),
    Rotulo(u"Incapacitado / Exausto", 16, 353, W16),
    Rotulo(u"(-1)", 346, 283, W16),
    Rotulo(u"(-2)", 346, 319, W16),
    Rotulo(u"(-3)", 346, 353, W16),
    Rotulo(u"PV", 392, 254, W16),
    Rotulo(u"/", 462, 59, S16),
    Rotulo(u"/", 296, 100, S16),
    Rotulo(u"/", 296, 131, S16),

    // Character block: controls.
    Edit(u"DBEdit1",  u"superior1", 428,  59, 28, 23, kB16Times, SB | RL, 0, DS1),
    Edit(u"DBEdit2",  u"superior2", 477,  59, 28, 23, kB16Times, SB | RL, 1, DS1),
    Edit(u"DBEdit3",  u"stamina",     7, 125, 41, 27, kB16, 0, 2, DS1),
    Edit(u"DBEdit4",  u"destreza",    7, 153, 41, 27, kB16, 0, 3, DS1),
    Edit(u"DBEdit5",  u"intelecto",   7, 182, 41, 27, kB16, 0, 4, DS1),
    Edit(u"DBEdit6",  u"carisma",     7, 210, 41, 27, kB16, 0, 5, DS1),
    Edit(u"DBEdit7",  u"pva",       215, 100, 82, 20, kB16, SB | RL, 6, DS1),
    Edit(u"DBEdit8",  u"pvb",       304, 100, 82, 20, kB16, SB | RL, 7, DS1),
    Edit(u"DBEdit9",  u"pxm",       166, 127, 43, 27, kB16, 0, 8, DS1),
    Edit(u"DBEdit10", u"pma",       215, 130, 82, 20, kB16, SB | RL, 9, DS1),
    Edit(u"DBEdit11", u"pmb",       304, 130, 82, 20, kB16, SB | RL, 10, DS1),
    Memo(u"DBMemo1",  u"opbs",      188, 158, 200, 78, kPadrao, VS, 11, DS1),
    Edit(u"DBEdit12", u"esquiva",   394, 128, 43, 27, kB16, 0, 12, DS1),
    Edit(u"DBEdit13", u"Dl",        443, 128, 43, 27, kB16, 0, 13, DS1),
    Edit(u"DBEdit14", u"Aa",        492, 128, 43, 27, kB16, DIS, 14, DS1),
    Edit(u"DBEdit32", u"fortitude", 395, 178, 43, 27, kB16, DIS, 31, DS1),
    Edit(u"DBEdit33", u"vontade",   394, 210, 43, 27, kB16, DIS, 32, DS1),
    Edit(u"DBEdit34", u"PV",        465, 250, 65, 27, kB16, 0, 33, DS1),
    Edit(u"DBEdit36", u"machub",    465, 280, 65, 27, kB16, DIS | RO, 34, DS1),
    Edit(u"DBEdit37", u"fera",      387, 316, 68, 27, kB16, DIS | RO, 35, DS1),
    Edit(u"DBEdit38", u"ferb",      465, 316, 65, 27, kB16, DIS | RO, 36, DS1),
    Edit(u"DBEdit39", u"incaa",     387, 351, 68, 27, kB16, DIS | RO, 37, DS1),
    Edit(u"DBEdit40", u"incab",     465, 351, 65, 27, kB16, DIS | RO, 38, DS1),
    Edit(u"DBEdit35", u"machua",    387, 280, 68, 27, kB16, DIS | RO, 112, DS1),

    // Identity block: labels.
    Rotulo(u"Nome:", 590, 54, W16),
    Rotulo(u"Xp. Person.", 754, 60, W16),
    Rotulo(u"Xp. Class.", 874, 60, W16),
    Rotulo(u"Descrição e peculiaridades", 654, 139, W16),
    Rotulo(u"Habilidade", 551, 282, W15),
    Rotulo(u"Divindade", 803, 282, W15),
    Rotulo(u"H", 550, 310, W15),
    Rotulo(u"A", 550, 328, W15),
    Rotulo(u"B", 550, 349, W15),
    Rotulo(u"/", 798, 88, S29),
    Rotulo(u"/", 915, 88, S29),
    Rotulo(u"/", 562, 59, S16),

    // Identity block: controls.
    Edit(u"DBEdit43", u"toptopmid",     550,  58,  13,  20, kB11, SB, 49, DS4),
    Memo(u"DBMemo10", u"nomenome",      547,  88, 198,  45, kB16Janela, SB | VS, 58, DS4),
    Memo(u"DBMemo11", u"descript",      546, 164, 439, 110, kPadrao, VS, 59, DS4),
    Edit(u"DBEdit44", u"habillfiledsa", 639, 284, 135,  23, kB16, SB, 60, DS4),
    Memo(u"DBMemo12", u"descripthabil", 569, 310, 416,  56, kR13Janela, SB | VS, 61, DS4),
    Edit(u"DBEdit59", u"xpca",          752,  94,  49,  23, kB16, SB | RL, 62, DS4),
    Edit(u"DBEdit64", u"xpcb",          813, 108,  44,  23, kB16, SB | DIS, 63, DS4),
    Edit(u"DBEdit65", u"xppb",          866,  94,  52,  23, kB16, SB | RL, 64, DS4),
    Edit(u"DBEdit66", u"xpppa",         932, 108,  45,  23, kB16, SB | DIS, 65, DS4),
    Edit(u"DBEdit73", u"toptopmidb",    568,  70,  13,  15, kB11, SB, 106, DS4),
    Edit(u"DBEdit45", u"divindade",     897, 280,  91,  23, kB16, SB, 113, DS4),

    // "Cap. Carga" row.
    Rotulo(u"Cap. Carga", 546, 661, W16),
    Rotulo(u"/", 670, 660, S20),
    Rotulo(u"/", 712, 660, S20),
    Edit(u"DBEdit72", u"qpa", 644, 660, 25, 23, kB16, SB | RL, 66, DS6),
    Edit(u"DBEdit74", u"qpb", 686, 660, 25, 23, kB16, SB | RL, 108, DS6),
    Edit(u"DBEdit92", u"qpc", 728, 660, 25, 23, kB16, SB | RL, 109, DS6),

    // Attack blocks: labels.
    Rotulo(u"Ataque", 36, 404, W16),
    Rotulo(u"Ataque", 35, 526, W16),
    Rotulo(u"Ataque / Proteção", 35, 645, W16),
    Rotulo(u"Proteção", 35, 767, W16),
    Rotulo(u"O", 226, 437, W16),
    Rotulo(u"B", 227, 456, W16),
    Rotulo(u"S", 228, 476, W16),
    Rotulo(u"O", 227, 555, W16),
    Rotulo(u"B", 228, 574, W16),
    Rotulo(u"S", 229, 594, W16),
    Rotulo(u"B", 227, 692, W16),
    Rotulo(u"S", 228, 709, W16),
    Rotulo(u"O", 226, 672, W16),
    Rotulo(u"O", 226, 799, W16),
    Rotulo(u"S", 228, 838, W16),
    Rotulo(u"B", 227, 818, W16),
    Rotulo(u"/", 270, 403, B16),
    Rotulo(u"/", 270, 524, B16),
    Rotulo(u"/", 270, 643, B16),
    Rotulo(u"/", 270, 765, B16),
    Rotulo(u"Pg. Ref.:", 15, 476, W16),
    Rotulo(u"Pg. Ref.:", 15, 598, W16),
    Rotulo(u"Pg. Ref.:", 15, 685, W16),
    Rotulo(u"Pg. Ref.:", 15, 839, W16),
    Rotulo(u"Pg. Ref.:", 8, 717, W16),

    // Attack blocks: controls. DBEdit51 lies beneath DBMemo5; DBEdit93 is its visible twin.
    Edit(u"DBEdit28", u"atka",       4, 400,  25, 27, kB16, 0, 39, DS3),
    Edit(u"DBEdit42", u"attexa",    92, 474, 126, 27, kB16, 0, 41, DS3),
    Edit(u"DBEdit41", u"atta",     222, 403,  48, 23, kB16, SB | RL, 40, DS3),
    Edit(u"DBEdit47", u"attexb",    92, 595, 126, 27, kB16, 0, 42, DS3),
    Edit(u"DBEdit49", u"atkb",       4, 521,  25, 27, kB16, 0, 43, DS3),
    Edit(u"DBEdit51", u"attexc",    92, 682, 126, 27, kB16, 0, 44, DS3),
    Edit(u"DBEdit53", u"atkc",       4, 640,  25, 27, kB16, 0, 45, DS3),
    Edit(u"DBEdit56", u"attexd",    92, 835, 126, 27, kB16, 0, 46, DS3),
    Edit(u"DBEdit58", u"atkd",       4, 762,  25, 27, kB16, 0, 47, DS3),
    Edit(u"DBEdit60", u"attab",    277, 403,  52, 22, kB16, SB, 48, DS3),
    Memo(u"DBMemo2",  u"atkmidaa",   3, 430, 216, 42, kR13Janela, VS, 50, DS3),
    Memo(u"DBMemo3",  u"atkmidab", 244, 428, 296, 70, kPadrao, VS, 51, DS3),
    Memo(u"DBMemo4",  u"atkmidba",   3, 551, 216, 42, kR13Janela, VS, 52, DS3),
    Memo(u"DBMemo5",  u"atkmidca",   4, 670, 216, 42, kR13Janela, VS, 53, DS3),
    Memo(u"DBMemo6",  u"atkmidda",   3, 792, 216, 42, kR13Janela, VS, 54, DS3),
    Memo(u"DBMemo7",  u"atkmidbb", 245, 549, 296, 70, kPadrao, VS, 55, DS3),
    Memo(u"DBMemo8",  u"atkmidcb", 244, 668, 296, 70, kPadrao, VS, 56, DS3),
    Memo(u"DBMemo9",  u"atkmiddb", 244, 790, 296, 70, kPadrao, VS, 57, DS3),
    Edit(u"DBEdit48", u"attbb",    277, 524,  52, 22, kB16, SB, 67, DS3),
    Edit(u"DBEdit52", u"attcb",    277, 643,  52, 22, kB16, SB, 68, DS3),
    Edit(u"DBEdit55", u"attdb",    277, 765,  52, 22, kB16, SB, 69, DS3),
    Edit(u"DBEdit57", u"attb",     222, 524,  48, 23, kB16, SB | RL, 70, DS3),
    Edit(u"DBEdit61", u"attc",     222, 643,  48, 23, kB16, SB | RL, 71, DS3),
    Edit(u"DBEdit62", u"attd",     222, 764,  48, 23, kB16, SB | RL, 72, DS3),
    Edit(u"DBEdit93", u"attexc",    92, 714, 126, 27, kB16, 0, 111, DS3),

    // "Conjunto" block: labels.
    Rotulo(kConjunto, 12, 878, W16),
    Rotulo(u"Cabeça", 13, 907, W16),
    Rotulo(u"Acessório", 16, 936, W16),
    Rotulo(u"Face", 16, 961, W16),
    Rotulo(u"Ombro", 16, 987, W16),
    Rotulo(u"Peitoral", 16, 1016, W16),
    Rotulo(u"Mãos", 16, 1041, W16),
    Rotulo(u"Calças", 16, 1066, W16),
    Rotulo(u"Cintura", 16, 1093, W16),
    Rotulo(u"Olhos", 484, 907, W16),
    Rotulo(u"Acessório", 451, 936, W16),
    Rotulo(u"Pescoço", 463, 961, W16),
    Rotulo(u"Veste", 482, 987, W16),
    Rotulo(u"Pulsos", 477, 1016, W16),
    Rotulo(u"Dedos", 479, 1041, W16),
    Rotulo(u"Jelhos", 478, 1066, W16),
    Rotulo(u"Pés", 500, 1093, W16),

    // "Conjunto" block: controls.
    Edit(u"DBEdit15", u"cabeca",   118,  906, 152, 27, kB16, 0, 15, DS2),
    Edit(u"DBEdit16", u"acca",     118,  933, 152, 27, kB16, 0, 16, DS2),
    Edit(u"DBEdit17", u"face",     118,  958, 152, 27, kB16, 0, 17, DS2),
    Edit(u"DBEdit18", u"ombro",    118,  984, 152, 27, kB16, 0, 18, DS2),
    Edit(u"DBEdit19", u"peitoral", 118, 1011, 152, 27, kB16, 0, 19, DS2),
    Edit(u"DBEdit20", u"maos",     118, 1038, 152, 27, kB16, 0, 20, DS2),
    Edit(u"DBEdit21", u"calcas",   118, 1063, 152, 27, kB16, 0, 21, DS2),
    Edit(u"DBEdit22", u"cintura",  118, 1089, 152, 27, kB16, 0, 22, DS2),
    Edit(u"DBEdit23", u"olhos",    273,  906, 152, 27, kB16, RL, 23, DS2),
    Edit(u"DBEdit24", u"accb",     273,  933, 152, 27, kB16, RL, 24, DS2),
    Edit(u"DBEdit25", u"pescoco",  273,  958, 152, 27, kB16, RL, 25, DS2),
    Edit(u"DBEdit26", u"vestes",   273,  984, 152, 27, kB16, RL, 26, DS2),
    Edit(u"DBEdit27", u"pulsos",   273, 1011, 152, 27, kB16, RL, 27, DS2),
    Edit(u"DBEdit29", u"dedos",    273, 1038, 152, 27, kB16, RL, 28, DS2),
    Edit(u"DBEdit30", u"joelhos",  273, 1063, 152, 27, kB16, RL, 29, DS2),
    Edit(u"DBEdit31", u"pes",      273, 1089, 152, 27, kB16, RL, 30, DS2),

    // "Oficios" block: controls (positions on the form). Panel4 overlaps Panel5 by two pixels
    // and lies above it.
    [] { Linha l = Painel({}, 988, 122, 360, 176, 88); l.Chave = kSemNome; return l; }(),
    Painel(u"Panel5", 1171, 87, 179, 33, 87),
    Painel(u"Panel4",  990, 87, 183, 33, 86),
    Painel(u"Panel3",  990, 53, 360, 33, 73),
    Edit(u"DBEdit63", u"ofleft",   994, 58, 117, 23, kB16, SB | RL, 74, DS7),
    Edit(u"DBEdit69", u"ofright", 1229, 58, 117, 23, kB16, SB, 75, DS7),
    CheckBox(u"CheckBox1",   994, 92, 76),
    CheckBox(u"CheckBox2",  1016, 92, 77),
    CheckBox(u"CheckBox3",  1039, 92, 78),
    CheckBox(u"CheckBox4",  1062, 92, 79),
    CheckBox(u"CheckBox5",  1086, 92, 80),
    CheckBox(u"CheckBox6",  1244, 92, 81),
    CheckBox(u"CheckBox7",  1266, 92, 82),
    CheckBox(u"CheckBox8",  1288, 92, 83),
    CheckBox(u"CheckBox9",  1311, 92, 84),
    CheckBox(u"CheckBox10", 1334, 92, 85),
    Edit(u"DBEdit71", u"Lefta",  993, 126, 135, 23, kB16, SB | RL, 89, DS7),
    Edit(u"DBEdit75", u"leftb",  993, 155, 135, 23, kB16, SB | RL, 90, DS7),
    Edit(u"DBEdit76", u"leftc",  993, 184, 135, 23, kB16, SB | RL, 91, DS7),
    Edit(u"DBEdit77", u"leftd",  993, 213, 135, 23, kB16, SB | RL, 92, DS7),
    Edit(u"DBEdit78", u"lefte",  993, 242, 135, 23, kB16, SB | RL, 93, DS7),
    Edit(u"DBEdit79", u"leftf",  993, 271, 135, 23, kB16, SB | RL, 94, DS7),
    Edit(u"DBEdit80", u"righta", 1211, 126, 135, 23, kB16, SB, 95, DS7),
    Edit(u"DBEdit81", u"rightb", 1211, 155, 135, 23, kB16, SB, 96, DS7),
    Edit(u"DBEdit82", u"rightc", 1211, 184, 135, 23, kB16, SB, 97, DS7),
    Edit(u"DBEdit83", u"rightd", 1211, 213, 135, 23, kB16, SB, 98, DS7),
    Edit(u"DBEdit84", u"righte", 1211, 242, 135, 23, kB16, SB, 99, DS7),
    Edit(u"DBEdit85", u"rightf", 1211, 271, 135, 23, kB16, SB, 100, DS7),

    // "Oficios" block: labels, in their panels.
    Rotulo(u"Oficios", 158, 6, W16, u"Panel3"),
    Rotulo(u"Xp. Otc¹", 114, 4, W16, u"Panel4"),
    Rotulo(u"Xp. Otc²", 4, 4, W16, u"Panel5"),
    Rotulo(u"<<   >>", 146, 7, W16, kSemNome),
    Rotulo(u"<<   >>", 146, 34, W16, kSemNome),
    Rotulo(u"<<   >>", 146, 62, W16, kSemNome),
    Rotulo(u"<<   >>", 146, 93, W16, kSemNome),
    Rotulo(u"<<   >>", 146, 123, W16, kSemNome),
    Rotulo(u"<<   >>", 146, 150, W16, kSemNome),

    // List headers.
    Painel(u"Panel6", 989, 303, 358, 36, 101),
    Rotulo(u"DONs", 158, 6, W16, u"Panel6"),
    Painel(u"Panel7", 990, 663, 358, 36, 104),
    Rotulo(u"Perícias", 155, 6, W16, u"Panel7"),

    // Lists.
    Grade(u"DBCtrlGrid3", DS8, 989, 342, 376, 318, 2, 6, 180, 53, u"PopupDOnS", 102),
    Grade(u"DBCtrlGrid4", DS9, 990, 703, 376, 294, 2, 6, 180, 49, u"Popupperr", 103),
    Grade(u"DBCtrlGrid1", DS5, 548, 370, 438, 283, 1, 3, 422, 94, u"PopupSkills", 105),
    Grade(u"DBCtrlGrid2", DS6, 549, 686, 438, 309, 1, 3, 422, 103, u"Popupequips", 107),

    // Panel template of DBCtrlGrid3 ("DONs").
    Edit(u"DBEdit88", u"dbleft",   3, 3,  34, 27, kB16, 0, 0, DS8, u"DBCtrlGrid3"),
    Memo(u"DBMemo15", u"dbright", 40, 3, 137, 47, kPadrao, VS, 1, DS8, u"DBCtrlGrid3"),

    // Panel template of DBCtrlGrid4 ("Perícias").
    Edit(u"DBEdit86", u"ebleft",   3, 3,  34, 27, kB16, 0, 0, DS9, u"DBCtrlGrid4"),
    Memo(u"DBMemo16", u"ebright", 40, 3, 137, 43, kPadrao, VS, 1, DS9, u"DBCtrlGrid4"),

    // Panel template of DBCtrlGrid1 (skills).
    Painel(u"Panel2", -2, 0, 422, 94, 1, u"DBCtrlGrid1"),
    Rotulo(u"Habilidade:", 41, 5, W16, u"Panel2"),
    Rotulo(u"Pag. Ref.:", 5, 36, W16, u"Panel2"),
    Rotulo(u"Obs.:", 104, 36, W16, u"Panel2"),
    Moldura(u"Panel16", 135,  3, 274, 27, u"Panel2"),
    Moldura(u"Panel15", 100, 55, 311, 27, u"Panel2"),
    Moldura(u"Panel14",   4, 55,  83, 28, u"Panel2"),
    EditBranco(u"DBEdit54", u"habilname", 137, 4, 269, 24, kB13, 0, DS5, u"Panel2"),
    Edit(u"DBEdit50", u"pgref",    6, 57,  79, 24, kR13, 0, 1, DS5, u"Panel2"),
    Edit(u"DBEdit89", u"eqpdef", 102, 58, 307, 21, kPadrao, 0, 2, DS5, u"Panel2"),
    Moldura(u"Panel13", 3, 1, 38, 32, u"Panel2"),
    Edit(u"DBEdit46", u"sksty", 3, 4, 34, 27, kB16, 0, 0, DS5, u"DBCtrlGrid1"),

    // Panel template of DBCtrlGrid2 (equipment). The three description edits each overlap the
    // one created before them by two pixels and lie above it.
    Painel(u"Panel1", -1, 1, 422, 94, 3, u"DBCtrlGrid2"),
    Rotulo(u"Equipamento:", 41, 5, W16, u"Panel1"),
    Rotulo(u"Obs.:", 104, 30, W16, u"Panel1"),
    Rotulo(u"Qtd.:", 6, 41, W16, u"Panel1"),
    Moldura(u"Panel10", 3, 59, 84, 29, u"Panel1"),
    Moldura(u"Panel11", 0, 0, 84, 29, u"Panel10"),
    Moldura(u"Panel8", 148, 29, 245, 69, u"Panel1"),
    Edit(u"DBEdit91", u"habildefinitionc", 151, 70, 239, 21, kPadrao, 0, 2, DS6, u"Panel1"),
    Edit(u"DBEdit90", u"habildefinitionb", 151, 51, 239, 21, kPadrao, 0, 1, DS6, u"Panel1"),
    Edit(u"DBEdit87", u"habildefinition",  151, 32, 239, 21, kPadrao, 0, 0, DS6, u"Panel1"),
    Moldura(u"Panel9", 1, 1, 38, 32, u"Panel1"),
    Moldura(u"Panel12", 156, 0, 264, 28, u"Panel1"),
    Edit(u"DBEdit67", u"ajxbn", 2, 4, 34, 27, kB16, 0, 0, DS6, u"DBCtrlGrid2"),
    EditBranco(u"DBEdit68", u"eqpname", 158, 3, 259, 24, kB13, 1, DS6, u"DBCtrlGrid2"),
    Edit(u"DBEdit70", u"qrtt", 4, 62, 79, 24, kR13, 0, 2, DS6, u"DBCtrlGrid2"),

    // Credits.
    [] {
      Linha l = Painel(u"Panel17", 548, 1005, 816, 112, 110);
      l.Flags = kBordaSimples;
      return l;
    }(),
    RotuloFixo(u"LabelAviso", kTextoAviso, 3, 15, 806, 18, kAviso, u"Panel17"),
    RotuloFixo(u"LabelCreditos", kTextoCreditos, 104, 63, 553, 19, kCreditos, u"Panel17"),
};
// clang-format on

}  // namespace

const std::span<const Linha> kPagina{kLinhas};
const std::u16string_view kTituloConjunto = kConjunto;

const Linha* Procurar(std::u16string_view nome) {
  for (const Linha& l : kPagina)
    if (!l.Nome.empty() && l.Nome == nome) return &l;
  return nullptr;
}

}  // namespace zarp::vel
