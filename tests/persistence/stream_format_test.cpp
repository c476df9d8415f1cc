// The sheet stream's bytes: strings, every value encoding in both directions, the column codes of
// blob kinds, the exact write calls, and the worked example of one small section.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "FichaTeste.h"
#include "ficha/ZARPStreamUtils.h"

namespace zarp::test {
namespace {

Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<uint8_t>(x));
  return b;
}

Bytes Double(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return Escritor().I64(static_cast<int64_t>(bits)).bytes;
}

// --- Strings ------------------------------------------------------------------------------------

TEST(StreamStrings, EmptyAndShortTextsHaveTheirByteCountFirst) {
  auto s = Stream();
  EscreverString(s.Get(), "");
  EscreverString(s.Get(), "abc");
  EXPECT_EQ(s->Bytes(), B({0, 0, 0, 0, 3, 0, 0, 0, 0x61, 0x62, 0x63}));

  TLeitorStream leitor(s.Get());
  s->SetPosition(0);
  leitor.Sincronizar(s->GetSize());
  EXPECT_EQ(LerString(leitor), "");
  EXPECT_EQ(LerString(leitor), "abc");
  EXPECT_EQ(leitor.Restantes(), 0);
}

TEST(StreamStrings, ATextIsOneWriteOfItsCountThenOneOfItsBytes) {
  auto s = rt::MakeCounted<StreamEspiao>();
  EscreverString(s.Get(), "abc");
  EscreverString(s.Get(), "");
  EXPECT_EQ(s->log, (std::vector<std::string>{"write 4", "write 3", "write 4", "write 0"}));
}

TEST(StreamStrings, BytesOutsideAsciiPassUnchanged) {
  auto s = Stream();
  EscreverString(s.Get(),
                 "Per\xED"
                 "cias");  // the system code page's i-acute
  TLeitorStream leitor(s.Get());
  s->SetPosition(0);
  leitor.Sincronizar(s->GetSize());
  EXPECT_EQ(LerString(leitor),
            "Per\xED"
            "cias");
}

// --- Writing values -----------------------------------------------------------------------------

// One record holding a value of every field kind.
class Valores : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = ficha.NovoDataSet(u"TIPOS");
    smallint = ficha.Campo<db::TSmallintField>(ds, u"smallint");
    integer = ficha.Campo<db::TIntegerField>(ds, u"integer");
    word = ficha.Campo<db::TWordField>(ds, u"word");
    boolean = ficha.Campo<db::TBooleanField>(ds, u"boolean");
    flt = ficha.Campo<db::TFloatField>(ds, u"float");
    currency = ficha.Campo<db::TCurrencyField>(ds, u"currency");
    bcd = ficha.Campo<db::TBCDField>(ds, u"bcd");
    datetime = ficha.Campo<db::TDateTimeField>(ds, u"datetime");
    largeint = ficha.Campo<db::TLargeintField>(ds, u"largeint");
    string = ficha.Campo<db::TStringField>(ds, u"string", 10);
    wide = ficha.Campo<db::TWideStringField>(ds, u"wide", 10);
    blob = ficha.Campo<db::TBlobField>(ds, u"blob");
    memo = ficha.Campo<db::TMemoField>(ds, u"memo");
    graphic = ficha.Campo<db::TBlobField>(ds, u"graphic", db::TFieldType::ftGraphic);
    ds->Open();
    ds->Append();
  }

  Bytes Escrito(const db::TField& f) {
    auto s = Stream();
    EscreverValorCampo(s.Get(), f);
    return s->Bytes();
  }

  Ficha ficha;
  TZARPDataSet* ds = nullptr;
  db::TSmallintField* smallint = nullptr;
  db::TIntegerField* integer = nullptr;
  db::TWordField* word = nullptr;
  db::TBooleanField* boolean = nullptr;
  db::TFloatField* flt = nullptr;
  db::TCurrencyField* currency = nullptr;
  db::TBCDField* bcd = nullptr;
  db::TDateTimeField* datetime = nullptr;
  db::TLargeintField* largeint = nullptr;
  db::TStringField* string = nullptr;
  db::TWideStringField* wide = nullptr;
  db::TBlobField* blob = nullptr;
  db::TMemoField* memo = nullptr;
  db::TBlobField* graphic = nullptr;
};

TEST_F(Valores, ANullValueOfAnyKindIsTheSingleByteZero) {
  for (db::TField* f : ds->Fields())
    EXPECT_EQ(Escrito(*f), B({0})) << rt::Utf16ToUtf8(f->FieldName());
}

