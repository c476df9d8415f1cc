// The window layer natively: one data event delivered to 500 bound links (against calling the
// same 500 handlers directly, and against the copy-and-search walk the sources used before), and
// a form of 100 edits, 120 labels and 10 panels created and destroyed on the offscreen backend.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/DataSource.h"
#include "db/Field.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace {

constexpr int kListeners = 500;

struct Sheet {
  Sheet() {
    ds = new zarp::TZARPDataSet(&owner);
    ds->SetName(u"TABELA");
    db::DeclareField<db::TIntegerField>(&owner, ds, u"num");
    ds->Open();
    ds->Append();
    ds->Post();
    source = new db::TDataSource(&owner);
    source->SetDataSet(ds);
    for (int i = 0; i < kListeners; ++i) {
      auto& link = links.emplace_back(std::make_unique<db::TFieldDataLink>());
      link->SetFieldName(u"num");
      link->OnDataChange = [this] { ++heard; };
      link->SetDataSource(source);
    }
  }
  ~Sheet() {
    for (auto& l : links) l->SetDataSource(nullptr);
  }
  rt::TComponent owner{nullptr};
  zarp::TZARPDataSet* ds = nullptr;
  db::TDataSource* source = nullptr;
  std::vector<std::unique_ptr<db::TFieldDataLink>> links;
  long heard = 0;
};

void BM_DataEventTo500Links(benchmark::State& state) {
  Sheet sheet;
  for (auto _ : state) sheet.ds->DataEvent(db::TDataEvent::deRecordChange, 0);
  benchmark::DoNotOptimize(sheet.heard);
  state.SetItemsProcessed(state.iterations() * kListeners);
}
BENCHMARK(BM_DataEventTo500Links);

// The floor: the 500 handlers a record change ends in, called straight from a vector.
void BM_Floor500HandlersCalledDirectly(benchmark::State& state) {
  long heard = 0;
  std::vector<std::function<void()>> handlers(kListeners, [&] { ++heard; });
  for (auto _ : state)
    for (auto& h : handlers) h();
  benchmark::DoNotOptimize(heard);
  state.SetItemsProcessed(state.iterations() * kListeners);
}
BENCHMARK(BM_Floor500HandlersCalledDirectly);

// What each event cost before: a copy of the list, and a search for each link still in it.
void BM_Before500LinksCopiedAndSearched(benchmark::State& state) {
  long heard = 0;
  std::vector<std::function<void()>> handlers(kListeners, [&] { ++heard; });
  std::vector<std::function<void()>*> list;
  for (auto& h : handlers) list.push_back(&h);
  for (auto _ : state) {
    auto copy = list;
    for (auto* h : copy)
      if (std::find(list.begin(), list.end(), h) != list.end()) (*h)();
  }
  benchmark::DoNotOptimize(heard);
  state.SetItemsProcessed(state.iterations() * kListeners);
}
BENCHMARK(BM_Before500LinksCopiedAndSearched);

void BM_OffscreenFormOf100Edits120Labels10Panels(benchmark::State& state) {
  ui::SetBackend(&ui::offscreen::Instance());
  for (auto _ : state) {
    auto form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 1375, 909);
    std::vector<ui::TPanel*> panels;
    for (int p = 0; p < 10; ++p) {
      auto* panel = new ui::TPanel(form.get());
      panel->SetParent(form.get());
      panel->SetBounds(10 + p * 130, 700, 120, 150);
      panels.push_back(panel);
    }
    for (int i = 0; i < 100; ++i) {
      auto* edit = new ui::TEdit(form.get());
      edit->SetParent(i < 80 ? static_cast<ui::TWinControl*>(form.get()) : panels[i % 10]);
      edit->SetBounds(10 + (i % 10) * 60, 10 + (i / 10) * 30, 50, 23);
    }
    for (int i = 0; i < 120; ++i) {
      auto* label = new ui::TLabel(form.get());
      label->SetParent(form.get());
      label->SetBounds(700 + (i % 6) * 100, 10 + (i / 6) * 20, 0, 0);
      label->SetCaption(u"Stamina");
    }
    form->Show();
    benchmark::DoNotOptimize(form->Handle());
  }
}
BENCHMARK(BM_OffscreenFormOf100Edits120Labels10Panels)->Unit(benchmark::kMicrosecond);

}  // namespace
