// The packed values of a record: every kind comes back as it went in, replacing one value in the
// middle leaves its neighbours intact whether it grows or shrinks, and copies are independent.
// And what a dataset answers when its stored values are read in place.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dataset/ZARPCampos.h"
#include "dataset/ZARPVetor.h"
#include "tests/dataset/TestTable.h"

namespace {

using rt::Variant;
using zarp::TCampos;

std::vector<Variant> Amostras() {
  return {
      Variant::Null(),
      Variant(),
      Variant::OfInteger(rt::varSmallint, -32768),
      Variant(int32_t{-2147483647 - 1}),
      Variant::OfFloat(rt::varSingle, 1.5),
      Variant(-0.1),
      Variant::Currency(-922337203685477580),
      Variant::Date(45000.25),
      Variant(true),
      Variant(false),
      Variant::OfInteger(rt::varShortInt, -128),
      Variant::OfInteger(rt::varByte, 255),
      Variant::OfInteger(rt::varWord, 65535),
      Variant(int64_t{-9223372036854775807 - 1}),
      Variant(std::string()),
      Variant(std::string("abc")),
      Variant(std::string(127, 'x')),    // the longest one-byte length
      Variant(std::string(128, 'y')),    // two bytes of length
      Variant(std::string(20000, 'z')),  // three bytes of length
      Variant(std::string("a\0b", 3)),
      Variant(std::u16string(u"ção")),
      Variant::Tagged(rt::varUnknown),
      Variant::Tagged(rt::varArray),
  };
}

void EsperarValores(const TCampos& c, const std::vector<Variant>& esperado) {
  ASSERT_EQ(c.Count(), static_cast<int>(esperado.size()));
  for (int i = 0; i < c.Count(); ++i) {
    const Variant v = c.Valor(i);
    EXPECT_EQ(v.Type(), esperado[static_cast<size_t>(i)].Type()) << "value " << i;
    EXPECT_TRUE(v == esperado[static_cast<size_t>(i)]) << "value " << i;
  }
}

TEST(Campos, EveryKindComesBackAsItWentIn) {
  const std::vector<Variant> amostras = Amostras();
  TCampos c;
  c.Inicializar(static_cast<int>(amostras.size()));
  for (int i = 0; i < c.Count(); ++i) EXPECT_EQ(c.Valor(i).Type(), rt::varNull);
  for (size_t i = 0; i < amostras.size(); ++i) c.Gravar(static_cast<int>(i), amostras[i]);
  EsperarValores(c, amostras);

  // In place: the same kinds and payloads, a text pointing at its bytes.
  db::TStoredValue v;
  ASSERT_TRUE(c.Ler(3, v));
  EXPECT_EQ(v.type, rt::varInteger);
  EXPECT_EQ(v.integer, -2147483647 - 1);
  ASSERT_TRUE(c.Ler(15, v));
  EXPECT_EQ(v.type, rt::varString);
  EXPECT_EQ(v.text, "abc");
  ASSERT_TRUE(c.Ler(8, v));
  EXPECT_EQ(v.integer, 1);
  EXPECT_FALSE(c.Ler(-1, v));
  EXPECT_FALSE(c.Ler(c.Count(), v));
  EXPECT_EQ(c.Valor(c.Count()).Type(), rt::varNull);
}

TEST(Campos, ReplacingAValueKeepsItsNeighbours) {
  TCampos c;
  c.Inicializar(3);
  c.Gravar(0, Variant(int32_t{7}));
  c.GravarTexto(1, "curto", 5);
  c.Gravar(2, Variant(std::string("fim")));
  // Growing past the block, shrinking, changing kind, and back to null.
  const std::string longo(5000, 'L');
  c.GravarTexto(1, longo.data(), longo.size());
  EsperarValores(c, {Variant(int32_t{7}), Variant(longo), Variant(std::string("fim"))});
  c.Gravar(1, Variant(2.5));
  EsperarValores(c, {Variant(int32_t{7}), Variant(2.5), Variant(std::string("fim"))});
  c.Gravar(0, Variant(std::string("primeiro")));
  c.Gravar(2, Variant::Null());
  EsperarValores(c, {Variant(std::string("primeiro")), Variant(2.5), Variant::Null()});
  // Writes past the values are dropped.
  c.Gravar(3, Variant(int32_t{1}));
  c.GravarTexto(-1, "x", 1);
  EXPECT_EQ(c.Count(), 3);
}

TEST(Campos, AnEmptiedArenaFillsTheChunksItHoldsAndFreesLargeBlocks) {
  zarp::TArenaCampos arena;
  auto encher = [&] {
    std::vector<uint8_t*> blocos;
    for (int i = 0; i < 1000; ++i) {
      blocos.push_back(arena.Alocar(100));
      std::memset(blocos.back(), i & 0xFF, 100);
    }
    // No block overlaps another.
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(blocos[i][99], i & 0xFF);
  };
  encher();
  const size_t reservado = arena.Reservado();
  EXPECT_GE(reservado, 100000u);
  arena.Esvaziar();
  EXPECT_EQ(arena.Reservado(), reservado);
  encher();
  EXPECT_EQ(arena.Reservado(), reservado);
  arena.Alocar(1 << 20);
  EXPECT_EQ(arena.Reservado(), reservado + (1 << 20));
  arena.Esvaziar();
  EXPECT_EQ(arena.Reservado(), reservado);
}

TEST(Campos, ASmallTableHoldsASmallChunkAndABlockAlwaysGetsRoomEnough) {
  zarp::TArenaCampos arena;
  for (int i = 0; i < 10; ++i) arena.Alocar(100);
  EXPECT_LE(arena.Reservado(), 1024u);
  // Larger than the chunk that comes next: it gets a chunk of its own size, whole.
  uint8_t* grande = arena.Alocar(9000);
  std::memset(grande, 7, 9000);
  EXPECT_GE(arena.Reservado(), 1024u + 9000u);
  // Emptied and filled again with blocks the first chunk cannot hold: the kept chunks that fit
  // are used, and nothing is asked for afresh.
  const size_t reservado = arena.Reservado();
  arena.Esvaziar();
  for (int i = 0; i < 3; ++i) std::memset(arena.Alocar(3000), i, 3000);
  EXPECT_EQ(arena.Reservado(), reservado);
}

TEST(Campos, CopiesAreIndependentAndCompactCopiesFit) {
  TCampos a;
  a.Inicializar(2);
  a.GravarTexto(0, "um texto qualquer", 17);
  a.Gravar(1, Variant(int32_t{42}));
  TCampos b = a;
  b.GravarTexto(0, "outro", 5);
  EXPECT_EQ(a.Valor(0).AsString(), "um texto qualquer");
  EXPECT_EQ(b.Valor(0).AsString(), "outro");

  zarp::TArenaCampos arena;
  TCampos compacto = a.Compacto(arena);
  EXPECT_EQ(compacto.Bytes(), a.Bytes());
  EXPECT_GE(arena.Reservado(), a.Bytes());
  // A block from the arena is written in place while the values fit, and left once they grow.
  compacto.Gravar(1, Variant(int32_t{43}));
  EXPECT_EQ(compacto.Valor(1).AsInt32(), 43);
  compacto.GravarTexto(0, "um texto bem mais comprido", 26);
  EsperarValores(compacto,
                 {Variant(std::string("um texto bem mais comprido")), Variant(int32_t{43})});
  compacto.Gravar(1, Variant(int32_t{42}));
  compacto.GravarTexto(0, "um texto qualquer", 17);
  EsperarValores(compacto, {Variant(std::string("um texto qualquer")), Variant(int32_t{42})});
  TCampos movido = std::move(compacto);
  EXPECT_EQ(movido.Valor(1).AsInt32(), 42);

  // Initialising again gives nulls, whatever was there.
  a.Inicializar(2);
  EsperarValores(a, {Variant::Null(), Variant::Null()});
}

// The values read in place are those the fields answer; kinds that convert on the way out are
// left to the field, and a dataset without a record reads null.
TEST(ValorArmazenado, ReadsInPlaceWhatTheFieldAnswers) {
  zarp::test::Documento doc;
  zarp::test::Tabela t(doc, false);
  auto* flag = db::DeclareField<db::TBooleanField>(&doc, t.ds, u"flag");
  auto* preco = db::DeclareField<db::TCurrencyField>(&doc, t.ds, u"preco");
  auto* calc = db::DeclareField<db::TIntegerField>(&doc, t.ds, u"calc");
  calc->SetCalculated(true);
  t.ds->Open();

  db::TStoredValue v;
  ASSERT_TRUE(t.ds->StoredFieldValue(t.num, v));
  EXPECT_EQ(v.type, rt::varNull);  // no record yet

  t.ds->Append();
  t.num->SetAsInteger(-5);
  t.nome->SetAsString("texto");
  flag->SetAsBoolean(true);
  preco->SetAsFloat(2.5);
  t.ds->Post();

  ASSERT_TRUE(t.ds->StoredFieldValue(t.num, v));
  EXPECT_EQ(v.type, rt::varInteger);
  EXPECT_EQ(v.integer, -5);
  ASSERT_TRUE(t.ds->StoredFieldValue(t.nome, v));
  EXPECT_EQ(v.type, rt::varString);
  EXPECT_EQ(v.text, t.nome->AsString());
  ASSERT_TRUE(t.ds->StoredFieldValue(flag, v));
  EXPECT_EQ(v.type, rt::varBoolean);
  EXPECT_EQ(v.integer, 1);
  EXPECT_FALSE(t.ds->StoredFieldValue(preco, v));
  EXPECT_FALSE(t.ds->StoredFieldValue(calc, v));

  // During an edit it is the working copy; after a cancel the stored value again.
  t.ds->Edit();
  t.nome->SetAsString("outro");
  ASSERT_TRUE(t.ds->StoredFieldValue(t.nome, v));
  EXPECT_EQ(v.text, "outro");
  t.ds->Cancel();
  ASSERT_TRUE(t.ds->StoredFieldValue(t.nome, v));
  EXPECT_EQ(v.text, "texto");
  t.nome->Clear();
  ASSERT_TRUE(t.ds->StoredFieldValue(t.nome, v));
  EXPECT_EQ(v.type, rt::varNull);
}

// The per-record arrays: one pointer while empty, items kept through a resize, copies apart.
TEST(Vetor, KeepsItsItemsAndCostsAPointerWhileEmpty) {
  static_assert(sizeof(zarp::TVetor<Variant>) == sizeof(void*));
  zarp::TVetor<Variant> v;
  EXPECT_TRUE(v.empty());
  EXPECT_EQ(v.begin(), v.end());
  v.assign(3, Variant(std::string("x")));
  v[1] = Variant(int32_t{2});
  v.resize(4);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].AsString(), "x");
  EXPECT_EQ(v[1].AsInt32(), 2);
  EXPECT_TRUE(v[3].IsEmpty());
  zarp::TVetor<Variant> copia = v;
  copia[0] = Variant(1.5);
  EXPECT_EQ(v[0].AsString(), "x");
  v.assign(4, Variant::Null());
  for (const Variant& item : v) EXPECT_TRUE(item.IsNull());
  EXPECT_EQ(copia[0].AsDouble(), 1.5);

  zarp::TVetor<std::unique_ptr<int>> p;
  p.resize(2);
  p[1] = std::make_unique<int>(7);
  p.resize(3);
  ASSERT_NE(p[1], nullptr);
  EXPECT_EQ(*p[1], 7);
  zarp::TVetor<std::unique_ptr<int>> tomado = std::move(p);
  EXPECT_TRUE(p.empty());
  EXPECT_EQ(*tomado[1], 7);
  tomado.clear();
  EXPECT_EQ(tomado.size(), 0u);
}

}  // namespace
