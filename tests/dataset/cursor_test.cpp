// Record numbers, the cursor, capacity growth and bookmarks of the record-buffer dataset.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

TEST(Cursor, EmptyDatasetHasNoRecordAndDropsWrites) {
  Documento doc;
  Tabela t(doc);
  int changes = 0;
  t.num->OnChange = [&](db::TField*) { ++changes; };
  EXPECT_EQ(t.ds->RecordCount(), 0);
  EXPECT_EQ(t.ds->RecNo(), 0);
  EXPECT_TRUE(t.ds->IsEmpty());
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_TRUE(t.nome->IsNull());
  t.num->SetAsInteger(5);
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(t.ds->RecordCount(), 0);
}

TEST(Cursor, AppendPostOnEmptyGivesRecordZeroCurrent) {
  Documento doc;
  Tabela t(doc);
  t.ds->Append();
  t.num->SetAsInteger(7);
  t.ds->Post();
  EXPECT_EQ(t.ds->RecordCount(), 1);
  EXPECT_EQ(t.ds->RecNo(), 0);
  EXPECT_EQ(t.num->AsInteger(), 7);
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
}

TEST(Cursor, CancelledInsertReturnsToWhereItBegan) {
  Documento doc;
  Tabela t(doc);
  t.ds->Append();
  t.ds->Cancel();
  EXPECT_TRUE(t.ds->IsEmpty());
  t.Fill(3, 10);
  t.ds->SetRecNo(1);
  t.ds->Insert();
  t.ds->Cancel();
  EXPECT_EQ(t.num->AsInteger(), 11);
  t.ds->Append();
  t.ds->Cancel();
  EXPECT_EQ(t.num->AsInteger(), 12);
  EXPECT_EQ(t.ds->RecordCount(), 3);
}

TEST(Cursor, InsertInTheMiddleIsStoredLastAndBecomesCurrent) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3, 10);
  t.ds->SetRecNo(1);
  ASSERT_EQ(t.num->AsInteger(), 11);
  t.ds->Insert();
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_EQ(t.ds->RecordCount(), 3);  // not counted before the post
  t.num->SetAsInteger(99);
  t.ds->Post();
  EXPECT_EQ(t.ds->RecordCount(), 4);
  EXPECT_EQ(t.ds->RecNo(), 3);
  EXPECT_EQ(t.num->AsInteger(), 99);
  EXPECT_EQ(t.Nums(), (std::vector<int>{10, 11, 12, 99}));
  EXPECT_EQ(t.ds->RegistrosInseridos(), 4);
}

TEST(Cursor, SetRecNoMovesWithoutScrollEvents) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3, 10);
  std::vector<std::string> log;
  LogEvents(*t.ds, log);
  t.ds->SetRecNo(1);
  EXPECT_EQ(t.ds->RecNo(), 1);
  EXPECT_EQ(t.num->AsInteger(), 11);
  EXPECT_TRUE(log.empty());
}

TEST(Cursor, NavigationBofEof) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3);
  t.ds->First();
  EXPECT_TRUE(t.ds->Bof());
  EXPECT_EQ(t.ds->RecNo(), 0);
  t.ds->Prior();
  EXPECT_TRUE(t.ds->Bof());
  t.ds->Last();
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(t.ds->RecNo(), 2);
  t.ds->Next();
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(t.ds->RecNo(), 2);
  EXPECT_EQ(t.ds->MoveBy(-2), -2);
  EXPECT_EQ(t.num->AsInteger(), 0);
}

TEST(Cursor, DeleteLastMovesToNewLastAndOnlyRecordEmpties) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3);
  t.ds->Last();
  t.ds->Delete();
  EXPECT_EQ(t.ds->RecordCount(), 2);
  EXPECT_EQ(t.ds->RecNo(), 1);
  EXPECT_EQ(t.num->AsInteger(), 1);

  Tabela u(doc, false);
  u.ds->SetName(u"OUTRA");
  u.ds->Open();
  u.Fill(1);
  u.ds->Delete();
  EXPECT_TRUE(u.ds->IsEmpty());
  EXPECT_EQ(u.ds->RegistroAtual(), -1);
  EXPECT_EQ(u.ds->RecordCount(), 0);
  EXPECT_THROW(u.ds->Delete(), db::EDatabaseError);
}

TEST(Cursor, DeleteSecondOfThreeShiftsTheThirdWithValuesAndStreams) {
  Documento doc;
  auto* ds = new TZARPDataSet(&doc);
  ds->SetName(u"B");
  auto* num = db::DeclareField<db::TIntegerField>(&doc, ds, u"num");
  auto* blob = db::DeclareField<db::TBlobField>(&doc, ds, u"dados");
  ds->Open();
  for (int i = 0; i < 3; ++i) {
    ds->Append();
    num->SetAsInteger(i);
    blob->SetAsString("blob" + std::to_string(i));
    ds->Post();
  }
  ds->SetRecNo(1);
  ds->Delete();
  EXPECT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(num->AsInteger(), 2);
  EXPECT_EQ(blob->AsString(), "blob2");
  ds->First();
  EXPECT_EQ(num->AsInteger(), 0);
  EXPECT_EQ(blob->AsString(), "blob0");
  EXPECT_EQ(ds->RegistrosDeletados(), 1);
}

