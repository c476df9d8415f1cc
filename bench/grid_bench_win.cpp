// The repeating control grid on real windows: one scroll step, Page Down and Home/End on 10^2
// and on 10^5 records, each with the repaint it causes (UpdateWindow), as medians of many runs;
// with the native windows the grid holds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/WinBenchHost.h"
#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "dbui/DBCtrlGrid.h"
#include "tests/dbui/BoundEdit.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Backend.h"

namespace {

// "r" and the record's number.
std::string RecordName(int i) {
  std::string text = std::to_string(i);
  text.insert(text.begin(), 'r');
  return text;
}

using benchwin::Pump;

// Microseconds, on the benchmarks' one clock.
double Now() {
  return benchwin::Now() * 1000.0;
}

struct Page {
  explicit Page(int records, HWND host) {
    ds = new zarp::TZARPDataSet(&owner);
    ds->SetName(u"DATAA8");
    auto* name = db::DeclareField<db::TStringField>(&owner, ds, u"nome", 40);
    ds->Open();
    for (int i = 0; i < records; ++i) {
      ds->Append();
      name->SetAsString(RecordName(i));
      ds->Post();
    }
    source = new db::TDataSource(&owner);
    source->SetDataSet(ds);
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
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
    form->EmbedInto(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)));
    ds->SetRecNo(records / 2);
    Pump();
  }
  // Median time of `key` then `back` (two moves, two repaints), in microseconds per move.
  double Time(WPARAM key, WPARAM back) {
    HWND hwnd = reinterpret_cast<HWND>(grid->CurrentHandle());
    std::vector<double> runs;
    for (int i = 0; i < 201; ++i) {
      const double t0 = Now();
      for (WPARAM k : {key, back}) {
        SendMessageW(hwnd, WM_KEYDOWN, k, 1);
        UpdateWindow(hwnd);
      }
      runs.push_back((Now() - t0) / 2);
    }
    std::nth_element(runs.begin(), runs.begin() + 100, runs.end());
    return runs[100];
  }
  rt::TComponent owner{nullptr};
  zarp::TZARPDataSet* ds = nullptr;
  db::TDataSource* source = nullptr;
  std::unique_ptr<ui::TForm> form;
  dbui::TDBCtrlGrid* grid = nullptr;
};

}  // namespace

int main() {
  HWND host = benchwin::NewHost();
  std::printf("%-10s %12s %12s %12s %8s\n", "records", "step us", "page us", "home/end us",
              "windows");
  for (int records : {100, 100000}) {
    const size_t before = ui::CurrentBackend().Counts().Windows;
    Page page(records, host);
    const size_t windows = ui::CurrentBackend().Counts().Windows - before - 1;  // not the form
    const double step = page.Time(VK_DOWN, VK_UP);
    const double pageDown = page.Time(VK_NEXT, VK_PRIOR);
    const double homeEnd = page.Time(VK_END, VK_HOME);
    std::printf("%-10d %12.1f %12.1f %12.1f %8zu\n", records, step, pageDown, homeEnd, windows);
  }
  DestroyWindow(host);
  return 0;
}
