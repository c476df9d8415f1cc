// Edit, insert, post and cancel; old values; writes outside the edit states; calculated fields;
// the native buffers that fields exchange with the dataset.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/Exception.h"
#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

TEST(Editing, CancelKeepsStoredRecordAndOldValueIsTheStoredOne) {
  Documento doc;
  Tabela t(doc);
  t.Fill(2, 10);
  t.ds->First();
  t.ds->Edit();
  t.num->SetAsInteger(55);
  EXPECT_EQ(t.num->AsInteger(), 55);
  EXPECT_EQ(t.num->OldValue().AsInt32(), 10);
  EXPECT_TRUE(t.ds->Modified());
  t.ds->Cancel();
  EXPECT_EQ(t.num->AsInteger(), 10);
  EXPECT_EQ(t.Nums(), (std::vector<int>{10, 11}));
}

TEST(Editing, PostStoresTheWorkingCopy) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3, 10);
  t.ds->SetRecNo(1);
  t.ds->Edit();
  t.nome->SetAsString("novo");
  t.ds->Post();
  EXPECT_EQ(t.ds->RecNo(), 1);
  EXPECT_EQ(t.nome->AsString(), "novo");
  t.ds->First();
  EXPECT_TRUE(t.nome->IsNull());
  t.ds->Next();
  EXPECT_EQ(t.nome->AsString(), "novo");
}

TEST(Editing, OldValueDuringInsertIsTheNewRecordsValue) {
  Documento doc;
  Tabela t(doc);
  t.ds->Append();
  t.num->SetAsInteger(4);
  EXPECT_EQ(t.num->OldValue().AsInt32(), 4);
}

TEST(Editing, EditOnEmptyDatasetInserts) {
  Documento doc;
  Tabela t(doc);
  t.ds->Edit();
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsInsert);
}

TEST(Editing, PostInBrowseIsRefusedAndCheckBrowseModeSettles) {
  Documento doc;
  Tabela t(doc);
  t.Fill(1);
  EXPECT_THROW(t.ds->Post(), db::EDatabaseError);
  t.ds->Edit();
  t.ds->CheckBrowseMode();  // nothing changed: cancelled
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
  t.ds->Edit();
  t.num->SetAsInteger(8);
  t.ds->Next();  // scrolling posts a modified record
  EXPECT_EQ(t.num->AsInteger(), 8);
}

TEST(Editing, BrowseWriteGoesStraightIntoTheStoredRecord) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3);
  doc.notices = 0;
  std::vector<std::string> log;
  LogEvents(*t.ds, log);
  int changes = 0;
  t.num->OnChange = [&](db::TField*) { ++changes; };
  t.ds->SetRecNo(1);
  t.num->SetAsInteger(42);
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(changes, 1);
  t.ds->First();
  t.ds->Last();
  t.ds->SetRecNo(1);
  EXPECT_EQ(t.num->AsInteger(), 42);
  for (const auto& e : log) EXPECT_NE(e, "BeforePost");
  EXPECT_EQ(doc.notices, 0);
}

TEST(Editing, ClearingAFieldMakesItNull) {
  Documento doc;
  Tabela t(doc);
  t.Fill(1, 5);
  t.num->Clear();
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_EQ(t.num->AsInteger(), 0);
  EXPECT_EQ(t.num->AsString(), "");
  EXPECT_TRUE(t.num->AsVariant().IsNull());
}

TEST(Editing, StringFieldBufferHoldsTextThenZeros) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"S");
  auto* s = db::DeclareField<db::TStringField>(&doc, ds, u"s", 2);
  auto* b = db::DeclareField<db::TBooleanField>(&doc, ds, u"b");
  ds->Open();
  ds->Append();
  s->SetAsString("ab");
  char buf[3] = {'x', 'x', 'x'};
  ASSERT_TRUE(s->GetData(buf));
  EXPECT_EQ(std::string(buf, 3), std::string("ab\0", 3));
  s->SetAsString("");
  EXPECT_FALSE(s->IsNull());
  EXPECT_EQ(s->AsString(), "");
  b->SetAsBoolean(true);
  uint16_t bits = 0;
  ASSERT_TRUE(b->GetData(&bits));
  EXPECT_EQ(bits, 0xFFFF);
  EXPECT_TRUE(b->AsBoolean());
  uint16_t seven = 7;  // any non-zero word is true
  b->SetData(&seven);
  EXPECT_TRUE(b->AsBoolean());
}