TEST(Cursor, CapacityGrowsByHalfPlusOne) {
  Documento doc;
  Tabela t(doc);
  std::vector<int> capacities;
  for (int i = 0; i < 17; ++i) {
    t.Fill(1);
    if (capacities.empty() || capacities.back() != t.ds->CapacidadeBuffer())
      capacities.push_back(t.ds->CapacidadeBuffer());
  }
  EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 7, 11, 17}));
  // Deleting never shrinks it.
  t.ds->Delete();
  EXPECT_EQ(t.ds->CapacidadeBuffer(), 17);

  // Emptied, the table starts again from no capacity and empty slots, although it keeps the
  // memory of its records for the next ones.
  t.ds->LimparDataSet();
  EXPECT_EQ(t.ds->CapacidadeBuffer(), 0);
  t.ds->Append();
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_TRUE(t.nome->IsNull());
  t.ds->Post();
  t.Fill(2, 40);
  EXPECT_EQ(t.ds->CapacidadeBuffer(), 4);
  t.ds->First();
  EXPECT_TRUE(t.num->IsNull());
  EXPECT_EQ(t.Nums(), (std::vector<int>{0, 40, 41}));
}

// The slots live in chunks of growing size: every slot of the capacity is reachable, a slot keeps
// its address and value while the array grows past many chunks, and a small table reaches only a
// small first chunk.
TEST(Cursor, RecordSlotsStayInPlaceAcrossChunksOfGrowingSize) {
  TBufferDataSet slots;
  auto contar = [&] {
    size_t n = 0;
    slots.ParaCadaSlot([&](TBufferRecord&) { ++n; });
    return n;
  };
  while (slots.Capacity() < 3) slots.Grow();
  for (int i = 0; i < 3; ++i) slots[i].RecNo = i;
  EXPECT_EQ(contar(), 16u);

  std::vector<TBufferRecord*> enderecos;
  for (int i = 0; i < 5000; ++i) {
    while (slots.Capacity() <= i) slots.Grow();
    if (i >= 3) slots[i].RecNo = i;
    enderecos.push_back(&slots[i]);
  }
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(&slots[i], enderecos[i]) << i;
    ASSERT_EQ(slots[i].RecNo, i) << i;
  }
  // Distinct slots: no two indexes share one.
  std::sort(enderecos.begin(), enderecos.end());
  EXPECT_EQ(std::adjacent_find(enderecos.begin(), enderecos.end()), enderecos.end());
  // 16, 16, 32, ... 512, then chunks of 1024: slots 0 to 5119.
  EXPECT_EQ(contar(), 5120u);

  slots.Clear();
  EXPECT_EQ(slots.Capacity(), 0);
  slots.ParaCadaSlot([](TBufferRecord& r) { EXPECT_EQ(r.RecNo, 0); });
}

TEST(Bookmarks, NameAnIndexThatSurvivesEarlierDeletes) {
  Documento doc;
  Tabela t(doc);
  t.Fill(4, 10);
  t.ds->SetRecNo(2);
  db::TBookmark b = t.ds->GetBookmark();
  ASSERT_FALSE(b.IsNull());
  t.ds->First();
  t.ds->Delete();  // index 2 now holds what was index 3
  EXPECT_TRUE(t.ds->BookmarkValid(b));
  t.ds->GotoBookmark(b);
  EXPECT_EQ(t.num->AsInteger(), 13);
  t.ds->FreeBookmark(b);
  EXPECT_TRUE(b.IsNull());
}

TEST(Bookmarks, AnIndexThatIsGoneIsValidButGoingThereFails) {
  Documento doc;
  Tabela t(doc);
  t.Fill(3);
  t.ds->SetRecNo(2);
  db::TBookmark b = t.ds->GetBookmark();
  t.ds->Delete();
  EXPECT_TRUE(t.ds->BookmarkValid(b));
  EXPECT_THROW(t.ds->GotoBookmark(b), db::EDatabaseError);
}

TEST(Bookmarks, TakenDuringAnEditNamesTheWorkingCopy) {
  Documento doc;
  Tabela t(doc);
  t.Fill(2);
  t.ds->Edit();
  db::TBookmark b = t.ds->GetBookmark();
  int32_t value;
  std::memcpy(&value, b.Data(), 4);
  EXPECT_EQ(value, -4);
  EXPECT_THROW(t.ds->GotoBookmark(b), db::EDatabaseError);
}

TEST(Bookmarks, NoneDuringAnInsertOrOnAnEmptyDataset) {
  Documento doc;
  Tabela t(doc);
  EXPECT_TRUE(t.ds->GetBookmark().IsNull());
  EXPECT_FALSE(t.ds->BookmarkValid(db::TBookmark()));
  t.ds->Append();
  EXPECT_TRUE(t.ds->GetBookmark().IsNull());
}

TEST(Lifecycle, ReopeningEmptiesAndClosedDatasetRefusesNavigation) {
  Documento doc;
  Tabela t(doc);
  t.Fill(5);
  t.ds->LimparDataSet();
  EXPECT_TRUE(t.ds->Active());
  EXPECT_EQ(t.ds->RecordCount(), 0);
  t.Fill(2);
  t.ds->Close();
  EXPECT_THROW(t.ds->First(), db::EDatabaseError);
  EXPECT_THROW(t.ds->RecordCount(), db::EDatabaseError);
  EXPECT_THROW(t.ds->SetRecNo(0), db::EDatabaseError);
  // A field of a closed dataset reads as null and drops writes.
  EXPECT_TRUE(t.num->IsNull());
  t.num->SetAsInteger(3);
  EXPECT_EQ(t.num->AsInteger(), 0);
  t.ds->Open();
  EXPECT_EQ(t.ds->RecordCount(), 0);
}

}  // namespace
}  // namespace zarp::test