TEST_F(Valores, WholeNumbersAreLittleEndianAfterThePresenceByte) {
  integer->SetAsInteger(7);
  EXPECT_EQ(Escrito(*integer), B({1, 7, 0, 0, 0}));
  integer->SetAsInteger(-1);
  EXPECT_EQ(Escrito(*integer), B({1, 0xFF, 0xFF, 0xFF, 0xFF}));
  smallint->SetAsInteger(-2);
  EXPECT_EQ(Escrito(*smallint), B({1, 0xFE, 0xFF}));
  word->SetAsInteger(0xABCD);
  EXPECT_EQ(Escrito(*word), B({1, 0xCD, 0xAB}));
  largeint->SetAsLargeInt(0x0102030405060708);
  EXPECT_EQ(Escrito(*largeint), B({1, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST_F(Valores, BooleansAreAllOnesOrZeroIn16Bits) {
  boolean->SetAsBoolean(true);
  EXPECT_EQ(Escrito(*boolean), B({1, 0xFF, 0xFF}));
  boolean->SetAsBoolean(false);
  EXPECT_EQ(Escrito(*boolean), B({1, 0, 0}));
}

TEST_F(Valores, FloatsAndDatesAreDoublesAndMoneyIsTenThousandths) {
  flt->SetAsFloat(1.5);
  Escritor e;
  e.U8(1).Anexar(Double(1.5));
  EXPECT_EQ(Escrito(*flt), e.bytes);

  datetime->SetAsDateTime(36526.25);  // 1 January 2000, 06:00
  EXPECT_EQ(Escrito(*datetime), Escritor().U8(1).Anexar(Double(36526.25)).bytes);

  currency->SetAsFloat(-12.3456);
  EXPECT_EQ(Escrito(*currency), Escritor().U8(1).I64(-123456).bytes);
  bcd->SetAsCurrency(15000);
  EXPECT_EQ(Escrito(*bcd), Escritor().U8(1).I64(15000).bytes);
}

TEST_F(Valores, TextsAreStringsAndWideTextsArePresenceOnly) {
  string->SetAsString("abc");
  EXPECT_EQ(Escrito(*string), B({1, 3, 0, 0, 0, 0x61, 0x62, 0x63}));
  string->SetAsString("");
  EXPECT_EQ(Escrito(*string), B({1, 0, 0, 0, 0}));
  wide->SetAsWideString(u"abc");
  EXPECT_EQ(Escrito(*wide), B({1}));
}

TEST_F(Valores, EveryBlobKindWritesItsContentAsAString) {
  blob->SetAsString(std::string("\x00\xFF", 2));
  memo->SetAsString("nota");
  graphic->SetAsString("PNG");
  EXPECT_EQ(Escrito(*blob), B({1, 2, 0, 0, 0, 0x00, 0xFF}));
  EXPECT_EQ(Escrito(*memo), B({1, 4, 0, 0, 0, 'n', 'o', 't', 'a'}));
  EXPECT_EQ(Escrito(*graphic), B({1, 3, 0, 0, 0, 'P', 'N', 'G'}));
}

TEST_F(Valores, ColumnsOfBlobKindsCarryACodeThatReadsAString) {
  EXPECT_EQ(TipoDaColuna(*blob), 256);
  EXPECT_EQ(TipoDaColuna(*memo), 8192);
  EXPECT_EQ(TipoDaColuna(*graphic), 256);  // its storage code (13) would read nothing back
  EXPECT_EQ(TipoDaColuna(*wide), 258);
  EXPECT_EQ(TipoDaColuna(*integer), 3);
  EXPECT_EQ(TipoDaColuna(*bcd), 6);
}

// --- Reading values -----------------------------------------------------------------------------

rt::Variant Lido(const Bytes& bytes, uint16_t tipo, int64_t* sobra = nullptr) {
  auto s = Stream(bytes);
  TLeitorStream leitor(s.Get());
  leitor.Sincronizar(s->GetSize());
  rt::Variant v;
  LerValorCampo(leitor, tipo, v);
  if (sobra) *sobra = leitor.Restantes();
  return v;
}

TEST(StreamLerValor, EachCodeReadsItsWidthAndKeepsTheStreamsType) {
  EXPECT_EQ(Lido(B({1, 0xFE, 0xFF}), 2), rt::Variant::OfInteger(rt::varSmallint, -2));
  EXPECT_EQ(Lido(B({1, 0xFF, 0xFF, 0xFF, 0xFF}), 3), rt::Variant(int32_t{-1}));
  float f = 0.25f;
  uint32_t fb;
  std::memcpy(&fb, &f, 4);
  EXPECT_EQ(Lido(Escritor().U8(1).I32(static_cast<int32_t>(fb)).bytes, 4),
            rt::Variant::OfFloat(rt::varSingle, 0.25));
  EXPECT_EQ(Lido(Escritor().U8(1).Anexar(Double(-2.5)).bytes, 5), rt::Variant(-2.5));
  EXPECT_EQ(Lido(Escritor().U8(1).I64(-123456).bytes, 6), rt::Variant::Currency(-123456));
  EXPECT_EQ(Lido(Escritor().U8(1).Anexar(Double(36526.25)).bytes, 7), rt::Variant::Date(36526.25));
  EXPECT_EQ(Lido(B({1, 0x80}), 16), rt::Variant::OfInteger(rt::varShortInt, -128));
  EXPECT_EQ(Lido(B({1, 0x80}), 17), rt::Variant::OfInteger(rt::varByte, 128));
  EXPECT_EQ(Lido(B({1, 0xCD, 0xAB}), 18), rt::Variant::OfInteger(rt::varWord, 0xABCD));
  EXPECT_EQ(Lido(Escritor().U8(1).I64(INT64_MIN).bytes, 20), rt::Variant(INT64_MIN));
  EXPECT_EQ(Lido(B({1, 2, 0, 0, 0, 'o', 'i'}), 256), rt::Variant("oi"));
}

TEST(StreamLerValor, ANonZeroPresenceByteOrBooleanMeansYes) {
  EXPECT_EQ(Lido(B({0x7F, 1, 0}), 11), rt::Variant(true));
  EXPECT_EQ(Lido(B({1, 0xFF, 0xFF}), 11), rt::Variant(true));
  EXPECT_EQ(Lido(B({1, 0, 0}), 11), rt::Variant(false));
  EXPECT_TRUE(Lido(B({0}), 3).IsNull());
}

TEST(StreamLerValor, MemoColumnsReadAStringBack) {
  int64_t sobra = -1;
  EXPECT_EQ(Lido(B({1, 2, 0, 0, 0, 'o', 'i', 9}), 8192, &sobra), rt::Variant("oi"));
  EXPECT_EQ(sobra, 1);
}

TEST(StreamLerValor, CodesWithoutAnEncodingReadOnlyTheirPresenceByteAsNull) {
  for (uint16_t tipo : {0, 1, 13, 258, 999}) {
    int64_t sobra = -1;
    EXPECT_TRUE(Lido(B({1, 42}), tipo, &sobra).IsNull()) << tipo;
    EXPECT_EQ(sobra, 1) << tipo;
  }
}

// --- One section --------------------------------------------------------------------------------

class ExemploDados : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = ficha.NovoDataSet(u"DADOS");
    valor = ficha.Campo<db::TIntegerField>(ds, u"valor");
    ds->Open();
  }
  Ficha ficha;
  TZARPDataSet* ds = nullptr;
  db::TIntegerField* valor = nullptr;
};

TEST_F(ExemploDados, OneRecordHoldingSevenIs37Bytes) {
  ds->Append();
  valor->SetAsInteger(7);
  ds->Post();
  EXPECT_EQ(Salvar(ficha),
            B({0x05, 0x00, 0x00, 0x00, 0x44, 0x41, 0x44, 0x4F, 0x53, 0x01, 0x00, 0x00, 0x00,
               0x05, 0x00, 0x00, 0x00, 0x76, 0x61, 0x6C, 0x6F, 0x72, 0x03, 0x00, 0x01, 0x00,
               0x00, 0x00, 0x01, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(ExemploDados, ANullValueMakesIt33Bytes) {
  ds->Append();
  ds->Post();
  EXPECT_EQ(Salvar(ficha), B({0x05, 0x00, 0x00, 0x00, 0x44, 0x41, 0x44, 0x4F, 0x53, 0x01, 0x00,
                              0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x76, 0x61, 0x6C, 0x6F, 0x72,
                              0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(ExemploDados, NoRecordsIsTheShortSectionOf21Bytes) {
  EXPECT_EQ(Salvar(ficha), B({0x05, 0x00, 0x00, 0x00, 0x44, 0x41, 0x44, 0x4F, 0x53, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(ExemploDados, TheRecordCountIsAPlaceholderWrittenOverInOnePass) {
  ds->Append();
  valor->SetAsInteger(7);
  ds->Post();
  auto s = rt::MakeCounted<StreamEspiao>();
  SalvarDataSets(ficha, s.Get());
  EXPECT_EQ(s->log, (std::vector<std::string>{"write 4", "write 5",             // DADOS
                                              "write 4",                        // one column
                                              "write 4", "write 5", "write 2",  // valor, 3
                                              "position", "write 4",            // the placeholder
                                              "write 1", "write 4",             // the value 7
                                              "position", "seek 24", "write 4",
                                              "seek 33",     // the count over it
                                              "write 4"}));  // record number
  EXPECT_EQ(s->Bytes().size(), 37u);
}

TEST_F(ExemploDados, SavingStartsWhereTheStreamStandsAndNeverRewinds) {
  auto s = Stream(B({0xAA, 0xBB, 0xCC}));
  s->SetPosition(3);
  SalvarDataSets(ficha, s.Get());
  ASSERT_EQ(s->Bytes().size(), 24u);
  EXPECT_EQ(s->Bytes()[0], 0xAA);
  EXPECT_EQ(s->Bytes()[3], 0x05);
}

}  // namespace
}  // namespace zarp::test