TEST(Editing, LongTextsNeverPassTheFieldSize) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"L");
  auto* small = db::DeclareField<db::TStringField>(&doc, ds, u"small", 999);
  auto* large = db::DeclareField<db::TStringField>(&doc, ds, u"large", 9999);
  ds->Open();
  ds->Append();
  small->SetAsString(std::string(1200, 'a'));
  EXPECT_EQ(small->AsString().size(), 999u);
  large->SetAsString(std::string(9000, 'b'));
  EXPECT_EQ(large->AsString().size(), 9000u);
  // Longer than the declared size: the field keeps it whole, the dataset stores Size characters.
  large->SetAsString(std::string(20000, 'c'));
  EXPECT_EQ(large->AsString(), std::string(9999, 'c'));
}

// A dataset with one data field and two calculated ones (2x and 3x), as the equipment list.
struct Calculada {
  explicit Calculada(Documento& doc) {
    ds = new TZARPDataSet(&doc);
    ds->SetName(u"C");
    qpa = db::DeclareField<db::TIntegerField>(&doc, ds, u"qpa");
    qpb = db::DeclareField<db::TIntegerField>(&doc, ds, u"qpb");
    qpb->SetCalculated(true);
    qpc = db::DeclareField<db::TIntegerField>(&doc, ds, u"qpc");
    qpc->SetFieldKind(db::TFieldKind::fkCalculated);
    ds->OnCalcFields = [this](db::TDataSet* d) {
      states.push_back(d->State());
      qpb->SetAsInteger(qpa->AsInteger() * 2);
      qpc->SetAsInteger(qpa->AsInteger() * 3);
    };
    ds->Open();
  }
  TZARPDataSet* ds;
  db::TIntegerField *qpa, *qpb, *qpc;
  std::vector<db::TDataSetState> states;
};

