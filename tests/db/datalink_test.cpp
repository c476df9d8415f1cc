// Data links looking through the dataset's buffer window: which records a 6-buffer link shows
// while scrolling, inserting and deleting; the traffic it hears; DisableControls; field links.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "db/DataSource.h"
#include "tests/dataset/TestTable.h"

namespace zarp::test {
namespace {

struct Link : db::TDataLink {
  // The stored index each slot of this link's slice shows (-3 for a record being inserted).
  std::vector<int> Shown() const {
    std::vector<int> out;
    for (int i = 0; i < RecordCount(); ++i) out.push_back(TZCustomDataSet::ValorBuffer(Buffer(i)));
    return out;
  }
  int changed = 0, scrolled = 0, records = 0, editing = 0, active = 0, checks = 0;
  int lastScroll = 0;

 protected:
  void DataSetChanged() override { ++changed; }
  void DataSetScrolled(int distance) override {
    ++scrolled;
    lastScroll = distance;
  }
  void RecordChanged(db::TField*) override { ++records; }
  void EditingChanged() override { ++editing; }
  void ActiveChanged() override { ++active; }
  void CheckBrowseMode() override { ++checks; }
};

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

struct Window : ::testing::Test {
  Window() : t(doc) {
    t.Fill(20);
    source = new db::TDataSource(&doc);
    source->SetDataSet(t.ds);
    link.SetBufferCount(6);
    link.SetDataSource(source);
  }
  ~Window() override { link.SetDataSource(nullptr); }
  int ActiveNum() { return t.num->AsInteger(); }
  Documento doc;
  Tabela t;
  db::TDataSource* source;
  Link link;
};

TEST_F(Window, ScrollingThroughTwentyRecords) {
  EXPECT_EQ(t.ds->BufferCount(), 6);
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(link.Shown(), Range(14, 19));  // filled backwards from the current, last record
  EXPECT_EQ(link.ActiveRecord(), 5);

  t.ds->First();
  EXPECT_EQ(link.Shown(), Range(0, 5));
  EXPECT_EQ(link.ActiveRecord(), 0);
  for (int i = 1; i <= 5; ++i) {
    t.ds->Next();
    EXPECT_EQ(link.ActiveRecord(), i);
    EXPECT_EQ(link.Shown(), Range(0, 5));
  }
  link.scrolled = 0;
  t.ds->Next();  // past the window: it moves by one record
  EXPECT_EQ(link.Shown(), Range(1, 6));
  EXPECT_EQ(link.ActiveRecord(), 5);
  EXPECT_EQ(ActiveNum(), 6);
  EXPECT_EQ(link.scrolled, 1);

  t.ds->MoveBy(10);
  EXPECT_EQ(link.Shown(), Range(11, 16));
  EXPECT_EQ(ActiveNum(), 16);
  t.ds->MoveBy(100);
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(link.Shown(), Range(14, 19));

  t.ds->MoveBy(-10);  // up inside the window, then the window follows
  EXPECT_EQ(ActiveNum(), 9);
  EXPECT_EQ(link.ActiveRecord(), 0);
  EXPECT_EQ(link.Shown(), Range(9, 14));
  t.ds->Prior();
  EXPECT_EQ(link.Shown(), Range(8, 13));
  EXPECT_EQ(ActiveNum(), 8);
}

TEST_F(Window, InsertingInTheMiddle) {
  t.ds->First();
  t.ds->MoveBy(10);
  ASSERT_EQ(link.Shown(), Range(5, 10));
  t.ds->Insert();
  // The new record takes the active slot; the records after it move down one slot.
  EXPECT_EQ(link.Shown(), (std::vector<int>{5, 6, 7, 8, 9, -3}));
  EXPECT_EQ(link.ActiveRecord(), 5);
  t.num->SetAsInteger(100);
  t.ds->Post();
  // Stored as the 21st record and shown at the end of the table.
  EXPECT_EQ(link.Shown(), Range(15, 20));
  EXPECT_EQ(ActiveNum(), 100);
  EXPECT_EQ(t.ds->RecNo(), 20);
}

TEST_F(Window, InsertingAtTheTopOfTheWindow) {
  t.ds->First();
  t.ds->MoveBy(10);
  t.ds->MoveBy(-5);
  ASSERT_EQ(link.ActiveRecord(), 0);
  ASSERT_EQ(link.Shown(), Range(5, 10));
  t.ds->Insert();
  EXPECT_EQ(link.Shown(), (std::vector<int>{-3, 5, 6, 7, 8, 9}));
  t.ds->Cancel();
  EXPECT_EQ(t.ds->RecordCount(), 20);
  // Back on the record where the insert began, in the same window.
  EXPECT_EQ(ActiveNum(), 5);
  EXPECT_EQ(link.Shown(), Range(5, 10));
  t.ds->Last();
  t.ds->Append();
  EXPECT_EQ(link.Shown(), (std::vector<int>{15, 16, 17, 18, 19, -3}));
  t.ds->Cancel();
  EXPECT_EQ(ActiveNum(), 19);
  EXPECT_EQ(link.Shown(), Range(14, 19));
}

TEST_F(Window, DeletingInTheMiddle) {
  t.ds->First();
  t.ds->MoveBy(8);
  ASSERT_EQ(link.Shown(), Range(3, 8));
  t.ds->Prior();
  t.ds->Prior();  // record 6, slot 3
  ASSERT_EQ(link.ActiveRecord(), 3);
  t.ds->Delete();
  // The same slots now show what followed: record 7 took index 6.
  EXPECT_EQ(link.Shown(), Range(3, 8));
  EXPECT_EQ(link.ActiveRecord(), 3);
  EXPECT_EQ(ActiveNum(), 7);
  EXPECT_EQ(t.ds->RecordCount(), 19);
  EXPECT_EQ(t.Nums().size(), 19u);
}

TEST_F(Window, DeletingTheLastRecordsShrinksTheShownRecords) {
  t.ds->Last();
  for (int i = 0; i < 17; ++i) t.ds->Delete();
  EXPECT_EQ(link.Shown(), Range(0, 2));
  EXPECT_EQ(link.RecordCount(), 3);
  EXPECT_EQ(ActiveNum(), 2);
}

TEST_F(Window, TrafficOfOneEdit) {
  t.ds->First();
  link.changed = link.records = link.editing = link.checks = 0;
  t.ds->Edit();
  EXPECT_EQ(link.editing, 1);
  EXPECT_EQ(link.records, 1);  // the record change of Edit
  t.num->SetAsInteger(5);
  EXPECT_EQ(link.records, 2);  // the field change
  t.ds->Post();
  EXPECT_EQ(link.editing, 2);
  EXPECT_GE(link.checks, 1);
  EXPECT_EQ(link.changed, 1);  // Post's resync
}

TEST_F(Window, DisableControlsSuppressesEverythingUntilOneChangeAtTheEnd) {
  link.changed = link.scrolled = link.records = link.editing = 0;
  t.ds->DisableControls();
  t.ds->DisableControls();
  t.ds->First();
  t.ds->Next();
  t.ds->Edit();
  t.num->SetAsInteger(3);
  t.ds->Post();
  t.ds->Append();
  t.ds->Post();
  t.ds->EnableControls();
  EXPECT_EQ(link.changed + link.scrolled + link.records + link.editing, 0);
  t.ds->EnableControls();
  EXPECT_EQ(link.changed, 1);
  EXPECT_EQ(link.scrolled + link.records + link.editing, 0);
  EXPECT_FALSE(t.ds->ControlsDisabled());
  // The window is right again after the burst.
  EXPECT_EQ(link.Shown(), Range(15, 20));
}

TEST_F(Window, ClosingDeactivatesAndFreeingInEitherOrderIsSafe) {
  t.ds->Close();
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(link.RecordCount(), 0);
  t.ds->Open();
  EXPECT_TRUE(link.Active());
  delete source;  // the link is detached
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_EQ(t.ds->BufferCount(), 1);
  auto* again = new db::TDataSource(&doc);
  again->SetDataSet(t.ds);
  link.SetDataSource(again);
  delete t.ds;  // the source forgets its dataset
  EXPECT_EQ(again->DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
}

TEST_F(Window, SmallerBufferCountKeepsTheActiveRecordShown) {
  t.ds->First();
  t.ds->MoveBy(10);
  link.SetBufferCount(2);
  EXPECT_EQ(t.ds->BufferCount(), 2);
  EXPECT_EQ(ActiveNum(), 10);
  ASSERT_EQ(link.RecordCount(), 2);
  std::vector<int> shown = link.Shown();
  EXPECT_EQ(shown[static_cast<size_t>(link.ActiveRecord())], 10);
  t.ds->Next();
  EXPECT_EQ(ActiveNum(), 11);
}

struct FieldLinkTest : ::testing::Test {
  FieldLinkTest() : t(doc) {
    t.Fill(2, 10);
    t.ds->First();
    source = new db::TDataSource(&doc);
    source->SetDataSet(t.ds);
    link.OnDataChange = [this] {
      text = link.Field() ? link.Field()->AsString() : std::string();
      ++shown;
    };
    link.OnUpdateData = [this] { t.num->SetAsString(text); };
    link.SetDataSource(source);
    link.SetFieldName(u"NUM");
  }
  ~FieldLinkTest() override { link.SetDataSource(nullptr); }
  Documento doc;
  Tabela t;
  db::TDataSource* source;
  db::TFieldDataLink link;
  std::string text;
  int shown = 0;
};

TEST_F(FieldLinkTest, ShowsEditsAndCommitsThroughTheField) {
  EXPECT_EQ(link.Field(), t.num);
  EXPECT_EQ(text, "10");
  ASSERT_TRUE(link.Edit());
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsEdit);
  text = "42";
  link.Modified();
  t.ds->Post();  // asks the link for its pending value first
  EXPECT_EQ(t.num->AsInteger(), 42);
  EXPECT_FALSE(link.IsModified());
  t.ds->Next();
  EXPECT_EQ(text, "11");
  text = "junk";
  link.Reset();
  EXPECT_EQ(text, "11");
}

TEST_F(FieldLinkTest, RefusesToEditACalculatedOrReadOnlyField) {
  t.num->SetReadOnly(true);
  EXPECT_FALSE(link.CanModify());
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(t.ds->State(), db::TDataSetState::dsBrowse);
  t.num->SetReadOnly(false);
  source->SetAutoEdit(false);
  EXPECT_FALSE(link.Edit());
}

TEST_F(FieldLinkTest, AFreedFieldIsDropped) {
  delete t.num;
  EXPECT_EQ(link.Field(), nullptr);
}

}  // namespace
}  // namespace zarp::test

