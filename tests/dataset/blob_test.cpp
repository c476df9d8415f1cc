// Blob values through blob streams: null versus empty, several streams over one memory stream,
// browse writes, cancelled edits, ObterString and Seek.
#include <gtest/gtest.h>

#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

struct Blobs : ::testing::Test {
  Blobs() {
    ds = new TZARPDataSet(&doc);
    ds->SetName(u"B");
    num = db::DeclareField<db::TIntegerField>(&doc, ds, u"num");
    blob = db::DeclareField<db::TBlobField>(&doc, ds, u"blob");
    ds->Open();
    for (int i = 0; i < 2; ++i) {
      ds->Append();
      num->SetAsInteger(i);
      ds->Post();
    }
    ds->First();
  }
  std::unique_ptr<rt::TStream> Open(db::TBlobStreamMode mode) {
    return ds->CreateBlobStream(blob, mode);
  }
  Documento doc;
  TZARPDataSet* ds;
  db::TIntegerField* num;
  db::TBlobField* blob;
};

TEST_F(Blobs, ReadingANeverWrittenBlobLeavesItNull) {
  auto s = Open(db::TBlobStreamMode::bmRead);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->GetSize(), 0);
  char c;
  EXPECT_EQ(s->Read(&c, 1), 0);
  EXPECT_EQ(s->Seek(5, rt::TSeekOrigin::Beginning), 0);
  EXPECT_TRUE(blob->IsNull());
}

TEST_F(Blobs, OpeningForWriteCreatesAnEmptyValue) {
  Open(db::TBlobStreamMode::bmWrite);
  EXPECT_FALSE(blob->IsNull());
  EXPECT_EQ(blob->AsString(), "");
}

TEST_F(Blobs, StreamsKeepTheirOwnPositions) {
  auto w = Open(db::TBlobStreamMode::bmWrite);
  EXPECT_EQ(w->Write("abc", 3), 3);
  auto r = Open(db::TBlobStreamMode::bmRead);
  char buf[8] = {};
  EXPECT_EQ(r->Read(buf, 8), 3);
  EXPECT_EQ(std::string(buf, 3), "abc");
  EXPECT_EQ(w->Position(), 3);
  EXPECT_EQ(w->Write("d", 1), 1);
  EXPECT_EQ(blob->AsString(), "abcd");
  // The memory stream's own position is untouched by either view.
  auto* z = static_cast<TZBlobStream*>(r.get());
  EXPECT_EQ(z->MemoryStream()->Position(), 0);
}

TEST_F(Blobs, WriteModeEmptiesAndReadWriteKeeps) {
  blob->SetAsString("0123456789");
  auto rw = Open(db::TBlobStreamMode::bmReadWrite);
  EXPECT_EQ(rw->GetSize(), 10);
  EXPECT_EQ(rw->Seek(-1, rt::TSeekOrigin::End), 9);
  EXPECT_EQ(rw->Seek(-20, rt::TSeekOrigin::Current), -11);  // no clamping
  char c;
  EXPECT_EQ(rw->Read(&c, 1), 0);
  EXPECT_EQ(rw->Seek(2, static_cast<rt::TSeekOrigin>(7)), 0);
  EXPECT_EQ(rw->Seek(0, rt::TSeekOrigin::Current), -11);
  Open(db::TBlobStreamMode::bmWrite);
  EXPECT_EQ(blob->AsString(), "");
}

TEST_F(Blobs, BrowseWriteSurvivesScrolling) {
  blob->SetAsString("xyz");
  ds->Next();
  EXPECT_TRUE(blob->IsNull());
  ds->Prior();
  EXPECT_EQ(blob->AsString(), "xyz");
  EXPECT_EQ(ds->State(), db::TDataSetState::dsBrowse);
}

TEST_F(Blobs, CancelledEditKeepsOldBytesAndPostCopiesNewOnes) {
  blob->SetAsString("old");
  ds->Edit();
  blob->SetAsString("new");
  EXPECT_EQ(blob->AsString(), "new");
  ds->Cancel();
  EXPECT_EQ(blob->AsString(), "old");
  ds->Edit();
  blob->SetAsString("new");
  ds->Post();
  EXPECT_EQ(blob->AsString(), "new");
  // The posted copy is independent of the working copy the next edit makes.
  ds->Edit();
  blob->SetAsString("other");
  ds->Cancel();
  EXPECT_EQ(blob->AsString(), "new");
}

TEST_F(Blobs, WritingSendsNoFieldChange) {
  int changes = 0;
  blob->OnChange = [&](db::TField*) { ++changes; };
  blob->SetAsString("a");
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(ds->Modified());
}

TEST_F(Blobs, ClosedDatasetGivesNoStreamAndNoRecordGivesAnEmptyOne) {
  ds->LimparDataSet();
  auto s = Open(db::TBlobStreamMode::bmWrite);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Write("a", 1), 0);
  ds->Close();
  EXPECT_FALSE(Open(db::TBlobStreamMode::bmRead));
  auto n = ds->CreateBlobStream(num, db::TBlobStreamMode::bmWrite);
  EXPECT_FALSE(n);
}

TEST(MemoryStream, ObterStringLeavesThePosition) {
  TZMemoryStream m;
  m.Write("hello", 5);
  m.SetPosition(2);
  EXPECT_EQ(m.ObterString(), "hello");
  EXPECT_EQ(m.Position(), 2);
}

}  // namespace
}  // namespace zarp::test
