// The repeating control grid natively: one scroll step, Page Down and Home/End on 10^2 and on
// 10^5 records, each followed by the repaint of the page it shows. A step must cost the same for
// both lengths; End must not walk the records. The counters give the native windows the grid
// holds (the live panel and its edits; the other panels are painted).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "dbui/DBCtrlGrid.h"
#include "tests/dbui/BoundEdit.h"
#include "ui/Forms.h"
#include "ui/offscreen/Offscreen.h"

namespace {

// "r" and the record's number.
std::string RecordName(int i) {
  std::string text = std::to_string(i);
  text.insert(text.begin(), 'r');
  return text;
}

struct Page {
  explicit Page(int records) {
    ui::SetBackend(&backend);
    ds = new zarp::TZARPDataSet(&owner);
    ds->SetName(u"DATAA8");
    auto* name = db::DeclareField<db::TStringField>(&owner, ds, u"nome", 40);
    ds->Open();
    for (int i = 0; i < records; ++i) {
      ds->Append();
      name->SetAsString(RecordName(i));
      ds->Post();
    }
    ds->First();
    source = new db::TDataSource(&owner);
    source->SetDataSet(ds);
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 500, 400);
    grid = new dbui::TDBCtrlGrid(form.get());
    grid->SetParent(form.get());
    grid->SetLayout(2, 3, 180, 53);
    grid->SetDataSource(source);
    for (int x : {3, 90}) {
      auto* edit = new dbuitest::BoundEdit(form.get());
      edit->SetParent(&grid->Panel());
      edit->SetBounds(x, 3, 80, 27);
      edit->Bind(source, u"nome");
    }
    form->Show();
    ui::offscreen::Focus(*grid);
    ds->SetRecNo(records / 2);
  }
  ~Page() { form.reset(); }

  void Key(uint16_t key) {
    ui::offscreen::PressKey(*grid, key);
    benchmark::DoNotOptimize(backend.Paint(*grid));
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  rt::TComponent owner{nullptr};
  zarp::TZARPDataSet* ds = nullptr;
  db::TDataSource* source = nullptr;
  std::unique_ptr<ui::TForm> form;
  dbui::TDBCtrlGrid* grid = nullptr;
};

void Report(benchmark::State& state, Page& page) {
  const size_t all = page.backend.Counts().Windows;
  state.counters["grid_windows"] = static_cast<double>(all - 1);  // all but the form
}

// One step forward and one back per iteration: two moves and two repaints.
void BM_ScrollStep(benchmark::State& state) {
  Page page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    page.Key(ui::vkDown);
    page.Key(ui::vkUp);
  }
  Report(state, page);
}
BENCHMARK(BM_ScrollStep)->Arg(100)->Arg(100000);

void BM_PageDownAndUp(benchmark::State& state) {
  Page page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    page.Key(ui::vkNext);
    page.Key(ui::vkPrior);
  }
  Report(state, page);
}
BENCHMARK(BM_PageDownAndUp)->Arg(100)->Arg(100000);

void BM_HomeAndEnd(benchmark::State& state) {
  Page page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    page.Key(ui::vkEnd);
    page.Key(ui::vkHome);
  }
  Report(state, page);
}
BENCHMARK(BM_HomeAndEnd)->Arg(100)->Arg(100000);

// The floor: the repaint of the page alone, without moving.
void BM_RepaintOnly(benchmark::State& state) {
  Page page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    page.grid->Invalidate();
    benchmark::DoNotOptimize(page.backend.Paint(*page.grid));
  }
  Report(state, page);
}
BENCHMARK(BM_RepaintOnly)->Arg(100)->Arg(100000);

}  // namespace
