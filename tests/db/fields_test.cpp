// The sheet's two field classes: text cut to Size, integer ranges with their messages, text
// assigned to integer fields, and values that fields refuse leaving the old value in place.
#include <gtest/gtest.h>

#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

struct Fields : ::testing::Test {
  Fields() {
    ds = new TZARPDataSet(&doc);
    ds->SetName(u"DATAA1");
    stamina = db::DeclareField<db::TIntegerField>(&doc, ds, u"stamina");
    stamina->SetMinValue(-999);
    stamina->SetMaxValue(999);
    pva = db::DeclareField<db::TIntegerField>(&doc, ds, u"pva");
    pva->SetMaxValue(99999999);
    pmb = db::DeclareField<db::TIntegerField>(&doc, ds, u"pmb");
    superior1 = db::DeclareField<db::TStringField>(&doc, ds, u"superior1", 1);
    cut = db::DeclareField<db::TStringField>(&doc, ds, u"cut", 8192);
    whole = db::DeclareField<db::TStringField>(&doc, ds, u"whole", 99999);
    ds->Open();
    ds->Append();
  }
  static std::u16string MessageOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const rt::Exception& e) {
      return e.Message();
    }
    return u"(no error)";
  }
  Documento doc;
  TZARPDataSet* ds;
  db::TIntegerField *stamina, *pva, *pmb;
  db::TStringField *superior1, *cut, *whole;
};

TEST_F(Fields, NeverAssignedReadsAsZeroAndEmpty) {
  EXPECT_EQ(pva->AsInteger(), 0);
  EXPECT_EQ(superior1->AsString(), "");
  EXPECT_TRUE(pva->IsNull());
}

TEST_F(Fields, RangeMessagesAndTheOldValueStays) {
  stamina->SetAsInteger(5);
  EXPECT_EQ(MessageOf([&] { stamina->SetAsInteger(1000); }),
            u"1000 is not a valid value for field 'stamina'. The allowed range is -999 to 999");
  EXPECT_EQ(stamina->AsInteger(), 5);
  EXPECT_EQ(MessageOf([&] { pva->SetAsInteger(-1); }),
            u"-1 is not a valid value for field 'pva'. The allowed range is 0 to 99999999");
  EXPECT_TRUE(pva->IsNull());
  pva->SetAsInteger(99999999);
  EXPECT_EQ(pva->AsInteger(), 99999999);
  for (int32_t v : {-1, INT32_MIN, INT32_MAX}) {
    pmb->SetAsInteger(v);
    EXPECT_EQ(pmb->AsInteger(), v);
  }
  EXPECT_THROW(stamina->SetAsVariant(rt::Variant(INT64_C(5000000000))), db::EDatabaseError);
}

TEST_F(Fields, TextAssignedToIntegerFields) {
  stamina->SetAsString(" 7");
  EXPECT_EQ(stamina->AsInteger(), 7);
  stamina->SetAsString("$A");
  EXPECT_EQ(stamina->AsInteger(), 10);
  EXPECT_EQ(MessageOf([&] { stamina->SetAsString("7 "); }),
            u"'7 ' is not a valid integer value for field 'stamina'");
  EXPECT_EQ(stamina->AsInteger(), 10);
  EXPECT_EQ(MessageOf([&] { stamina->SetAsString("1000"); }),
            u"1000 is not a valid value for field 'stamina'. The allowed range is -999 to 999");
  stamina->SetAsString("");
  EXPECT_TRUE(stamina->IsNull());
  EXPECT_EQ(stamina->AsString(), "");
}

TEST_F(Fields, VariantsConvertToTheFieldsKind) {
  stamina->SetAsVariant(rt::Variant("12"));
  EXPECT_EQ(stamina->AsVariant(), rt::Variant(12));
  EXPECT_THROW(stamina->SetAsVariant(rt::Variant("doze")), rt::EVariantError);
  EXPECT_EQ(stamina->AsInteger(), 12);
  stamina->SetAsVariant(rt::Variant::Null());
  EXPECT_TRUE(stamina->IsNull());
  superior1->SetAsVariant(rt::Variant::OfInteger(rt::varSmallint, 42));
  EXPECT_EQ(superior1->AsString(), "4");
  EXPECT_EQ(superior1->AsVariant(), rt::Variant("4"));
}

TEST_F(Fields, TextIsCutToSizeUpTo8192AndKeptWholeAbove) {
  superior1->SetAsString("ab");
  EXPECT_EQ(superior1->AsString(), "a");
  cut->SetAsString(std::string(9000, 'x'));
  EXPECT_EQ(cut->AsString().size(), 8192u);
  whole->SetAsString(std::string(20000, 'y'));
  EXPECT_EQ(whole->AsString().size(), 20000u);
}

TEST_F(Fields, StringFieldsReadAsWholeNumbers) {
  superior1->SetAsString("7");
  EXPECT_EQ(superior1->AsInteger(), 7);
  superior1->SetAsString("a");
  EXPECT_EQ(MessageOf([&] { (void)superior1->AsInteger(); }),
            u"''a'' is not a valid integer value");
}

TEST_F(Fields, KindsAndFlags) {
  EXPECT_EQ(stamina->DataType(), db::TFieldType::ftInteger);
  EXPECT_EQ(stamina->DataSize(), 4);
  EXPECT_EQ(superior1->DataSize(), 2);
  EXPECT_EQ(superior1->DisplayWidth(), 1);
  EXPECT_FALSE(stamina->IsBlob());
  EXPECT_TRUE(stamina->CanModify());
  stamina->SetReadOnly(true);
  EXPECT_FALSE(stamina->CanModify());
  EXPECT_EQ(stamina->Index(), 0);
  EXPECT_THROW(stamina->SetSize(3), db::EDatabaseError);  // the dataset is open
}

TEST(FieldsWithoutDataSet, RefuseValues) {
  db::TIntegerField f(nullptr);
  EXPECT_THROW(f.SetAsInteger(1), db::EDatabaseError);
  EXPECT_THROW((void)f.IsNull(), db::EDatabaseError);
}

TEST(RequiredFields, PostFailsAndTheInsertStays) {
  Documento doc;
  Tabela t(doc);
  t.num->SetRequired(false);
  t.ds->Close();
  t.nome->SetRequired(true);
  t.ds->Open();
  t.ds->Append();
  try {
    t.ds->Post();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"Field 'nome' must have a value");
  }
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsInsert);
  t.ds->OnPostError = [&](db::TDataSet*, db::EDatabaseError&, db::TDataAction& a) {
    t.nome->SetAsString("ok");
    a = db::TDataAction::daRetry;
  };
  t.ds->Post();
  EXPECT_EQ(t.ds->RecordCount(), 1);
}

}  // namespace
}  // namespace zarp::test
