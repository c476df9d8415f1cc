// The host-bound dataset's read-only refusals and its change notices to the owner: which
// operations notify, how often, and where the notice falls among the events.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

using Log = std::vector<std::string>;

struct Fixture : ::testing::Test {
  Fixture() : t(doc) {
    t.Fill(3, 10);
    t.ds->SetRecNo(1);
    doc.notices = 0;
    LogEvents(*t.ds, doc.log);
    doc.log.clear();
  }
  bool Logged(const std::string& e) const {
    return std::find(doc.log.begin(), doc.log.end(), e) != doc.log.end();
  }
  Documento doc;
  Tabela t;
};

using ReadOnly = Fixture;
using Notices = Fixture;

TEST_F(ReadOnly, EditInsertAppendDeleteAreRefusedBeforeAnyBeforeHandler) {
  t.ds->SetSomenteLeitura(true);
  EXPECT_THROW(t.ds->Edit(), EZARPSomenteLeitura);
  EXPECT_THROW(t.ds->Insert(), EZARPSomenteLeitura);
  EXPECT_THROW(t.ds->Append(), EZARPSomenteLeitura);
  EXPECT_THROW(t.ds->Delete(), EZARPSomenteLeitura);
  EXPECT_FALSE(Logged("BeforeEdit"));
  EXPECT_FALSE(Logged("BeforeInsert"));
  EXPECT_FALSE(Logged("BeforeDelete"));
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(t.ds->RecordCount(), 3);
  EXPECT_EQ(doc.notices, 0);
}

TEST_F(ReadOnly, TheRefusalIsASilentAbortWithAnEmptyMessage) {
  t.ds->SetSomenteLeitura(true);
  try {
    t.ds->Edit();
    FAIL();
  } catch (const rt::EAbort& e) {
    EXPECT_TRUE(e.Message().empty());
  }
}

TEST_F(ReadOnly, EditOnEmptyGoesThroughTheInsertGuard) {
  t.ds->LimparDataSet();
  t.ds->SetSomenteLeitura(true);
  EXPECT_THROW(t.ds->Edit(), EZARPSomenteLeitura);
  EXPECT_FALSE(Logged("BeforeInsert"));
}

TEST_F(ReadOnly, DeleteOnEmptyFailsWithTheEmptyDatasetError) {
  t.ds->LimparDataSet();
  t.ds->SetSomenteLeitura(true);
  try {
    t.ds->Delete();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"Cannot perform this operation on an empty dataset");
  }
}

TEST_F(ReadOnly, BrowseFieldWritesAreStoredWithoutNotice) {
  t.ds->SetSomenteLeitura(true);
  t.num->SetAsInteger(77);
  t.ds->First();
  t.ds->SetRecNo(1);
  EXPECT_EQ(t.num->AsInteger(), 77);
  EXPECT_EQ(doc.notices, 0);
}

TEST_F(ReadOnly, WritingTheFlagDuringAnEditCancelsItAndNotifiesOnce) {
  for (bool value : {true, false}) {
    t.ds->Edit();
    t.num->SetAsInteger(500);
    doc.log.clear();
    doc.notices = 0;
    t.ds->SetSomenteLeitura(value);
    EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(t.num->AsInteger(), 11);
    EXPECT_EQ(doc.notices, 1);
    EXPECT_EQ(doc.log, (Log{"BeforeCancel", "AfterCancel", "notice"}));
    t.ds->SetSomenteLeitura(false);
  }
}

TEST_F(ReadOnly, WritingTheFlagInBrowseDoesNothingElse) {
  t.ds->SetSomenteLeitura(true);
  t.ds->SetSomenteLeitura(false);
  EXPECT_TRUE(doc.log.empty());
  EXPECT_EQ(doc.notices, 0);
}

TEST_F(Notices, EditFallsAfterAfterEditAndPostSendsNone) {
  t.ds->Edit();
  EXPECT_EQ(doc.log, (Log{"BeforeEdit", "AfterEdit", "notice"}));
  t.num->SetAsInteger(1);
  t.ds->Post();
  EXPECT_EQ(doc.notices, 1);
  EXPECT_EQ(doc.lastNotified, t.ds);
  EXPECT_EQ(doc.refs, 0);  // the interface is released after each call
}