TEST(CalcFields, RecomputedOnEveryDataFieldWriteInTheCurrentState) {
  Documento doc;
  Calculada c(doc);
  EXPECT_EQ(c.ds->CalcFieldsSize(), 10);
  EXPECT_EQ(c.qpb->Offset(), 0);
  EXPECT_EQ(c.qpc->Offset(), 5);
  c.ds->Append();
  c.qpa->SetAsInteger(5);
  EXPECT_EQ(c.qpb->AsInteger(), 10);
  EXPECT_EQ(c.qpc->AsInteger(), 15);
  ASSERT_FALSE(c.states.empty());
  EXPECT_EQ(c.states.back(), db::TDataSetState::dsInsert);
  c.ds->Post();
  // Browse write: recomputed at once, still in browse.
  c.qpa->SetAsInteger(7);
  EXPECT_EQ(c.states.back(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(c.qpc->AsInteger(), 21);
}

TEST(CalcFields, EditComputesInTheCalcStateAndValuesStayWithTheRecord) {
  Documento doc;
  Calculada c(doc);
  c.ds->Append();
  c.qpa->SetAsInteger(1);
  c.ds->Post();
  c.ds->Append();
  c.qpa->SetAsInteger(2);
  c.ds->Post();
  c.ds->First();
  c.states.clear();
  c.ds->Edit();
  ASSERT_EQ(c.states.size(), 1u);
  EXPECT_EQ(c.states[0], db::TDataSetState::dsCalcFields);
  c.ds->Cancel();
  c.ds->Last();
  EXPECT_EQ(c.qpb->AsInteger(), 4);  // kept with the record since its last calculation
  c.ds->SetAutoCalcFields(false);
  c.states.clear();
  c.qpa->SetAsInteger(100);
  EXPECT_TRUE(c.states.empty());
  c.ds->Refresh();
  EXPECT_EQ(c.qpb->AsInteger(), 200);
}

TEST(CalcFields, AnEditWhoseCalculationFailsIsRefusedAndLeavesTheStoredRecordCurrent) {
  Documento doc;
  Calculada c(doc);
  c.ds->Append();
  c.qpa->SetAsInteger(5);
  c.ds->Post();
  const auto calcular = c.ds->OnCalcFields;
  c.ds->OnCalcFields = [](db::TDataSet*) { throw rt::EConvertError(u"refused"); };
  doc.notices = 0;
  EXPECT_THROW(c.ds->Edit(), rt::EConvertError);
  EXPECT_EQ(c.ds->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(c.ds->RecNo(), 0);
  EXPECT_EQ(doc.notices, 0);

  // The window shows the stored record again: the next edit is posted into it.
  c.ds->OnCalcFields = calcular;
  c.ds->Edit();
  c.qpa->SetAsInteger(6);
  c.ds->Post();
  c.ds->First();
  EXPECT_EQ(c.ds->RecordCount(), 1);
  EXPECT_EQ(c.qpa->AsInteger(), 6);
  EXPECT_EQ(c.qpb->AsInteger(), 12);
}

TEST(CalcFields, ThirtyTwoBitArithmeticWrapsInHandlers) {
  Documento doc;
  Calculada c(doc);
  c.ds->OnCalcFields = [&c](db::TDataSet*) {
    auto a = static_cast<uint32_t>(c.qpa->AsInteger());
    c.qpc->SetAsInteger(static_cast<int32_t>(a + a + a));
  };
  c.ds->Append();
  c.qpa->SetAsInteger(1000000000);
  EXPECT_EQ(c.qpc->AsInteger(), -1294967296);
}

TEST(FieldKinds, EveryEncodableKindRoundTripsThroughTheRecord) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"K");
  auto* si = db::DeclareField<db::TSmallintField>(&doc, ds, u"si");
  auto* w = db::DeclareField<db::TWordField>(&doc, ds, u"w");
  auto* f = db::DeclareField<db::TFloatField>(&doc, ds, u"f");
  auto* cur = db::DeclareField<db::TCurrencyField>(&doc, ds, u"cur");
  auto* bcd = db::DeclareField<db::TBCDField>(&doc, ds, u"bcd");
  auto* dt = db::DeclareField<db::TDateTimeField>(&doc, ds, u"dt");
  auto* li = db::DeclareField<db::TLargeintField>(&doc, ds, u"li");
  auto* ws = db::DeclareField<db::TWideStringField>(&doc, ds, u"ws", 4);
  auto* memo = db::DeclareField<db::TMemoField>(&doc, ds, u"memo");
  ds->Open();
  ds->Append();
  si->SetAsInteger(-300);
  w->SetAsInteger(65535);
  f->SetAsFloat(2.5);
  cur->SetAsFloat(1.25);
  bcd->SetAsVariant(rt::Variant::Currency(123456));
  dt->SetAsDateTime(45000.5);
  li->SetAsLargeInt(INT64_C(-9000000000));
  ws->SetAsWideString(u"olá mundo");
  memo->SetAsString("texto longo");
  ds->Post();
  ds->First();
  EXPECT_EQ(si->AsVariant(), rt::Variant::OfInteger(rt::varSmallint, -300));
  EXPECT_EQ(w->AsVariant(), rt::Variant::OfInteger(rt::varWord, 65535));
  EXPECT_EQ(f->AsVariant(), rt::Variant(2.5));
  EXPECT_DOUBLE_EQ(cur->AsFloat(), 1.25);
  EXPECT_EQ(bcd->AsVariant(), rt::Variant::Currency(123456));
  EXPECT_EQ(dt->AsVariant(), rt::Variant::Date(45000.5));
  EXPECT_EQ(li->AsVariant(), rt::Variant(INT64_C(-9000000000)));
  EXPECT_EQ(ws->AsWideString(), u"olá ");
  EXPECT_EQ(memo->AsVariant(), rt::Variant("texto longo"));
  EXPECT_THROW(si->SetAsInteger(40000), db::EDatabaseError);
  EXPECT_THROW(w->SetAsInteger(-1), db::EDatabaseError);
}

}  // namespace
}  // namespace zarp::test