namespace zarp::test {
namespace {

// A link that acts on the list of links while it hears an event.
struct Meddler : Link {
  std::function<void()> onEvent;

 protected:
  void DataSetChanged() override {
    Link::DataSetChanged();
    if (onEvent) onEvent();
  }
  void DataSetScrolled(int distance) override {
    Link::DataSetScrolled(distance);
    if (onEvent) onEvent();
  }
};

int Heard(const Link& l) {
  return l.changed + l.scrolled;
}

TEST_F(Window, LinksThatLeaveDuringAnEventAreSkippedAndLinksThatJoinHearTheNextOne) {
  Meddler first, third;
  Link second, fourth;
  first.SetDataSource(source);
  second.SetDataSource(source);
  third.SetDataSource(source);
  // The first link detaches the second (not yet notified) and itself, and attaches a fourth.
  first.onEvent = [&] {
    second.SetDataSource(nullptr);
    first.SetDataSource(nullptr);
    fourth.SetDataSource(source);
  };
  // The third frees a link that comes after it, which must then not be called.
  auto* late = new Link;
  late->SetDataSource(source);
  third.onEvent = [&] {
    delete late;
    late = nullptr;
  };
  const int before = Heard(link);
  t.ds->Prior();
  EXPECT_EQ(Heard(first), 1);
  EXPECT_EQ(Heard(second), 0);
  EXPECT_EQ(Heard(third), 1);
  EXPECT_EQ(Heard(fourth), 0);  // joined during the event
  EXPECT_EQ(Heard(link), before + 1);
  t.ds->Prior();
  EXPECT_EQ(Heard(first), 1);
  EXPECT_EQ(Heard(third), 2);
  EXPECT_EQ(Heard(fourth), 1);
  EXPECT_EQ(Heard(link), before + 2);
  third.onEvent = nullptr;
  third.SetDataSource(nullptr);
  fourth.SetDataSource(nullptr);
}

}  // namespace
}  // namespace zarp::test