TEST_F(Notices, InsertFallsBeforeAfterScroll) {
  t.ds->Insert();
  EXPECT_EQ(doc.log, (Log{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "notice",
                          "AfterScroll"}));
}

TEST_F(Notices, AppendThenCancelNotifiesTwice) {
  t.ds->Append();
  t.ds->Cancel();
  EXPECT_EQ(doc.notices, 2);
  EXPECT_EQ(doc.log, (Log{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "notice",
                          "AfterScroll", "BeforeCancel", "BeforeScroll", "AfterCancel", "notice",
                          "AfterScroll"}));
  EXPECT_EQ(t.ds->RecordCount(), 3);
  EXPECT_EQ(t.num->AsInteger(), 12);  // back on the last record
}

TEST_F(Notices, DeleteDuringAnEditRemovesNothingAndNotifiesOnce) {
  t.ds->Edit();
  t.num->SetAsInteger(99);
  doc.notices = 0;
  doc.log.clear();
  t.ds->Delete();
  EXPECT_EQ(t.ds->RecordCount(), 3);
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(t.num->AsInteger(), 11);
  EXPECT_EQ(doc.notices, 1);
  EXPECT_EQ(doc.log, (Log{"BeforeDelete", "BeforeScroll", "AfterDelete", "notice", "AfterScroll"}));
}

TEST_F(Notices, DeleteDuringAnInsertIsACancelWithoutGuard) {
  t.ds->Append();
  t.ds->SetSomenteLeitura(true);  // cancels the insert already
  t.ds->SetSomenteLeitura(false);
  t.ds->Append();
  doc.log.clear();
  doc.notices = 0;
  t.ds->Delete();
  EXPECT_EQ(t.ds->RecordCount(), 3);
  EXPECT_EQ(doc.notices, 1);
  EXPECT_FALSE(Logged("BeforeDelete"));
}

TEST_F(Notices, DeleteInBrowseRemovesAndNotifies) {
  t.ds->Delete();
  EXPECT_EQ(t.ds->RecordCount(), 2);
  EXPECT_EQ(doc.notices, 1);
  EXPECT_EQ(t.num->AsInteger(), 12);
}

TEST_F(Notices, OpenCloseRefreshScrollAndClearingSendNone) {
  t.ds->First();
  t.ds->Next();
  t.ds->Refresh();
  t.ds->AbrirNormal();
  t.Fill(2);
  doc.notices = 0;
  t.ds->LimparDataSet();
  EXPECT_EQ(doc.notices, 0);
  EXPECT_TRUE(t.ds->Active());
  EXPECT_EQ(t.ds->RecordCount(), 0);
}

TEST_F(Notices, AFailingOwnerPropagatesAfterTheOperationCompleted) {
  struct Falha : Documento {
    void NotificarAlteracao(db::TDataSet*) override { throw rt::Exception(u"host failed"); }
  } falha;
  Tabela u(falha);
  EXPECT_THROW(u.ds->Append(), rt::Exception);
  EXPECT_EQ(u.ds->State(), db::TDataSetState::dsInsert);  // the insert itself went through
}

TEST(NoOwner, OperationsRunWithoutNotices) {
  Documento semInterface(false);
  Tabela t(semInterface);
  t.Fill(2);
  t.ds->Edit();
  t.ds->Cancel();
  t.ds->Delete();
  EXPECT_EQ(semInterface.notices, 0);

  TZARPDataSet orfao(nullptr);
  auto* f = db::DeclareField<db::TIntegerField>(nullptr, &orfao, u"x");
  orfao.Open();
  orfao.Append();
  f->SetAsInteger(1);
  orfao.Post();
  orfao.Delete();
  EXPECT_EQ(orfao.RecordCount(), 0);
  orfao.Close();
  delete f;
}

}  // namespace
}  // namespace zarp::test
