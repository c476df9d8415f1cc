// Creating, embedding and destroying a form of 100 bound edits and 10 bound memos on the Windows
// backend, bound to a host-bound dataset with one record, against the floor of creating and
// destroying the same native windows bare with CreateWindowEx in the same run. Prints the median
// of each and their ratio, with the native windows and GDI objects the form held.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/WinBenchHost.h"
#include "dataset/ZARPDataSet.h"
#include "db/DataSource.h"
#include "db/Field.h"
#include "dbui/DBEdits.h"
#include "runtime/Exception.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Backend.h"

namespace {

constexpr int kRuns = 21;
constexpr int kEdits = 100, kMemos = 10;

using benchwin::NewHost;
using benchwin::Now;
using benchwin::Pump;

ui::NativeObjectCounts held;

// The sheet's shape: one record of 100 short texts and 10 notes.
struct Sheet {
  Sheet() {
    ds = new zarp::TZARPDataSet(&owner);
    ds->SetName(u"DATA");
    for (int i = 0; i < kEdits; ++i)
      db::DeclareField<db::TStringField>(&owner, ds, u"e" + rt::Utf8ToUtf16(std::to_string(i)), 20);
    for (int i = 0; i < kMemos; ++i)
      db::DeclareField<db::TStringField>(&owner, ds, u"m" + rt::Utf8ToUtf16(std::to_string(i)),
                                         255);
    ds->Open();
    ds->Append();
    for (int i = 0; i < ds->FieldCount(); ++i) ds->Fields().Fields(i)->SetAsString("12");
    ds->Post();
    source = new db::TDataSource(&owner);
    source->SetDataSet(ds);
  }
  rt::TComponent owner{nullptr};
  zarp::TZARPDataSet* ds;
  db::TDataSource* source;
};

double Toolkit(HWND host, Sheet& sheet) {
  const double start = Now();
  {
    auto form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 1375, 909);
    form->SetColor(ui::clWhite);
    for (int i = 0; i < kEdits; ++i) {
      auto* edit = new dbui::TDBEdit(form.get());
      edit->SetParent(form.get());
      edit->SetBounds(10 + (i % 10) * 60, 10 + (i / 10) * 30, 50, 23);
      edit->SetFont({u"Tahoma", -16, ui::clWindowText, ui::fsBold});
      edit->SetDataSource(sheet.source);
      edit->SetDataField(u"e" + rt::Utf8ToUtf16(std::to_string(i)));
    }
    for (int i = 0; i < kMemos; ++i) {
      auto* memo = new dbui::TDBMemo(form.get());
      memo->SetParent(form.get());
      memo->SetBounds(700, 10 + i * 80, 200, 70);
      memo->SetScrollBars(ui::TScrollStyle::ssVertical);
      memo->SetDataSource(sheet.source);
      memo->SetDataField(u"m" + rt::Utf8ToUtf16(std::to_string(i)));
    }
    form->EmbedInto(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)));
    held = ui::win32::Counts();
  }
  return Now() - start;
}

double Floor(HWND host) {
  const double start = Now();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND form = CreateWindowExW(0, L"VELBenchPlain", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1375, 909,
                              nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < kEdits; ++i)
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"12",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL,
                    10 + (i % 10) * 60, 10 + (i / 10) * 30, 50, 23, form, nullptr, instance,
                    nullptr);
  for (int i = 0; i < kMemos; ++i)
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"12",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL |
                        ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                    700, 10 + i * 80, 200, 70, form, nullptr, instance, nullptr);
  SetParent(form, host);
  ShowWindow(form, SW_SHOWNA);
  DestroyWindow(form);
  return Now() - start;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  HWND host = NewHost();
  Sheet sheet;
  std::vector<double> toolkit, floor;
  Toolkit(host, sheet);  // warm: classes registered, fonts loaded
  Floor(host);
  for (int run = 0; run < kRuns; ++run) {
    toolkit.push_back(Toolkit(host, sheet));
    Pump();
    floor.push_back(Floor(host));
    Pump();
  }
  const double t = Median(toolkit), f = Median(floor);
  std::printf("form of %d bound edits, %d bound memos: create + embed + destroy, median of %d\n",
              kEdits, kMemos, kRuns);
  std::printf("  toolkit            %8.2f ms\n", t);
  std::printf("  CreateWindowEx floor %6.2f ms (%d windows)\n", f, 1 + kEdits + kMemos);
  std::printf("  ratio              %8.2f\n", t / f);
  std::printf("  held while shown: %u windows, %u fonts, %u brushes, %u pens, %u bitmaps\n",
              static_cast<unsigned>(held.Windows), static_cast<unsigned>(held.Fonts),
              static_cast<unsigned>(held.Brushes), static_cast<unsigned>(held.Pens),
              static_cast<unsigned>(held.Bitmaps));
  DestroyWindow(host);
  return 0;
}
