// Type codes of field data types, and field definitions built from the declared fields.
#include <gtest/gtest.h>

#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

using db::TFieldType;

TEST(TypeCodes, MapEveryDataType) {
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftString), 256);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftBlob), 256);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftMemo), 8192);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftSmallint), 2);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftInteger), 3);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftWord), 18);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftBoolean), 11);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftFloat), 5);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftCurrency), 6);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftBCD), 6);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftDate), 7);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftTime), 7);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftDateTime), 7);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftWideString), 258);
  EXPECT_EQ(TipoVariantDoCampo(TFieldType::ftLargeint), 20);
  for (auto t : {TFieldType::ftAutoInc, TFieldType::ftGuid, TFieldType::ftFixedChar,
                 TFieldType::ftWideMemo, TFieldType::ftUnknown, TFieldType::ftSingle})
    EXPECT_EQ(TipoVariantDoCampo(t), 13);
  // 4, 16 and 17 are never produced.
  for (int i = 0; i < db::kFieldTypeCount; ++i) {
    uint16_t c = TipoVariantDoCampo(static_cast<TFieldType>(i));
    EXPECT_TRUE(c != 4 && c != 16 && c != 17);
  }
}

TEST(FieldDefs, BuiltFromDataFieldsWithPrecision18) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"D");
  auto* a = db::DeclareField<db::TIntegerField>(&doc, ds, u"A");
  auto* b = db::DeclareField<db::TIntegerField>(&doc, ds, u"B");
  b->SetCalculated(true);
  auto* c = db::DeclareField<db::TStringField>(&doc, ds, u"C", 10);
  ds->Open();
  const db::TFieldDefs& defs = ds->FieldDefs();
  ASSERT_EQ(defs.Count(), 2);
  EXPECT_EQ(defs[0]->Name(), u"A");
  EXPECT_EQ(defs[0]->DataType(), TFieldType::ftInteger);
  EXPECT_EQ(defs[1]->Name(), u"C");
  EXPECT_EQ(defs[1]->Size(), 10);
  EXPECT_EQ(defs[0]->Precision(), 18);
  EXPECT_EQ(defs[1]->Precision(), 18);
  EXPECT_FALSE(defs.Updating());
  EXPECT_EQ(a->FieldNo(), 1);
  EXPECT_EQ(c->FieldNo(), 2);
  EXPECT_EQ(b->FieldNo(), -1);
  EXPECT_EQ(b->Offset(), 0);
  EXPECT_EQ(ds->CalcFieldsSize(), 5);
  ds->Close();
  EXPECT_EQ(a->FieldNo(), 0);
}

TEST(FieldDefs, SlotsOfCalculatedStringsAndBlobs) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"E");
  auto* s = db::DeclareField<db::TStringField>(&doc, ds, u"s", 3);
  s->SetCalculated(true);
  auto* i = db::DeclareField<db::TIntegerField>(&doc, ds, u"i");
  i->SetCalculated(true);
  auto* b1 = db::DeclareField<db::TBlobField>(&doc, ds, u"b1");
  auto* b2 = db::DeclareField<db::TMemoField>(&doc, ds, u"b2");
  ds->Open();
  EXPECT_EQ(s->Offset(), 0);
  EXPECT_EQ(i->Offset(), 5);  // a string of size 3 takes 3 + 2 positions
  EXPECT_EQ(ds->CalcFieldsSize(), 10);
  EXPECT_EQ(b1->Offset(), 0);
  EXPECT_EQ(b2->Offset(), 1);
  EXPECT_EQ(ds->BlobFieldCount(), 2);
  EXPECT_EQ(b2->FieldNo(), 2);
}

TEST(Declaration, NamesAndOwnershipInEitherOrder) {
  {
    Documento doc;
    auto* ds = new TZARPDataSet(&doc);
    ds->SetName(u"DATAA1");
    auto* f = db::DeclareField<db::TIntegerField>(&doc, ds, u"stamina");
    EXPECT_EQ(f->Name(), u"DATAA1stamina");
    EXPECT_EQ(doc.FindComponent(u"dataa1STAMINA"), f);
    EXPECT_EQ(ds->FindField(u"STAMINA"), f);
    EXPECT_EQ(ds->FindField(u"nada"), nullptr);
    EXPECT_THROW(ds->FieldByName(u"nada"), db::EDatabaseError);
    EXPECT_THROW(db::DeclareField<db::TIntegerField>(&doc, ds, u"Stamina"), db::EDatabaseError);
    ds->Open();
    EXPECT_THROW(db::DeclareField<db::TIntegerField>(&doc, ds, u"other"), db::EDatabaseError);
    delete ds;  // the field outlives it, detached
    EXPECT_EQ(f->DataSet(), nullptr);
    EXPECT_TRUE(f->FieldName() == u"stamina");
  }
  {
    Documento doc;
    Tabela t(doc);
    t.Fill(2);
    delete t.num;  // a field freed first leaves an open dataset consistent
    EXPECT_EQ(t.ds->FieldCount(), 1);
    t.nome->SetAsString("x");
    EXPECT_EQ(t.nome->AsString(), "x");
  }
  {
    // A dataset owning its own fields frees them with itself.
    auto* ds = new TZARPDataSet(nullptr);
    db::DeclareField<db::TStringField>(ds, ds, u"s", 4);
    ds->Open();
    ds->Append();
    ds->Post();
    delete ds;
  }
}

}  // namespace
}  // namespace zarp::test
